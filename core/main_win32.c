/* The module's only export: the host calls it once with its record handle. */
#include "entry.h"

__declspec(dllexport) void main(Handle recordHandle) {
  StartExtension(recordHandle);
}

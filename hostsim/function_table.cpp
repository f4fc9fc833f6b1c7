// The function table an extension carries in its resources: one entry per
// external function (name, category, result type, parameter types ended by
// 0), the table ended by a 0 word. Words follow names without alignment.
#include <cstring>

#include "function_table.h"

namespace hostsim {
namespace {

bool ReadWord(const unsigned char *&at, const unsigned char *end,
              int32_t &word) {
  if (end - at < 2) return false;
  word = static_cast<int16_t>(at[0] | at[1] << 8);
  at += 2;
  return true;
}

// One entry: name, category, result type, parameter types ended by 0.
bool ReadFunction(const unsigned char *&at, const unsigned char *end,
                  ExternalFunction &f) {
  const unsigned char *nul =
      static_cast<const unsigned char *>(std::memchr(at, 0, end - at));
  if (nul == nullptr) return false;
  f.name.assign(reinterpret_cast<const char *>(at), nul - at);
  at = nul + 1;
  if (!ReadWord(at, end, f.category) || !ReadWord(at, end, f.resultType)) {
    return false;
  }
  for (int32_t type = 0;;) {
    if (!ReadWord(at, end, type)) return false;
    if (type == 0) return true;
    f.paramTypes.push_back(type);
  }
}

} // namespace

bool ParseFunctionTable(const unsigned char *bytes, size_t size,
                        std::vector<ExternalFunction> &functions) {
  const unsigned char *at = bytes, *end = bytes + size;
  functions.clear();
  for (;;) {
    if (end - at >= 2 && at[0] == 0 && at[1] == 0) return true;
    ExternalFunction f;
    if (!ReadFunction(at, end, f)) return false;
    functions.push_back(f);
  }
}

} // namespace hostsim

// The function table an extension carries in resource XOPF 1100. Kept apart
// from the rest of the host so that the module checker builds from it alone.
#ifndef TAVREL_HOSTSIM_FUNCTION_TABLE_H
#define TAVREL_HOSTSIM_FUNCTION_TABLE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hostsim {

struct ExternalFunction {
  std::string name;
  int32_t category;
  int32_t resultType;
  std::vector<int32_t> paramTypes;
};

// Parses an XOPF function table; false if it is malformed.
bool ParseFunctionTable(const unsigned char *bytes, size_t size,
                        std::vector<ExternalFunction> &functions);

} // namespace hostsim

#endif

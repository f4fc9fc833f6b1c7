// Lists the host writes into a handle (services 56, 57, 58): the handle,
// a value, the separator text, a value. Each entry is written followed by
// the separator, and the service answers the result set for its code.
#ifndef TAVREL_HOSTSIM_LISTS_H
#define TAVREL_HOSTSIM_LISTS_H

#include <cstdint>
#include <string>
#include <vector>

namespace hostsim {

void SetHostList(int32_t code, const std::vector<std::string> &entries,
                 int32_t result = 0);
void ClearHostLists();

} // namespace hostsim

#endif

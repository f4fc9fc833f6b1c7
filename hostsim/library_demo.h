// A short session of an extension built on the support library, played
// against this host: it finds a sub-folder by its path, gives a new wave a
// name that is free there, fills the wave, and reads a command with flags,
// a name and a keyword.
#ifndef TAVREL_HOSTSIM_LIBRARY_DEMO_H
#define TAVREL_HOSTSIM_LIBRARY_DEMO_H

#include <cstdint>
#include <string>

namespace hostsim {

// Runs the session as a host of `hostVersion`, appending what happens to
// `transcript`; 0, or the first error a routine returned.
int32_t RunLibraryDemo(int32_t hostVersion, std::string &transcript);

} // namespace hostsim

#endif

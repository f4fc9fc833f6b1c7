// The module check: reads an extension's file as the host will and names
// what would keep the host from using it: the function table, the error
// texts and the information record (resources XOPF, STR# and XOPI 1100,
// found by those exact type names), main as the only export, and imports
// from nothing but Windows and the host. Igor.exe --check and the build's
// tavrel-check both run it, after every link of an extension.
#ifndef TAVREL_HOSTSIM_MODULE_CHECK_H
#define TAVREL_HOSTSIM_MODULE_CHECK_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "function_table.h"
#include "module_file.h"

namespace hostsim {

struct ModuleCheck {
  // Each keeps the host from using the module as its author meant.
  std::vector<std::string> problems;
  // The host copes, but the author should know.
  std::vector<std::string> notes;
  // What the host reads; complete when there are no problems.
  std::vector<ExternalFunction> functions;
  std::vector<std::string> errorTexts; // the first is error 10001
  std::vector<uint16_t> information;   // the five words of XOPI 1100
  std::vector<std::string> exports;
  std::vector<std::string> importedLibraries;
};

// A file that is no 32-bit Windows module has that as its one problem.
ModuleCheck CheckModule(const ModuleFile &file);
// What the host reads from the module at `path` when it passes, else the
// problems; the notes either way.
std::string DescribeModuleCheck(const std::string &path,
                                const ModuleCheck &check);
// Checks the module at `path` and prints the description: on `out` when
// it passes (returning true), on `err` when it does not.
bool CheckModuleFile(const std::string &path, std::FILE *out, std::FILE *err);

} // namespace hostsim

#endif

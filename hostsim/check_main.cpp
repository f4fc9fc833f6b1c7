// tavrel-check FILE.xop: the module check of Igor.exe --check as a program
// of the build machine, run after every link of an extension. Exit status:
// 0 the module passes, 1 it does not, 2 bad usage.
#include <cstdio>
#include <cstring>

#include "module_check.h"

int main(int argc, char **argv) {
  if (argc != 2 || argv[1][0] == '-') {
    std::fprintf(stderr,
                 "Usage: tavrel-check FILE.xop\n"
                 "Reads the module as the host will: its function table, "
                 "error texts and\ninformation record, its exports and "
                 "imports. Exit status 0 when it passes,\n1 when it does "
                 "not, 2 for bad usage.\n");
    return argc == 2 && std::strcmp(argv[1], "--help") == 0 ? 0 : 2;
  }
  return hostsim::CheckModuleFile(argv[1], stdout, stderr) ? 0 : 1;
}

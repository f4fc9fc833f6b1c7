// A small dialog made with the library's item helpers, shown and captured
// as a picture: what an extension's settings dialog looks like on this host.
#ifndef TAVREL_HOSTSIM_DIALOG_DEMO_WIN32_H
#define TAVREL_HOSTSIM_DIALOG_DEMO_WIN32_H

#include <string>

namespace hostsim {

// Shows the dialog, writes it to `pngPath` and prints what the helpers read
// back from it. Returns 0, or 1 when the dialog could not be made or saved.
int RunDialogDemo(const std::string &pngPath);

} // namespace hostsim

#endif

// The current folder and folder paths. Hosts from 301 on resolve every path
// themselves; older ones need help with the forms that end in a colon.
#include "folders.h"

#include <cstring>

#include "detail/address_item.h"

namespace {

enum : int32_t {
  kHostFolderService = 105,
  kCurrentFolderService = 106,
  kSwitchFolderService = 107,
  kPathService = 108,
  kHostResolvesAllPaths = 301,
};

int32_t AskHostForPath(FolderHandle startFolder, const char *path,
                       FolderHandle *folderOut) {
  return HostCall3(kPathService, startFolder, AddressItem(path),
                   AddressItem(folderOut));
}

// `path` has just lost its trailing colon. Sets `handled` when the path was
// one of the two forms that older hosts cannot take.
int32_t ResolveColonForm(FolderHandle startFolder, const char *path,
                         FolderHandle *folderOut, bool &handled) {
  handled = true;
  if (path[0] == '\0' && startFolder != 0) {
    *folderOut = startFolder;
    return 0;
  }
  if (path[0] == '\0') return FetchCurrentFolder(folderOut);
  if (CompareNoCase(path, "root") == 0)
    return FetchHostFolder(RootFolderSelector, folderOut);
  handled = false;
  return 0;
}

int32_t ResolveForOlderHost(FolderHandle startFolder, const char *path,
                            FolderHandle *folderOut) {
  size_t length = strnlen(path, MaxLocalPathChars + 1);
  if (length > MaxLocalPathChars) {
    *folderOut = 0;
    return PathTooLongError;
  }
  char copy[MaxLocalPathChars + 1];
  std::memcpy(copy, path, length + 1);
  if (length > 0 && copy[length - 1] == ':') {
    copy[length - 1] = '\0';
    bool handled = false;
    int32_t result = ResolveColonForm(startFolder, copy, folderOut, handled);
    if (handled) return result;
  }
  return AskHostForPath(startFolder, copy, folderOut);
}

} // namespace

extern "C" {

int32_t FetchCurrentFolder(FolderHandle *folderOut) {
  return HostCall1(kCurrentFolderService, AddressItem(folderOut));
}

int32_t SwitchCurrentFolder(FolderHandle folder) {
  return HostCall1(kSwitchFolderService, folder);
}

int32_t FetchHostFolder(int32_t which, FolderHandle *folderOut) {
  return HostCall2(kHostFolderService, which, AddressItem(folderOut));
}

int32_t FolderFromPath(FolderHandle startFolder, const char *path,
                       FolderHandle *folderOut) {
  if (HostVersion >= kHostResolvesAllPaths)
    return AskHostForPath(startFolder, path, folderOut);
  if (path == nullptr || folderOut == nullptr) return NullHandleError;
  return ResolveForOlderHost(startFolder, path, folderOut);
}

} // extern "C"

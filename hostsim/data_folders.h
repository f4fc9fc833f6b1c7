// The simulated host's data folders and the objects they hold, with the
// services that reach them (8, 76, 105 to 108, 150 to 152, 159).
//
// Each folder holds data objects (waves, variables, strings), which share one
// namespace, and child folders, which have a namespace of their own. Names
// are matched without regard to the letter case of a to z.
//
// Paths (service 108). Elements are separated by colons:
//   "root", "root:", "root:a:b", "ROOT:a:b:"  absolute, from the root folder
//   ":a:b", "a:b", "a:b:"                     relative to the start folder
//   "", ":"                                   the start folder itself
//   "::", ":a::b"                             an empty element climbs to the
//                                             parent folder
// The start folder is the folder given with the request, or the current
// folder when that is 0. A trailing colon is allowed. Climbing above the root
// is kBadPathError; a missing folder is kNoSuchFolderError. Names cannot
// contain a colon, and paths have no length limit.
#ifndef TAVREL_HOSTSIM_DATA_FOLDERS_H
#define TAVREL_HOSTSIM_DATA_FOLDERS_H

#include <cstdint>
#include <string>
#include <vector>

namespace hostsim {

enum ObjectType : int32_t {
  kWaveObject = 1,
  kVariableObject = 3,
  kStringObject = 4,
  kFolderObject = 11,
};

// Results of the folder and name services.
enum FolderError : int32_t {
  kNoSuchFolderError = 1101,
  kBadPathError = 1102,
  kNoSuchObjectError = 1103,
  kBadNameError = 1104,
  kNameTooLongError = 1105,
  kBadValueError = 1106,
};

enum : int32_t { kMaxNameChars = 31 };

// Back to an empty root folder, made current; reports cleared.
// Handles of earlier folders are no longer valid afterwards.
void ResetFolders();
int32_t RootFolder();
int32_t CurrentFolder();
// A new child folder; 0 when the parent is unknown or the name is taken.
int32_t NewFolder(int32_t parent, const std::string &name);
// Puts a data object into a folder's namespace: the hook through which other
// stores (waves, variables) make their objects known. False if taken.
bool AddObject(int32_t folder, const std::string &name, int32_t type);
// Takes a data object's name out of the folder's namespace again.
void RemoveObject(int32_t folder, const std::string &name);
// Looks a name up among the folder's data objects, then its child folders.
bool FindObject(int32_t folder, const std::string &name, int32_t *type);
// "root:a:b", or "" for an unknown folder.
std::string FolderPath(int32_t folder);
// Service 108's rules; 0 and the folder, or an error and nothing stored.
int32_t ResolveFolderPath(int32_t start, const std::string &path,
                          int32_t *folder);
// The path text of the last request for service 108.
const std::string &LastPathRequest();

// The report channel (service 8): every text the host was asked to show.
const std::vector<std::string> &Reports();
// Texts handed to service 151.
const std::vector<std::string> &AppendedNames();

} // namespace hostsim

#endif

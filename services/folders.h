/* Data folders: the current folder, the root folder, and folder paths. */
#ifndef TAVREL_SERVICES_FOLDERS_H
#define TAVREL_SERVICES_FOLDERS_H

#include "hostlink.h"

#ifdef __cplusplus
extern "C" {
#endif

/* An opaque folder handle owned by the host; 0 names no folder. */
typedef int32_t FolderHandle;

enum {
  RootFolderSelector = 0, /* the value of FetchHostFolder for the root */
  /* Longest path that hosts below 301 get through FolderFromPath. */
  MaxLocalPathChars = 400,
  PathTooLongError = 394
};

int32_t FetchCurrentFolder(FolderHandle *folderOut);             /* 106 */
int32_t SwitchCurrentFolder(FolderHandle folder);                /* 107 */
int32_t FetchHostFolder(int32_t which, FolderHandle *folderOut); /* 105 */
/* The folder that `path` names, taken from startFolder (0: the host's
   choice). Hosts below 301 get help with a trailing colon, ":" and "root:";
   there a path of more than MaxLocalPathChars gives PathTooLongError and 0,
   and a null path or folderOut gives NullHandleError. */
int32_t FolderFromPath(FolderHandle startFolder, const char *path,
                       FolderHandle *folderOut); /* 108 */

#ifdef __cplusplus
}
#endif

#endif

/** @file
    Data folders: the current folder, the host's folders, and folder
    paths. */
#ifndef TAVREL_SERVICES_FOLDERS_H
#define TAVREL_SERVICES_FOLDERS_H

#include "hostlink.h"

#ifdef __cplusplus
extern "C" {
#endif

/** An opaque folder handle owned by the host; 0 names no folder. */
typedef int32_t FolderHandle;

/** Values and results of the folder routines. */
enum {
  /** The value of FetchHostFolder for the root folder. */
  RootFolderSelector = 0,
  /** Longest path that hosts below 301 get through FolderFromPath. */
  MaxLocalPathChars = 400,
  /** FolderFromPath's answer to a longer path on a host below 301. */
  PathTooLongError = 394
};

/** The current data folder. Sends host request 106.
    @param folderOut receives the folder's handle
    @return the host's answer: 0, or an error code. */
int32_t FetchCurrentFolder(FolderHandle *folderOut);
/** Makes a folder the current one. Sends host request 107.
    @param folder the folder
    @return the host's answer: 0, or an error code. */
int32_t SwitchCurrentFolder(FolderHandle folder);
/** One of the host's own folders. Sends host request 105.
    @param which RootFolderSelector for the root folder
    @param folderOut receives the folder's handle
    @return the host's answer: 0, or an error code. */
int32_t FetchHostFolder(int32_t which, FolderHandle *folderOut);
/** The folder that a path names. From host version 301 on, sends host
    request 108 with the arguments unchanged. Below 301 the routine helps
    with paths ending in a colon: it drops that colon; ":" gives startFolder
    when it is not 0, else FetchCurrentFolder (request 106); "root:" (any
    case) gives FetchHostFolder(RootFolderSelector) (request 105); any other
    path goes to request 108.
    @param startFolder the folder the path starts from (0: the host's
           choice; for ":" below 301, the current folder)
    @param path the path text
    @param folderOut receives the folder's handle
    @return the host's answer; below 301 also PathTooLongError (with 0
            stored) for a path of more than MaxLocalPathChars, and
            NullHandleError for a null path or folderOut, both without a
            request. */
int32_t FolderFromPath(FolderHandle startFolder, const char *path,
                       FolderHandle *folderOut);

#ifdef __cplusplus
}
#endif

#endif

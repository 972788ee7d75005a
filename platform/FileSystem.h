#pragma once
// Folder and path functions on POSIX. Paths are CString with "/" separators; a path read from
// a file that a Windows peer wrote goes through PathFromPeer first. Functions that can fail
// answer false or an empty text and, when `err` is given, store the system's errno there.
#include <cstdint>
#include <vector>

#include "platform/CString.h"

namespace platform {

bool FileExists(const CString& path);    // a regular file (links are followed)
bool FolderExists(const CString& path);  // a folder (links are followed)
bool PathExists(const CString& path);    // anything, a dangling link too
int64_t FileSize(const CString& path);   // -1 when the path is not a readable file's

// Creates `path` and every missing folder above it; true when the folder exists at the end.
bool CreateFolders(const CString& path, int* err = nullptr);
// Creates one folder whose parent exists.
bool CreateFolder(const CString& path, int* err = nullptr);
// Removes a file or a link itself (never what it points to); false for a folder.
bool RemoveFile(const CString& path, int* err = nullptr);
// Removes an empty folder.
bool RemoveFolder(const CString& path, int* err = nullptr);
// Removes a folder with everything in it. Links inside are removed, never followed, so
// nothing outside the folder is touched. True when nothing of it is left.
bool RemoveTree(const CString& path, int* err = nullptr);
// Renames within one file system, replacing an existing target atomically.
bool RenamePath(const CString& from, const CString& to, int* err = nullptr);

struct FolderEntry {
    CString name;
    bool isFolder = false;  // a real folder; a link to a folder is not one
    bool isLink = false;
};
// The entries of `folder` in the order the system gives them, without "." and "..".
bool ListFolder(const CString& folder, std::vector<FolderEntry>& entries, int* err = nullptr);

// "a" + "b" -> "a/b"; no doubled separator; an absolute `name` is kept as it is.
CString JoinPath(const CString& folder, const CString& name);
CString PathFileName(const CString& path);   // "/a/rec.cfg" -> "rec.cfg"
CString PathTitle(const CString& path);      // "/a/rec.cfg" -> "rec"
CString PathExtension(const CString& path);  // "/a/rec.cfg" -> ".cfg"; "" when the name has no dot
CString PathFolder(const CString& path);     // "/a/rec.cfg" -> "/a"; "/rec" -> "/"; "rec" -> ""
// A path as a Windows peer wrote it ("..\\rec\\a.cfg") with "/" separators. A drive letter
// stays as it is; callers decide what it means.
CString PathFromPeer(const CString& path);

// The system's temporary folder ($TMPDIR, else /tmp), without a trailing "/".
CString TempFolder();
// The user's own temporary folder, TempFolder()/korvelund-<uid>, created private on first use,
// in which fixed file names are safe from other users of the machine; an empty text when it
// cannot be made or is not the user's own.
CString UserTempFolder();
// A new folder under `parent` (TempFolder() when empty) named prefix + random letters;
// an empty text when it cannot be made.
CString MakeTempFolder(const CString& prefix, const CString& parent = CString(), int* err = nullptr);
// A new empty file in `folder` (TempFolder() when empty), named prefix + random letters +
// suffix; an empty text when it cannot be made.
CString MakeTempFile(const CString& prefix, const CString& suffix = CString(), const CString& folder = CString(),
                     int* err = nullptr);

CString CurrentFolder();
CString HomeFolder();       // $HOME, else the password database's
CString ExecutablePath();   // the running program's file

}  // namespace platform

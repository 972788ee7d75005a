#pragma once
// The desktop's trash can (the freedesktop.org layout): a file moved there keeps a note of
// where it came from and when, so that the file manager can put it back.
#include "platform/CString.h"

namespace platform {

// The user's trash folder: $XDG_DATA_HOME/Trash, by default ~/.local/share/Trash.
CString HomeTrashFolder();

// Moves a file to the trash of its own file system: the user's trash when the file lies on the
// same file system as it, else ".Trash-<uid>" at the top of the file's file system. False with
// errno in `err` when the file could not be moved; it is then where it was.
bool MoveToTrash(const CString& path, int* err = nullptr);

}  // namespace platform

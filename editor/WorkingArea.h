// The working folder tmp/ in the application folder, as the file system sees it: its folders are
// made and emptied only as real folders of our own, reached through descriptors that never
// follow a link, so a link planted in the tree (for a folder or for a file in one) is removed and
// nothing outside the tree is ever truncated or deleted; the hand-over file is made afresh; and
// the tree is locked while an editor uses it, so that a second editor on the same application
// folder cannot empty it under the first.
#pragma once

#include <cstddef>

#include "platform/rtl/AnsiString.h"

namespace workarea {

// Opens `name` in the folder `parent` (a descriptor, or AT_FDCWD for a path) as a real folder:
// a link or anything else that is not a folder standing there is removed first and a folder
// (mode 0700) made. The folder's descriptor, or -1 when it cannot be had.
int OwnFolder(int parent, const char* name);

// Deletes every entry of the folder but subfolders (a link goes, never its target).
void DeleteFilesIn(int folder);
// Cuts every regular file of the folder to one zero byte; links, pipes and devices are left to
// the deletion that follows.
void TruncateFilesIn(int folder);

// Writes `size` bytes as the file `name` of `folder`, a file of our own made exclusively and
// renamed over whatever stands at the name: a link there is replaced, never written through.
// False when it could not be written whole; what stood at the name then stays.
bool WriteOwnFile(const AnsiString& folder, const char* name, const void* data, std::size_t size);

// Locks the working area of the application folder `appFolder` (ending in "/") for this editor:
// false when another editor holds it. A lock that cannot be made at all (a read-only folder)
// does not stop the editor. Claiming again releases the earlier lock first.
bool ClaimWorkingArea(const AnsiString& appFolder);
// Gives the lock up (the editor is done with its working folders).
void ReleaseWorkingArea();

}  // namespace workarea

// Making a member database from its template: a private copy, checked, then put in place
// without replacing a file another instance made meanwhile. No hard links, so it works on
// FAT/exFAT volumes and network shares as well as on local disks.
#pragma once

#include <string>

namespace ktv {

// Holds an advisory lock on a folder while instances of the program create files in it
// (released when destroyed). Where the file system has no such locks it holds nothing; the
// no-replace placement below still keeps an existing file.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int m_fd = -1;
};

// Copies `from` to the new file `to` (which must not exist), writable by its owner whatever
// the mode of `from`, flushed to the disk. A failed copy leaves no file behind.
void copyToNewFile(const std::string& from, const std::string& to);

// Renames `temp` to `file` unless `file` exists; returns false (and removes `temp`) when it
// did. Uses the no-replace rename, and where the file system lacks it a plain rename after
// a check (the folder lock keeps other instances out in between).
bool placeWithoutReplacing(const std::string& temp, const std::string& file);

// The no-replace rename used above, replaceable so tests can make it fail as on a volume
// without it. Returns 0 or -1 with errno set, like renameat2.
using RenameNoReplace = int (*)(const char* from, const char* to);
void setRenameNoReplaceForTest(RenameNoReplace f); // nullptr restores the real one

} // namespace ktv

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
    bool held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

// Copies `from` to the new file `to` (which must not exist), writable by its owner whatever
// the mode of `from`, flushed to the disk. A failed copy leaves no file behind.
void copyToNewFile(const std::string& from, const std::string& to);

// Removes the private copies (`<file>.part<pid>` with their -wal, -shm and -journal) that
// runs killed while making `file` left in its folder. A copy is removed only when its process
// is gone and the folder lock is held, which every instance holds while it makes a copy: a
// live instance's copy in progress is never touched, and on a volume without the lock
// nothing is removed.
void removeStaleCopies(const std::string& file);

// Renames `temp` to `file` unless `file` exists; returns false (and removes `temp`) when it
// did. Uses the no-replace rename, and where the file system lacks it a plain rename after
// a check (the folder lock keeps other instances out in between).
bool placeWithoutReplacing(const std::string& temp, const std::string& file);

// The no-replace rename used above, replaceable so tests can make it fail as on a volume
// without it. Returns 0 or -1 with errno set, like renameat2.
using RenameNoReplace = int (*)(const char* from, const char* to);
void setRenameNoReplaceForTest(RenameNoReplace f); // nullptr restores the real one

} // namespace ktv

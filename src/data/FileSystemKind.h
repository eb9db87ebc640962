// Whether a folder lies on a network file system, where SQLite's WAL mode is unsafe.
#pragma once

#include <string>

namespace ktv::dao {

// True for NFS, SMB/CIFS, AFS, Coda, NCP, 9P, Ceph and FUSE mounts (FUSE because sshfs and
// the like give no shared memory between machines). False when the kind cannot be told.
bool isNetworkFileSystem(const std::string& folder);

} // namespace ktv::dao

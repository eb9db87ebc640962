// statfs magic numbers of the file systems that cannot carry WAL's shared-memory index.
#include "data/FileSystemKind.h"

#include <sys/vfs.h>

namespace ktv::dao {

bool isNetworkFileSystem(const std::string& folder)
{
    struct statfs fs {};
    if (statfs(folder.c_str(), &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x6969UL:     // NFS
    case 0x517BUL:     // SMB
    case 0xFF534D42UL: // CIFS
    case 0xFE534D42UL: // SMB2
    case 0x5346414FUL: // AFS
    case 0x73757245UL: // Coda
    case 0x564CUL:     // NCP
    case 0x01021997UL: // 9P
    case 0x00C36400UL: // Ceph
    case 0x65735546UL: // FUSE
        return true;
    default: return false;
    }
}

} // namespace ktv::dao

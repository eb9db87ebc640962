// Copying a template and placing the copy, with every failure leaving no stray file.
#include "data/TemplateCopy.h"

#include "platform/core/Error.h"
#include "platform/core/FileMode.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace ktv {

namespace {

int realRenameNoReplace(const char* from, const char* to)
{
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

RenameNoReplace& renameNoReplace()
{
    static RenameNoReplace f = &realRenameNoReplace;
    return f;
}

[[noreturn]] void fail(const std::string& path, int e)
{
    throw Error(runtime_err::FileAccess, "Path/File access error: " + path + " (" + std::strerror(e) + ")");
}

} // namespace

FolderLock::FolderLock(const std::string& folder)
{
    m_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0)
        return;
    while (::flock(m_fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(m_fd); // no locks here (some network shares): go on without
            m_fd = -1;
            return;
        }
    }
}

FolderLock::~FolderLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}

void copyToNewFile(const std::string& from, const std::string& to)
{
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        fail(from, errno);
    // The copy belongs to the program, not to the template's owner.
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (out < 0) {
        const int e = errno;
        ::close(in);
        fail(to, e);
    }
    auto abandon = [&](int e) {
        ::close(in);
        ::close(out);
        ::unlink(to.c_str());
        fail(to, e);
    };
    // Group and others as the umask allows; the owner can always write the database.
    ::fchmod(out, newFileMode() | 0600);
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            abandon(errno);
        if (n == 0)
            break;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buffer.data() + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w < 0)
                abandon(errno);
            done += w;
        }
    }
    if (::fsync(out) != 0)
        abandon(errno);
    ::close(in);
    if (::close(out) != 0) {
        const int e = errno;
        ::unlink(to.c_str());
        fail(to, e);
    }
}

bool placeWithoutReplacing(const std::string& temp, const std::string& file)
{
    int rc = renameNoReplace()(temp.c_str(), file.c_str());
    if (rc != 0 && (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP || errno == EOPNOTSUPP)) {
        // No such rename on this volume.
        struct stat st {};
        if (::stat(file.c_str(), &st) == 0) {
            errno = EEXIST;
        } else {
            rc = ::rename(temp.c_str(), file.c_str());
        }
    }
    const int e = errno;
    if (rc == 0)
        return true;
    ::unlink(temp.c_str());
    if (e == EEXIST)
        return false;
    fail(file, e);
}

namespace {

// The process id of a private copy of `name` ("KTFIM.mdb.part123", "...part123-wal"), or 0.
long copyOwner(const std::string& entry, const std::string& name)
{
    const std::string prefix = name + ".part";
    if (entry.size() <= prefix.size() || entry.compare(0, prefix.size(), prefix) != 0)
        return 0;
    std::size_t end = prefix.size();
    long pid = 0;
    while (end < entry.size() && entry[end] >= '0' && entry[end] <= '9' && pid < 100000000)
        pid = pid * 10 + (entry[end++] - '0');
    const std::string rest = entry.substr(end);
    if (end == prefix.size() || !(rest.empty() || rest == "-wal" || rest == "-shm" || rest == "-journal"))
        return 0;
    return pid;
}

bool processAlive(long pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }

} // namespace

void removeStaleCopies(const std::string& file)
{
    const std::filesystem::path path(file);
    const std::string folder = path.parent_path().string();
    const std::string name = path.filename().string();
    auto stale = [&] {
        std::vector<std::filesystem::path> found;
        std::error_code ec;
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            if (const long pid = copyOwner(it->path().filename().string(), name);
                pid > 0 && !processAlive(pid))
                found.push_back(it->path());
        return found;
    };
    if (stale().empty()) // the usual case, without waiting for the lock
        return;
    const FolderLock lock(folder);
    if (!lock.held())
        return;
    std::error_code ec;
    for (const auto& entry : stale())
        std::filesystem::remove(entry, ec);
}

void setRenameNoReplaceForTest(RenameNoReplace f) { renameNoReplace() = f ? f : &realRenameNoReplace; }

} // namespace ktv

#include "platform/core/AtomicFile.h"

#include "platform/core/Error.h"
#include "platform/core/FileMode.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ktv {

namespace {

[[noreturn]] void fail(const std::string& what, const std::string& path, int err)
{
    throw Error(runtime_err::FileAccess, what + " " + path + ": " + std::strerror(err));
}

} // namespace

void writeFileAtomically(const std::string& path, std::string_view content,
                         const std::function<void()>& beforeRename)
{
    // A file without write permission is not replaced: the rename would go through (it
    // needs only the folder), but the operator made it read-only on purpose. The mode bits
    // are read as well as access(), which lets the superuser through.
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0 &&
        ((existing.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0))
        fail("Dosya yazılamıyor:", path, EACCES);
    std::string tmpl = path + ".tmp.XXXXXX";
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        fail("Dosya yazılamıyor:", path, errno);
    const std::string tmp = tmpl;
    auto abandon = [&](const char* what) {
        const int err = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        fail(what, path, err);
    };
    // Keep the permissions of the file being replaced; a new file gets what the umask allows
    // (mkstemp made it 0600).
    struct stat st {};
    const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : newFileMode();
    ::fchmod(fd, mode);
    const char* p = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t w = ::write(fd, p, left);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            abandon("Dosya yazılamıyor:");
        }
        p += w;
        left -= static_cast<std::size_t>(w);
    }
    if (::fsync(fd) != 0)
        abandon("Dosya diske yazılamıyor:");
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        fail("Dosya kapatılamıyor:", path, err);
    }
    if (beforeRename)
        beforeRename();
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        fail("Dosya değiştirilemiyor:", path, err);
    }
}

bool readSmallFile(const std::string& path, std::string& content, std::size_t maxBytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        // Only a file that is not there reads as missing: one that is there but cannot be
        // read (no permission, a loop of links) must not be taken for empty, or the settings
        // writer would replace it with its one key and lose the others.
        if (errno == ENOENT || errno == ENOTDIR)
            return false;
        fail("Dosya okunamıyor:", path, errno);
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    // Looked at through the open file itself, so nothing can be swapped in between.
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    if (!S_ISREG(st.st_mode))
        throw Error(runtime_err::FileAccess, "Dosya okunamıyor: " + path + ": not a regular file");
    const std::string tooLarge =
        "Dosya okunamıyor: " + path + ": larger than " + std::to_string(maxBytes) + " bytes";
    if (static_cast<unsigned long long>(st.st_size) > maxBytes)
        throw Error(runtime_err::FileAccess, tooLarge);
    // The size may change while it is read: the read stops one byte past the limit.
    std::string out(static_cast<std::size_t>(st.st_size) + 1, '\0');
    std::size_t got = 0;
    for (;;) {
        if (got == out.size()) {
            if (out.size() > maxBytes)
                throw Error(runtime_err::FileAccess, tooLarge);
            out.resize(std::min(out.size() * 2, maxBytes + 1));
        }
        const ssize_t r = ::read(fd, out.data() + got, out.size() - got);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            fail("Dosya okunamıyor:", path, errno);
        }
        if (r == 0)
            break;
        got += static_cast<std::size_t>(r);
    }
    out.resize(got);
    content = std::move(out);
    return true;
}

} // namespace ktv

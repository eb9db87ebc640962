// Windows of 64 KiB, four of them, the one used longest ago refilled: a table's data pages
// follow one another, and its memos and usage map lie in a few other places of the file.
#include "data/jet/PageWindowStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace ktv::jet {

#if defined(__GLIBC__)

namespace {

constexpr std::size_t kWindowSize = 64 * 1024;
constexpr int kWindows = 4;

struct Window {
    std::vector<char> bytes = std::vector<char>(kWindowSize);
    off64_t start = -1; // file offset of bytes[0]; -1 when empty
    std::size_t length = 0;
    unsigned long lastUse = 0;
};

struct PageWindows {
    int fd = -1;
    off64_t size = 0;
    off64_t position = 0;
    unsigned long uses = 0;
    Window windows[kWindows];

    // The window holding position, filled from the file when none does; null on a read error.
    Window* windowAt(off64_t at)
    {
        Window* oldest = &windows[0];
        for (Window& w : windows) {
            if (w.start >= 0 && at >= w.start && at < w.start + static_cast<off64_t>(w.length)) {
                w.lastUse = ++uses;
                return &w;
            }
            if (w.lastUse < oldest->lastUse)
                oldest = &w;
        }
        oldest->start = -1;
        std::size_t got = 0;
        while (got < kWindowSize) {
            const ssize_t n =
                ::pread(fd, oldest->bytes.data() + got, kWindowSize - got, at + static_cast<off64_t>(got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return nullptr;
            if (n == 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        oldest->start = at;
        oldest->length = got;
        oldest->lastUse = ++uses;
        return oldest;
    }
};

ssize_t readWindows(void* cookie, char* buf, std::size_t size)
{
    auto* s = static_cast<PageWindows*>(cookie);
    std::size_t done = 0;
    while (done < size && s->position < s->size) {
        Window* w = s->windowAt(s->position);
        if (!w)
            return done > 0 ? static_cast<ssize_t>(done) : -1;
        const auto from = static_cast<std::size_t>(s->position - w->start);
        const std::size_t n = std::min(size - done, w->length - from);
        if (n == 0)
            break; // the file ended early
        std::memcpy(buf + done, w->bytes.data() + from, n);
        done += n;
        s->position += static_cast<off64_t>(n);
    }
    return static_cast<ssize_t>(done);
}

int seekWindows(void* cookie, off64_t* offset, int whence)
{
    auto* s = static_cast<PageWindows*>(cookie);
    const off64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? s->position : s->size;
    if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END)
        return -1;
    if (base + *offset < 0)
        return -1;
    s->position = base + *offset;
    *offset = s->position;
    return 0;
}

int closeWindows(void* cookie)
{
    auto* s = static_cast<PageWindows*>(cookie);
    const int rc = ::close(s->fd);
    delete s;
    return rc;
}

} // namespace

FILE* OpenPageWindowStream(const std::string& path, std::size_t pageSize)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return nullptr;
    }
    auto* s = new PageWindows;
    s->fd = fd;
    s->size = st.st_size;
    cookie_io_functions_t io{readWindows, nullptr, seekWindows, closeWindows};
    FILE* f = ::fopencookie(s, "rb", io);
    if (!f) {
        closeWindows(s);
        return nullptr;
    }
    std::setvbuf(f, nullptr, _IOFBF, pageSize);
    return f;
}

#else

FILE* OpenPageWindowStream(const std::string&, std::size_t) { return nullptr; }

#endif

} // namespace ktv::jet

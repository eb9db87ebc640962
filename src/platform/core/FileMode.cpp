#include "platform/core/FileMode.h"

#include <cstdio>
#include <sys/stat.h>

namespace ktv {

namespace {

// Read without changing it where the kernel tells it (Linux 4.7 and later): setting and
// restoring the umask would briefly change it for every thread of the process.
mode_t processUmask()
{
    if (std::FILE* f = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, f))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(f);
        if (found)
            return static_cast<mode_t>(mask);
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

} // namespace

mode_t newFileMode() { return 0666 & ~processUmask(); }

} // namespace ktv

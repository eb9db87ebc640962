// The permissions of a file the program makes: read and write for whom the process's umask
// allows, as any tool the operator runs would create it.
#pragma once

#include <sys/types.h>

namespace ktv {

// 0666 without the bits of the umask.
mode_t newFileMode();

} // namespace ktv

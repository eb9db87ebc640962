// Fuzz target: the Jet header and table reader on mutated Jet files (the seeds are the
// test files of the Jet reader).
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ktv::fuzz::walkDatabase(ktv::fuzz::scratchFile(data, size, ".mdb"), ";pwd=password");
    return 0;
}

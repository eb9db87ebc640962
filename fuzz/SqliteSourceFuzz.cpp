// Fuzz target: opening and walking a database file of this program's own format (mutated
// SQLite files) as a conversion source.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ktv::fuzz::walkDatabase(ktv::fuzz::scratchFile(data, size, ".ktd"), "");
    return 0;
}

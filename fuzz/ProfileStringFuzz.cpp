// Fuzz target: the profile-string reader and writer on arbitrary file contents. Besides not
// failing, the writer must keep its promise: the value written is the value read back.
#include "FuzzSupport.h"
#include "platform/core/ProfileString.h"

#include <cstdlib>

using namespace ktv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& file = fuzz::scratchFile(data, size, ".ini");
    for (const char* key : {"KLASOR", "DOSYA", "KTDPVD", ""})
        (void)profile::GetPrivateProfileString("CEVRIM", key, "Failed", 255, file);
    (void)profile::GetPrivateProfileString("", "", "", 1, file);
    try {
        profile::WritePrivateProfileString("CEVRIM", "KLASOR", "/home/kullanıcı/veri", file);
    } catch (const Error&) {
        return 0;
    }
    if (profile::GetPrivateProfileString("CEVRIM", "KLASOR", "Failed", 255, file) != "/home/kullanıcı/veri")
        std::abort(); // the written value does not read back
    return 0;
}

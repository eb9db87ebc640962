// Fuzz target: the numeric test behind N_TVAL, in both decimal conventions. Text it calls
// numeric comes back from N_TVAL unchanged (trimmed); anything else becomes 0.
#include "app/Tools.h"
#include "platform/core/NumberFormat.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace ktv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const NumberFormat format : {NumberFormat{',', '.'}, NumberFormat{'.', ','}}) {
        NumberFormat::pin(format);
        const Value v = N_TVAL(Value(text));
        const std::string trimmed = N_T(Value(text)).toText();
        if (isNumericText(trimmed)) {
            if (v.toText() != trimmed)
                std::abort();
        } else if (v.toText() != "0") {
            std::abort();
        }
        NumberFormat::unpin();
    }
    return 0;
}

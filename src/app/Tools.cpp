#include "app/Tools.h"

#include "platform/core/NumberFormat.h"
#include "platform/core/TextCodec.h"

namespace ktv {

Value N_T(const Value& value, bool keepAsIs)
{
    if (value.isNull())
        return Value(std::string());
    if (keepAsIs)
        return value;
    // The runtime's Trim removes spaces only; tabs and other characters stay.
    const std::string s = value.toText();
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && s[b] == ' ')
        ++b;
    while (e > b && s[e - 1] == ' ')
        --e;
    return Value(s.substr(b, e - b));
}

Value N_TVAL(const Value& value)
{
    const std::string t = N_T(value).toText();
    if (isNumericText(t))
        return Value(t);
    return Value(0);
}

} // namespace ktv

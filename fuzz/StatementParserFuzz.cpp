// Fuzz target: the statement parser. Whatever it accepts names a table and at most two
// conditions; everything else is refused with the engine's syntax error.
#include "data/DaoErrors.h"
#include "data/StatementParser.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace ktv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const dao::ParsedStatement st = dao::parseStatement(text);
        if (st.table.empty() || st.conditions.size() > 2)
            std::abort();
        for (const auto& c : st.conditions)
            if (c.column.empty())
                std::abort();
    } catch (const Error& e) {
        if (e.number() != dao::err::SyntaxError)
            std::abort(); // only the syntax error is a refusal of the text
    }
    return 0;
}

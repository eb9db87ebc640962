// The statements the program runs: a table name, or "SELECT * FROM" a table with up to two
// `column = 'literal'` conditions joined by AND. Anything else is refused.
#pragma once

#include <string>
#include <vector>

namespace ktv::dao {

struct Condition {
    std::string column;
    std::string literal; // quotes removed, '' turned into '
};

struct ParsedStatement {
    std::string table;
    std::vector<Condition> conditions; // 0, 1 or 2
};

// Throws ktv::Error err::SyntaxError for any other text.
ParsedStatement parseStatement(const std::string& text);

} // namespace ktv::dao

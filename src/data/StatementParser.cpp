// A small hand-written parser: the statement shapes are few and fixed, and refusing
// everything else keeps values out of the SQL text (they are bound as parameters).
#include "data/StatementParser.h"

#include "data/DaoErrors.h"
#include "platform/core/TextCodec.h"

#include <cctype>

namespace ktv::dao {

namespace {

class Lexer {
public:
    explicit Lexer(const std::string& text) : m_text(text) {}

    void skipBlanks()
    {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos])))
            ++m_pos;
    }
    bool atEnd()
    {
        skipBlanks();
        return m_pos >= m_text.size();
    }
    // A keyword matches whole words only, without regard to case.
    bool keyword(const char* word)
    {
        skipBlanks();
        std::size_t i = 0;
        std::size_t p = m_pos;
        for (; word[i]; ++i, ++p) {
            if (p >= m_text.size() || text::asciiUpper(m_text[p]) != word[i])
                return false;
        }
        if (p < m_text.size() && isIdentChar(m_text[p]))
            return false;
        m_pos = p;
        return true;
    }
    bool symbol(char c)
    {
        skipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    // A plain name (letters, digits, _ and any non-ASCII letter) or a [bracketed name].
    bool identifier(std::string& out)
    {
        skipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == '[') {
            const std::size_t close = m_text.find(']', m_pos + 1);
            if (close == std::string::npos || close == m_pos + 1)
                return false;
            out = m_text.substr(m_pos + 1, close - m_pos - 1);
            m_pos = close + 1;
            return true;
        }
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && isIdentChar(m_text[m_pos]))
            ++m_pos;
        if (m_pos == start || std::isdigit(static_cast<unsigned char>(m_text[start])))
            return (m_pos = start), false;
        out = m_text.substr(start, m_pos - start);
        return true;
    }
    bool literal(std::string& out)
    {
        skipBlanks();
        if (m_pos >= m_text.size() || m_text[m_pos] != '\'')
            return false;
        out.clear();
        for (std::size_t p = m_pos + 1; p < m_text.size(); ++p) {
            if (m_text[p] != '\'') {
                out += m_text[p];
                continue;
            }
            if (p + 1 < m_text.size() && m_text[p + 1] == '\'') {
                out += '\'';
                ++p;
                continue;
            }
            m_pos = p + 1;
            return true;
        }
        return false; // unterminated
    }

private:
    static bool isIdentChar(char c)
    {
        const auto u = static_cast<unsigned char>(c);
        return std::isalnum(u) || c == '_' || u >= 0x80;
    }
    const std::string& m_text;
    std::size_t m_pos = 0;
};

} // namespace

ParsedStatement parseStatement(const std::string& text)
{
    ParsedStatement st;
    Lexer lx(text);
    auto fail = [&]() -> ParsedStatement { raise(err::SyntaxError, text); };

    if (!lx.keyword("SELECT")) {
        // A bare table name.
        if (!lx.identifier(st.table) || !lx.atEnd())
            return fail();
        return st;
    }
    if (!lx.symbol('*') || !lx.keyword("FROM") || !lx.identifier(st.table))
        return fail();
    if (lx.keyword("WHERE")) {
        do {
            Condition c;
            if (!lx.identifier(c.column) || !lx.symbol('=') || !lx.literal(c.literal))
                return fail();
            st.conditions.push_back(std::move(c));
        } while (st.conditions.size() < 2 && lx.keyword("AND"));
    }
    lx.symbol(';');
    if (!lx.atEnd())
        return fail();
    return st;
}

} // namespace ktv::dao

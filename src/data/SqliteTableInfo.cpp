// Column look-ups and the SQL texts every recordset of a table builds from its TableInfo.
#include "data/SqliteTableInfo.h"

#include "platform/core/TextCodec.h"

namespace ktv::dao {

int TableInfo::columnIndex(const std::string& n) const
{
    // Callers nearly always spell a column as the file does; the case-blind map is the fallback.
    if (const auto exact = byName.find(n); exact != byName.end())
        return exact->second;
    const auto it = byLowerName.find(text::asciiLower(n));
    return it == byLowerName.end() ? -1 : it->second;
}

int TableInfo::columnIndex(const std::string& n, int& next) const
{
    int idx = next;
    if (idx < 0 || idx >= static_cast<int>(columns.size()) ||
        columns[static_cast<std::size_t>(idx)].name != n)
        idx = columnIndex(n);
    next = idx + 1;
    return idx;
}

std::string TableInfo::insertSql(const std::vector<int>& columns) const
{
    if (columns.empty())
        return "INSERT INTO " + quotedName + " DEFAULT VALUES";
    std::string names;
    std::string marks;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        names += (i ? "," : "") + quotedColumns[static_cast<std::size_t>(columns[i])];
        marks += (i ? ",?" : "?") + std::to_string(i + 1);
    }
    return "INSERT INTO " + quotedName + " (" + names + ") VALUES (" + marks + ")";
}

std::string TableInfo::selectList() const
{
    std::string out;
    for (const auto& q : quotedColumns) {
        if (!out.empty())
            out += ',';
        out += q;
    }
    return out;
}

} // namespace ktv::dao

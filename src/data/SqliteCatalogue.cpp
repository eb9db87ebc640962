// Tables are read from sqlite_master and PRAGMA table_info once per database handle; the
// plans keep their statements' cache slots, so a per-record lookup finds its statement at once.
#include "data/SqliteCatalogue.h"

#include "data/DaoErrors.h"
#include "platform/core/TextCodec.h"

#include <algorithm>

namespace ktv::dao {

Value LookupPlan::conditionValue(std::size_t i, const std::string& literal) const
{
    if (compareAsText[i])
        return Value(literal);
    try {
        return convertForColumn(table->columns[static_cast<std::size_t>(columns[i])], Value(literal));
    } catch (const Error&) {
        raise(err::CriteriaMismatch);
    }
}

std::vector<std::string> SqliteCatalogue::tableNames() const
{
    if (!m_db)
        raise(err::ObjectClosed);
    std::vector<std::string> names;
    Statement st = prepare(
        m_db.get(), std::string("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                                "'sqlite\\_%' ESCAPE '\\' AND name <> '") +
                        kMetaTable + "' ORDER BY rowid");
    while (stepRow(st.get()))
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
    return names;
}

std::shared_ptr<const TableInfo> SqliteCatalogue::table(const std::string& name)
{
    if (m_lastTable && name == m_lastTableName)
        return m_lastTable;
    const std::string key = text::asciiLower(name);
    if (auto it = m_tables.find(key); it != m_tables.end()) {
        m_lastTableName = name;
        m_lastTable = it->second;
        return it->second;
    }
    if (key == kMetaTable || key.rfind("sqlite_", 0) == 0)
        raise(err::TableNotFound, name);
    Statement st = prepare(
        m_db.get(), "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    bindValue(st.get(), 1, Value(name));
    if (!stepRow(st.get()))
        raise(err::TableNotFound, name);
    TableInfo info;
    info.name = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0));
    Statement cols = prepare(m_db.get(), "PRAGMA table_info(" + quoteIdent(info.name) + ")");
    while (stepRow(cols.get())) {
        const auto* n = reinterpret_cast<const char*>(sqlite3_column_text(cols.get(), 1));
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(cols.get(), 2));
        info.columns.push_back(columnFromDeclared(n ? n : "", t ? t : ""));
        const int idx = static_cast<int>(info.columns.size() - 1);
        info.byName.emplace(info.columns.back().name, idx);
        info.byLowerName.emplace(text::asciiLower(info.columns.back().name), idx);
        info.quotedColumns.push_back(quoteIdent(info.columns.back().name));
    }
    info.quotedName = quoteIdent(info.name);
    Statement kind = prepare(m_db.get(), "PRAGMA table_list(" + info.quotedName + ")");
    while (stepRow(kind.get()))
        if (sqlite3_column_int(kind.get(), 4) != 0)
            info.withoutRowid = true;
    if (info.withoutRowid) {
        std::vector<std::pair<int, std::string>> key; // position in the primary key, column
        Statement cols2 = prepare(m_db.get(), "PRAGMA table_info(" + info.quotedName + ")");
        while (stepRow(cols2.get()))
            if (const int pk = sqlite3_column_int(cols2.get(), 5); pk > 0)
                key.emplace_back(
                    pk, quoteIdent(reinterpret_cast<const char*>(sqlite3_column_text(cols2.get(), 1))));
        std::sort(key.begin(), key.end());
        info.order = info.orderBackwards = " ORDER BY ";
        for (std::size_t i = 0; i < key.size(); ++i) {
            info.order += (i ? "," : "") + key[i].second;
            info.orderBackwards += (i ? "," : "") + key[i].second + " DESC";
        }
    }
    return m_tables.emplace(key, std::make_shared<const TableInfo>(std::move(info))).first->second;
}

const LookupPlan& SqliteCatalogue::lookupPlan(const TableInfo& t, const ParsedStatement& st)
{
    for (const auto& plan : m_lookupPlans) {
        if (plan->table != &t || plan->asked.size() != st.conditions.size())
            continue;
        bool same = true;
        for (std::size_t i = 0; i < st.conditions.size() && same; ++i)
            same = plan->asked[i] == st.conditions[i].column;
        if (same)
            return *plan;
    }
    auto plan = std::make_unique<LookupPlan>();
    plan->table = &t;
    for (const auto& c : st.conditions) {
        const int idx = t.columnIndex(c.column);
        if (idx < 0)
            raise(err::TooFewParameters);
        const ColumnInfo& col = t.columns[static_cast<std::size_t>(idx)];
        // Text conditions ignore ASCII letter case, like the lookup indexes (COLLATE NOCASE).
        const bool text = isTextKind(col.kind) || col.kind == ColumnKind::Other;
        plan->asked.push_back(c.column);
        plan->columns.push_back(idx);
        plan->compareAsText.push_back(text);
        plan->where += plan->where.empty() ? " WHERE " : " AND ";
        plan->where += t.quotedColumns[static_cast<std::size_t>(idx)];
        plan->where += " = ?" + std::to_string(plan->columns.size());
        if (text)
            plan->where += " COLLATE NOCASE";
    }
    plan->dynasetSql = "SELECT rowid FROM " + t.quotedName + plan->where + " ORDER BY rowid";
    plan->dynasetSlot = m_statements.slot(plan->dynasetSql);
    m_lookupPlans.push_back(std::move(plan));
    return *m_lookupPlans.back();
}

const WritePlan& SqliteCatalogue::writePlan(const TableInfo& t, bool adding,
                                            const std::vector<std::pair<int, Value>>& assigned)
{
    for (const auto& plan : m_writePlans) {
        if (plan->table != &t || plan->adding != adding || plan->columns.size() != assigned.size())
            continue;
        bool same = true;
        for (std::size_t i = 0; i < assigned.size() && same; ++i)
            same = plan->columns[i] == assigned[i].first;
        if (same)
            return *plan;
    }
    auto plan = std::make_unique<WritePlan>();
    plan->table = &t;
    plan->adding = adding;
    for (const auto& entry : assigned)
        plan->columns.push_back(entry.first);
    if (adding) {
        plan->sql = t.insertSql(plan->columns);
    } else {
        std::string sets;
        for (std::size_t i = 0; i < plan->columns.size(); ++i)
            sets += (i ? "," : "") + t.quotedColumns[static_cast<std::size_t>(plan->columns[i])] + " = ?" +
                    std::to_string(i + 1);
        plan->sql = "UPDATE " + t.quotedName + " SET " + sets + " WHERE rowid = ?" +
                    std::to_string(plan->columns.size() + 1);
    }
    plan->slot = m_statements.slot(plan->sql);
    m_writePlans.push_back(std::move(plan));
    return *m_writePlans.back();
}

void SqliteCatalogue::clear()
{
    m_lookupPlans.clear();
    m_writePlans.clear();
    m_tables.clear();
    m_lastTable.reset();
    m_lastTableName.clear();
}

} // namespace ktv::dao

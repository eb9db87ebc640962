// The table catalogue of one SQLite database: the tables it holds, what each one is (read
// once from the file), and the plans of the lookups and writes run on them, worked out once
// and used for every record that asks the same question with other values.
#pragma once

#include "app/Value.h"
#include "data/SqliteStatementCache.h"
#include "data/SqliteTableInfo.h"
#include "data/StatementParser.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ktv::dao {

// The format mark every database of this program carries in ktv_meta.
inline constexpr const char* kFormatMark = "KTVedaz 1";
inline constexpr const char* kMetaTable = "ktv_meta";

// How a lookup of one table by a set of columns is run.
struct LookupPlan {
    const TableInfo* table = nullptr;
    std::vector<std::string> asked;             // the condition columns, spelt as the statement spells them
    std::vector<int> columns;                   // their indexes in the table
    std::vector<bool> compareAsText;            // per condition: the value is bound as text, case-blind
    std::string where;                          // " WHERE c = ?1 COLLATE NOCASE AND ..."
    std::string dynasetSql;                     // the rowids of the matching records, in rowid order
    StatementCache::Slot dynasetSlot = nullptr; // where the dynaset's statement waits between uses

    // Condition i is bound as: a text condition's literal as it stands, any other converted
    // to the column's type (err::CriteriaMismatch when it cannot be).
    Value conditionValue(std::size_t i, const std::string& literal) const;
};

// The INSERT or UPDATE of one table and set of assigned columns.
struct WritePlan {
    const TableInfo* table = nullptr;
    bool adding = false;
    std::vector<int> columns; // assigned, in column order
    std::string sql;
    StatementCache::Slot slot = nullptr;
};

class SqliteCatalogue {
public:
    // db: the connection the tables are read from (it may be opened after the catalogue is
    // made); statements: where the plans' statements wait between uses.
    SqliteCatalogue(const SqliteConnection& db, StatementCache& statements)
        : m_db(db), m_statements(statements)
    {}

    // The tables a user sees (not SQLite's own, not the metadata), in the order made.
    std::vector<std::string> tableNames() const;
    // By name without regard to ASCII case; err::TableNotFound when there is none.
    std::shared_ptr<const TableInfo> table(const std::string& name);
    const LookupPlan& lookupPlan(const TableInfo& table, const ParsedStatement& statement);
    // The plan of a write to table of the assigned columns (sorted), made on first use.
    const WritePlan& writePlan(const TableInfo& table, bool adding,
                               const std::vector<std::pair<int, Value>>& assigned);
    // The database is closing: every plan and table is forgotten.
    void clear();

private:
    const SqliteConnection& m_db;
    StatementCache& m_statements;
    std::map<std::string, std::shared_ptr<const TableInfo>> m_tables; // by lower-case name
    // The table asked for last, by the name as asked: a conversion asks for one table per
    // record, always spelt the same way.
    std::string m_lastTableName;
    std::shared_ptr<const TableInfo> m_lastTable;
    // Plans by table and columns: a conversion uses one or two per table, so a list is searched.
    std::vector<std::unique_ptr<LookupPlan>> m_lookupPlans;
    std::vector<std::unique_ptr<WritePlan>> m_writePlans;
};

} // namespace ktv::dao

#include "convert/CardTarget.h"

#include "data/CardWriter.h"
#include "data/ColumnType.h"
#include "data/DaoErrors.h"
#include "platform/core/TextCodec.h"

namespace ktv {

// The year database's table: the engine's card writer, opened with the first card.
class DatabaseCardTable final : public GroupedCardTable {
public:
    DatabaseCardTable(DatabaseCardTarget& target, dao::Database& db, dao::CardLayout layout)
        : m_target(target), m_db(db), m_layout(std::move(layout))
    {}
    ~DatabaseCardTable() override { m_target.forget(this); }

    bool addIfNew(const std::vector<std::string>& key, const dao::CardValues& fill,
                  const dao::ErrorContext& errorContext) override
    {
        if (!m_writer)
            m_writer = m_db.OpenCardWriter(m_layout);
        if (m_collecting) {
            m_keys.push_back(key);
            return false;
        }
        return m_writer->AddIfNew(key, fill, errorContext);
    }

    void collect(bool on) override { m_collecting = on; }
    void lookUp() override
    {
        noteLookUp(m_writer != nullptr);
        if (m_writer)
            m_writer->Prefetch(m_keys);
        m_keys.clear();
    }
    void store() override
    {
        if (takeLookUp())
            m_writer->Flush();
    }

private:
    DatabaseCardTarget& m_target;
    dao::Database& m_db;
    dao::CardLayout m_layout;
    std::unique_ptr<dao::CardWriter> m_writer;
    bool m_collecting = false;
    std::vector<std::vector<std::string>> m_keys; // of the group, while collecting
};

class DryRunCardTable final : public GroupedCardTable {
public:
    DryRunCardTable(DryRunCardTarget& target, dao::Database* existing, std::set<std::string>& added,
                    dao::CardLayout layout, const dao::TableDef* table)
        : m_target(target), m_db(existing), m_added(added), m_layout(std::move(layout))
    {
        // Each value's column, found once; none for a column (or table) the year database
        // lacks, which the real run's insert refuses.
        for (const auto& name : m_layout.columns) {
            const dao::ColumnInfo* found = nullptr;
            if (table)
                for (const auto& c : table->columns)
                    if (text::equalsNoCase(c.column.name, name))
                        found = &c.column;
            m_columns.push_back(found);
        }
    }
    ~DryRunCardTable() override { m_target.forget(this); }

    bool addIfNew(const std::vector<std::string>& key, const dao::CardValues& fill,
                  const dao::ErrorContext& errorContext) override
    {
        if (m_collecting) {
            m_keys.push_back(key);
            return false;
        }
        // Conditions compare like the engine's: without regard to ASCII letter case.
        std::string id = m_layout.table;
        for (std::size_t i = 0; i < key.size() && i < m_layout.keyColumns.size(); ++i)
            id += '\x1f' + m_layout.keyColumns[i] + '\x1e' + text::asciiUpper(key[i]);
        if (m_added.count(id))
            return false;
        if (m_writer) { // the group's keys were looked up together
            if (m_writer->Holds(key))
                return false;
        } else if (m_db) {
            auto rs = m_db->OpenRecordset(LookupStatement(m_layout, key), dao::RecordsetType::Snapshot);
            const bool found = rs->RecordCount() >= 1;
            rs->Close();
            if (found)
                return false;
        }
        check(fill(), errorContext);
        m_added.insert(id);
        return true;
    }

    // A group's keys, looked up at once by a writer of the existing database that only reads.
    void collect(bool on) override { m_collecting = on; }
    void lookUp() override
    {
        noteLookUp(m_writer || !m_keys.empty());
        if (m_keys.empty() && !m_writer)
            return;
        if (!m_writer)
            m_writer = m_db->OpenCardWriter(m_layout);
        m_writer->Prefetch(m_keys);
        m_keys.clear();
    }
    void store() override
    {
        if (takeLookUp())
            m_writer->Flush(); // nothing to store: ends the group
    }

private:
    // Converts the values as the real insert does, where they stand (they are not kept).
    void check(std::vector<Value>& values, const dao::ErrorContext& errorContext) const
    {
        for (std::size_t i = 0; i < values.size() && i < m_columns.size(); ++i) {
            try {
                if (!m_columns[i])
                    dao::raise(dao::err::ItemNotFound);
                dao::convertInPlace(*m_columns[i], values[i]);
            } catch (const Error& e) {
                throw dao::columnError(e, errorContext, m_layout.table, m_layout.columns[i]);
            }
        }
    }

    DryRunCardTarget& m_target;
    dao::Database* m_db;
    std::set<std::string>& m_added;
    dao::CardLayout m_layout;
    std::vector<const dao::ColumnInfo*> m_columns;
    std::unique_ptr<dao::CardWriter> m_writer; // for groups
    bool m_collecting = false;
    std::vector<std::vector<std::string>> m_keys; // of the group, while collecting
};

dao::ParsedStatement LookupStatement(const dao::CardLayout& layout, const std::vector<std::string>& key)
{
    dao::ParsedStatement st;
    st.table = layout.table;
    st.conditions.reserve(key.size());
    for (std::size_t i = 0; i < key.size() && i < layout.keyColumns.size(); ++i)
        st.conditions.push_back({layout.keyColumns[i], key[i]});
    return st;
}

std::unique_ptr<CardTable> DatabaseCardTarget::table(dao::CardLayout layout)
{
    auto t = std::make_unique<DatabaseCardTable>(*this, m_db, std::move(layout));
    adopt(t.get());
    return t;
}

std::size_t DatabaseCardTarget::groupSize() const { return m_db.CardGroupSize(); }

DryRunCardTarget::DryRunCardTarget(dao::Database* existing, const std::string& templateSchema)
    : m_db(existing), m_tables(dao::parseSchema(templateSchema))
{}

std::unique_ptr<CardTable> DryRunCardTarget::table(dao::CardLayout layout)
{
    const dao::TableDef* def = nullptr;
    for (const auto& t : m_tables)
        if (text::equalsNoCase(t.name, layout.table))
            def = &t;
    auto t = std::make_unique<DryRunCardTable>(*this, m_db, m_added, std::move(layout), def);
    adopt(t.get());
    return t;
}

std::size_t DryRunCardTarget::groupSize() const { return m_db ? m_db->CardGroupSize() : 0; }

void GroupedCardTarget::collectKeys(bool on)
{
    for (auto* t : m_live)
        t->collect(on);
}

void GroupedCardTarget::lookUpCollected()
{
    for (auto* t : m_live)
        t->lookUp();
}

void GroupedCardTarget::storeGroup()
{
    for (auto* t : m_live)
        t->store();
}

} // namespace ktv

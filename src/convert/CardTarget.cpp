#include "convert/CardTarget.h"

#include "platform/core/TextCodec.h"

namespace ktv {

namespace {

// The year database's table: the engine's card writer, opened with the first card.
class DatabaseCardTable final : public CardTable {
public:
    DatabaseCardTable(dao::Database& db, dao::CardLayout layout) : m_db(db), m_layout(std::move(layout)) {}

    bool addIfNew(const std::vector<std::string>& key, const dao::CardValues& fill,
                  const dao::ErrorContext& errorContext) override
    {
        if (!m_writer)
            m_writer = m_db.OpenCardWriter(m_layout);
        return m_writer->AddIfNew(key, fill, errorContext);
    }

private:
    dao::Database& m_db;
    dao::CardLayout m_layout;
    std::unique_ptr<dao::CardWriter> m_writer;
};

class DryRunCardTable final : public CardTable {
public:
    DryRunCardTable(dao::Database* existing, std::set<std::string>& added, dao::CardLayout layout)
        : m_db(existing), m_added(added), m_layout(std::move(layout))
    {
    }

    bool addIfNew(const std::vector<std::string>& key, const dao::CardValues& fill, const dao::ErrorContext&) override
    {
        // Conditions compare like the engine's: without regard to ASCII letter case.
        std::string id = m_layout.table;
        for (std::size_t i = 0; i < key.size() && i < m_layout.keyColumns.size(); ++i)
            id += '\x1f' + m_layout.keyColumns[i] + '\x1e' + text::asciiUpper(key[i]);
        if (m_added.count(id))
            return false;
        if (m_db) {
            auto rs = m_db->OpenRecordset(LookupStatement(m_layout, key), dao::RecordsetType::Snapshot);
            const bool found = rs->RecordCount() >= 1;
            rs->Close();
            if (found)
                return false;
        }
        fill();
        m_added.insert(id);
        return true;
    }

private:
    dao::Database* m_db;
    std::set<std::string>& m_added;
    dao::CardLayout m_layout;
};

} // namespace

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
    return std::make_unique<DatabaseCardTable>(m_db, std::move(layout));
}

std::unique_ptr<CardTable> DryRunCardTarget::table(dao::CardLayout layout)
{
    return std::make_unique<DryRunCardTable>(m_db, m_added, std::move(layout));
}

} // namespace ktv

#include "convert/CardTarget.h"

#include "platform/core/Error.h"
#include "platform/core/TextCodec.h"

namespace ktv {

dao::ParsedStatement LookupStatement(const std::string& table, const std::vector<KeyCondition>& key)
{
    dao::ParsedStatement st;
    st.table = table;
    st.conditions.reserve(key.size());
    for (const auto& [column, value] : key)
        st.conditions.push_back({column, value});
    return st;
}

bool DatabaseCardTarget::addIfNew(const std::string& table, const std::vector<KeyCondition>& key, const CardFill& fill,
                                  const std::function<std::string()>& errorContext)
{
    auto rs = m_db.OpenRecordset(LookupStatement(table, key), dao::RecordsetType::Dynaset);
    if (rs->RecordCount() >= 1) {
        rs->Close();
        return false;
    }
    std::vector<CardField>& fields = fill();
    rs->AddNew();
    for (auto& [column, value] : fields) {
        try {
            rs->SetField(column, std::move(value));
        } catch (const Error& e) {
            // The same failure, told with the record and the column it happened on.
            throw Error(e.number(), e.description() + " (" + errorContext() + ", " + table + "." + column + ")");
        }
    }
    rs->Update();
    rs->Close();
    return true;
}

bool DryRunCardTarget::addIfNew(const std::string& table, const std::vector<KeyCondition>& key, const CardFill& fill,
                                const std::function<std::string()>&)
{
    // Conditions compare like the engine's: without regard to ASCII letter case.
    std::string id = table;
    for (const auto& [column, value] : key)
        id += '\x1f' + column + '\x1e' + text::asciiUpper(value);
    if (m_added.count(id))
        return false;
    if (m_db) {
        auto rs = m_db->OpenRecordset(LookupStatement(table, key), dao::RecordsetType::Snapshot);
        const bool found = rs->RecordCount() >= 1;
        rs->Close();
        if (found)
            return false;
    }
    fill();
    m_added.insert(id);
    return true;
}

} // namespace ktv

// Each statement text has one slot (the map's nodes stay put); a slot is empty while its
// statement is in use, and a second user of the same text at that moment gets a statement of
// its own, finalised when it ends.
#include "data/SqliteStatementCache.h"

namespace ktv::dao {

namespace {
constexpr std::size_t kCapacity = 32; // a conversion uses a few per table
} // namespace

CachedStatement::~CachedStatement()
{
    if (m_st)
        m_cache->giveBack(std::move(m_st), m_slot);
}

StatementCache::Slot StatementCache::slot(const std::string& sql)
{
    if (auto it = m_idle.find(sql); it != m_idle.end())
        return &it->second;
    if (m_cleared || m_idle.size() >= kCapacity)
        return nullptr;
    return &m_idle.emplace(sql, nullptr).first->second;
}

CachedStatement StatementCache::take(sqlite3* db, Slot slot, const std::string& sql)
{
    Statement st = slot && *slot ? std::move(*slot) : prepare(db, sql);
    return CachedStatement(this, std::move(st), slot);
}

void StatementCache::giveBack(Statement st, Slot slot) noexcept
{
    sqlite3_reset(st.get());
    sqlite3_clear_bindings(st.get());
    if (!m_cleared && slot && !*slot)
        *slot = std::move(st);
}

void StatementCache::clear() noexcept
{
    m_idle.clear();
    m_cleared = true;
}

} // namespace ktv::dao

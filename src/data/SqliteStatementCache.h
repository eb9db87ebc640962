// Prepared statements kept between uses: the per-record lookups and inserts of a conversion
// reuse the same few statements instead of compiling them again for every record. The cache
// owns every statement it keeps, and a statement lent out comes back (or is finalised) when
// its CachedStatement ends.
#pragma once

#include "data/SqliteHandles.h"

#include <string>
#include <unordered_map>

namespace ktv::dao {

class StatementCache;

// A statement borrowed from the cache for the length of one call.
class CachedStatement {
public:
    CachedStatement(CachedStatement&& o) noexcept = default;
    CachedStatement(const CachedStatement&) = delete;
    CachedStatement& operator=(const CachedStatement&) = delete;
    CachedStatement& operator=(CachedStatement&&) = delete;
    ~CachedStatement();
    sqlite3_stmt* get() const { return m_st.get(); }

private:
    friend class StatementCache;
    CachedStatement(StatementCache* cache, Statement st, Statement* slot)
        : m_cache(cache), m_st(std::move(st)), m_slot(slot)
    {}

    StatementCache* m_cache;
    Statement m_st;
    Statement* m_slot; // where the statement waits between uses; null when not cached
};

class StatementCache {
public:
    // Where the statement of one text waits between uses; null when the cache is full. A
    // slot stays put for the cache's life, so a plan may keep it.
    using Slot = Statement*;

    StatementCache() = default;
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    Slot slot(const std::string& sql);
    // The statement waiting in slot, or a new one prepared on db when the slot is empty (its
    // statement lent to another caller) or null.
    CachedStatement take(sqlite3* db, Slot slot, const std::string& sql);
    // Before the connection closes: the waiting statements are finalised, those lent out
    // are finalised when they come back.
    void clear() noexcept;

private:
    friend class CachedStatement;
    void giveBack(Statement st, Slot slot) noexcept;

    std::unordered_map<std::string, Statement> m_idle; // by statement text
    bool m_cleared = false;
};

} // namespace ktv::dao

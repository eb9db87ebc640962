// Where the transfers put their cards. The year database adds a card when its lookup finds
// none; the dry run only looks and remembers what it would have added.
#pragma once

#include "app/Value.h"
#include "data/Dao.h"

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace ktv {

// One "column = 'value'" condition of a lookup.
using KeyCondition = std::pair<std::string, std::string>;
// One column of a new card, in the order the card is written.
using CardField = std::pair<std::string, Value>;

class CardTarget {
public:
    virtual ~CardTarget() = default;
    // Looks the key up in the table and adds the card when none is there. Returns true when
    // the card was added; the values of fields may then have been taken. errorContext names
    // the source record for an error message (asked only when there is one).
    virtual bool addIfNew(const std::string& table, const std::vector<KeyCondition>& key,
                          std::vector<CardField>& fields, const std::function<std::string()>& errorContext) = 0;
};

// The lookup statement of a card, "SELECT * FROM T WHERE c = 'v' AND c2 = 'v2'", handed to
// the engine already split into its table and conditions: the key values go as they are,
// with no quoting to add and take off again.
dao::ParsedStatement LookupStatement(const std::string& table, const std::vector<KeyCondition>& key);

class DatabaseCardTarget final : public CardTarget {
public:
    explicit DatabaseCardTarget(dao::Database& db) : m_db(db) {}
    bool addIfNew(const std::string& table, const std::vector<KeyCondition>& key, std::vector<CardField>& fields,
                  const std::function<std::string()>& errorContext) override;

private:
    dao::Database& m_db;
};

// Looks in the existing target (when there is one, opened read-only) and in what this run
// would already have added; writes nothing.
class DryRunCardTarget final : public CardTarget {
public:
    explicit DryRunCardTarget(dao::Database* existing) : m_db(existing) {}
    bool addIfNew(const std::string& table, const std::vector<KeyCondition>& key, std::vector<CardField>& fields,
                  const std::function<std::string()>& errorContext) override;

private:
    dao::Database* m_db;
    std::set<std::string> m_added;
};

} // namespace ktv

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

// Fills in the columns of a new card from the source record and hands them over; called
// only when the card is to be added, so a record whose card is there is read no further
// than its key.
using CardFill = std::function<std::vector<CardField>&()>;

class CardTarget {
public:
    virtual ~CardTarget() = default;
    // Looks the key up in the table and adds the card filled in by fill when none is there.
    // Returns true when the card was added; the values fill gave may then have been taken.
    // errorContext names the source record for an error message (asked only when there is one).
    virtual bool addIfNew(const std::string& table, const std::vector<KeyCondition>& key, const CardFill& fill,
                          const std::function<std::string()>& errorContext) = 0;
};

// The lookup statement of a card, "SELECT * FROM T WHERE c = 'v' AND c2 = 'v2'", handed to
// the engine already split into its table and conditions: the key values go as they are,
// with no quoting to add and take off again.
dao::ParsedStatement LookupStatement(const std::string& table, const std::vector<KeyCondition>& key);

class DatabaseCardTarget final : public CardTarget {
public:
    explicit DatabaseCardTarget(dao::Database& db) : m_db(db) {}
    bool addIfNew(const std::string& table, const std::vector<KeyCondition>& key, const CardFill& fill,
                  const std::function<std::string()>& errorContext) override;

private:
    dao::Database& m_db;
};

// Looks in the existing target (when there is one, opened read-only) and in what this run
// would already have added; writes nothing. A card it would add is filled in all the same, so
// the report counts the same cut values as the real run.
class DryRunCardTarget final : public CardTarget {
public:
    explicit DryRunCardTarget(dao::Database* existing) : m_db(existing) {}
    bool addIfNew(const std::string& table, const std::vector<KeyCondition>& key, const CardFill& fill,
                  const std::function<std::string()>& errorContext) override;

private:
    dao::Database* m_db;
    std::set<std::string> m_added;
};

} // namespace ktv

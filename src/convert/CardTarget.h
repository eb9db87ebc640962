// Where the transfers put their cards. The year database adds a card when its lookup finds
// none; the dry run only looks and remembers what it would have added.
#pragma once

#include "app/Value.h"
#include "data/Dao.h"
#include "data/Schema.h"

#include <deque>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace ktv {

// One target table's cards, each looked up by its key and added when none is there.
class CardTable {
public:
    virtual ~CardTable() = default;
    // key: one value per key column of the layout. fill gives the new card's values, one per
    // column in the layout's order, and is called only when the card is to be added: a
    // record whose card is there is read no further than its key. Returns true when the
    // card was added; the values fill gave may then have been taken. errorContext names the
    // source record for an error message (asked only when there is one).
    virtual bool addIfNew(const std::vector<std::string>& key, const dao::CardValues& fill,
                          const dao::ErrorContext& errorContext) = 0;
};

class CardTarget {
public:
    virtual ~CardTarget() = default;
    // Nothing is asked of the target until the first card: a transfer of an empty source
    // table never finds out whether the target has the table.
    virtual std::unique_ptr<CardTable> table(dao::CardLayout layout) = 0;

    // A target that looks many keys up at once (a server) says how many records a group
    // holds; 0: record by record. For a group the table loop first runs the records' steps
    // with collectKeys on (addIfNew only notes the key and answers "there", never filling),
    // then lookUpCollected, then the steps again in the same order (answered from that
    // lookup), then storeGroup. The next group's keys may be collected and looked up before
    // a group's steps run again: groups are answered and stored first in, first out.
    virtual std::size_t groupSize() const { return 0; }
    virtual void collectKeys(bool /*on*/) {}
    virtual void lookUpCollected() {}
    virtual void storeGroup() {}
};

// A card table that takes part in a target's groups: it notes the keys while collecting,
// looks them up together, and stores what the group added.
class GroupedCardTable : public CardTable {
public:
    virtual void collect(bool on) = 0;
    virtual void lookUp() = 0;
    virtual void store() = 0;

protected:
    // A table's writer may first appear in a later group than the one stored next: each
    // lookUp notes whether its group went to the writer, and store flushes only such a group.
    void noteLookUp(bool toWriter) { m_toWriter.push_back(toWriter); }
    bool takeLookUp()
    {
        if (m_toWriter.empty())
            return false;
        const bool toWriter = m_toWriter.front();
        m_toWriter.pop_front();
        return toWriter;
    }

private:
    std::deque<bool> m_toWriter; // of the groups looked up and not yet stored
};

// A target whose tables are told of every step of a group: it keeps the live ones (one at a
// time in a run), each of which takes itself off when it goes.
class GroupedCardTarget : public CardTarget {
public:
    void collectKeys(bool on) override;
    void lookUpCollected() override;
    void storeGroup() override;

    void forget(GroupedCardTable* table) { std::erase(m_live, table); }

protected:
    void adopt(GroupedCardTable* table) { m_live.push_back(table); }

private:
    std::vector<GroupedCardTable*> m_live;
};

// The lookup statement of a card, "SELECT * FROM T WHERE c = 'v' AND c2 = 'v2'", already
// split into its table and conditions: the key values go as they are, with no quoting to
// add and take off again.
dao::ParsedStatement LookupStatement(const dao::CardLayout& layout, const std::vector<std::string>& key);

class DatabaseCardTarget final : public GroupedCardTarget {
public:
    explicit DatabaseCardTarget(dao::Database& db) : m_db(db) {}
    std::unique_ptr<CardTable> table(dao::CardLayout layout) override;
    std::size_t groupSize() const override;

private:
    dao::Database& m_db;
};

// Looks in the existing target (when there is one, opened read-only) and in what this run
// would already have added; writes nothing. A card it would add is filled in all the same, so
// the report counts the same cut values as the real run, and each of its values is checked
// against its column of the year database's template as the real run's insert checks it: a
// value the real run would fail on fails the dry run with the same error at the same record.
// A server is read in groups as the real run reads it: one lookup of a group's keys.
class DryRunCardTarget final : public GroupedCardTarget {
public:
    DryRunCardTarget(dao::Database* existing, const std::string& templateSchema);
    std::unique_ptr<CardTable> table(dao::CardLayout layout) override;
    std::size_t groupSize() const override;

private:
    dao::Database* m_db;
    std::vector<dao::TableDef> m_tables; // the columns the year database is made with
    std::set<std::string> m_added;       // table and key of every card this run would add
};

} // namespace ktv

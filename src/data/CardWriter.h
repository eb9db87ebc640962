// An add-if-new writer: for one table and key, looks each record's key up and adds the
// record when no record has that key yet, each record by itself, in the write batch of the
// database's implicit transaction. The lookup and the add of one record share that batch, so
// no other writer can add the same key in between; what was added is as durable as any
// other Update (see SqliteDatabase.h).
//
// It does what a dynaset opened on "SELECT * FROM T WHERE k = 'v' ...", RecordCount, AddNew,
// SetField for every column and Update do, with the same errors, but the lookup and the
// insert are prepared once for the table instead of once per record.
#pragma once

#include "data/Backend.h"
#include "platform/core/Error.h"

#include <memory>
#include <string>
#include <vector>

namespace ktv::dao {

class CardWriter {
public:
    explicit CardWriter(std::unique_ptr<CardWriterBackend> backend);
    ~CardWriter();
    CardWriter(const CardWriter&) = delete;
    CardWriter& operator=(const CardWriter&) = delete;

    // Looks key (one literal per key column, compared as a lookup compares) up; when no
    // record has it, asks values for the new record's values (one per column, in the
    // layout's order; they may be taken) and adds it. Returns true when it was added.
    // A value a column refuses fails with the column's error, told with context() and
    // "Table.Column"; nothing of that record is stored.
    bool AddIfNew(const std::vector<std::string>& key, const CardValues& values, const ErrorContext& context);
    // A group of records at once (see CardWriterBackend::prefetch).
    void Prefetch(const std::vector<std::vector<std::string>>& keys);
    void Flush();
    // Whether a record with key is there; adds nothing (see CardWriterBackend::holds).
    bool Holds(const std::vector<std::string>& key);
    void Close(); // idempotent; later calls fail like a released object

private:
    CardWriterBackend& live() const;
    std::unique_ptr<CardWriterBackend> m_backend;
};

// The error of a column refusing a value, told with the record and the column.
Error columnError(const Error& e, const ErrorContext& context, const std::string& table,
                  const std::string& column);

} // namespace ktv::dao

// The storage behind Database and Recordset. The SQLite backend is built in; a second one
// (say, a read-only reader of another file format) registers a probe on the file's first
// bytes and an opener, and Database/Recordset forward to whichever backend opened the file.
#pragma once

#include "app/Value.h"
#include "data/StatementParser.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ktv::dao {

enum class RecordsetType { Snapshot, Dynaset };

class RecordsetBackend {
public:
    virtual ~RecordsetBackend() = default;
    virtual long recordCount() const = 0;
    virtual void moveFirst() = 0;
    virtual void moveLast() = 0;
    virtual void moveNext() = 0;
    virtual bool eof() const = 0;
    virtual Value field(const std::string& name) const = 0;
    virtual std::vector<std::string> fieldNames() const = 0;
    // The position of a column (without regard to case), err::ItemNotFound when there is
    // none, and the field at that position: for loops that read the same columns of every
    // record.
    virtual int fieldIndex(const std::string& name) const = 0;
    virtual Value field(int index) const = 0;
    // The same into a value the caller keeps: text goes into the text it holds, so a loop
    // reading the same column of every record does not allocate for each.
    virtual void readField(int index, Value& into) const { into = field(index); }
    // A read-only backend raises err::ReadOnly from these four.
    virtual void setField(const std::string& name, const Value& v) = 0;
    // The same for a value the caller gives up; a backend may keep it without a copy.
    virtual void takeField(const std::string& name, Value&& v) { setField(name, v); }
    virtual void addNew() = 0;
    virtual void edit() = 0;
    virtual void update() = 0;
    virtual void close() = 0;
};

// The table, key and columns of an add-if-new writer (see CardWriter.h).
struct CardLayout {
    std::string table;
    std::vector<std::string> keyColumns; // compared like a lookup's conditions
    std::vector<std::string> columns;    // of a new record, in the order its values come
};

// Reads what a new record holds, asked for only when the record is to be added.
using CardValues = std::function<std::vector<Value>&()>;
// Names the record an error happened on, asked for only when there is one.
using ErrorContext = std::function<std::string()>;

class CardWriterBackend {
public:
    virtual ~CardWriterBackend() = default;
    // key: one literal per key column. Returns true when the record was added.
    virtual bool addIfNew(const std::vector<std::string>& key, const CardValues& values,
                          const ErrorContext& context) = 0;
    // For a database that takes records in groups (DatabaseBackend::cardGroupSize: a server,
    // where a round trip per record would cost more than the record): the caller hands the
    // writer the keys of up to that many records (prefetch), asks addIfNew for the same
    // records in the same order, and ends the group with flush, which stores the cards added.
    // A key met twice in a group is added once, as record by record. The next group's keys
    // may be handed over before a group is judged (the server looks them up meanwhile):
    // groups are judged and flushed in the order they were handed over, each seeing what the
    // groups before it added.
    virtual void prefetch(const std::vector<std::vector<std::string>>& /*keys*/) {}
    virtual void flush() {}
    // Whether a record with key is there, without adding one (a dry run's question); after a
    // prefetch answered from it for the keys of the group, otherwise a lookup of its own.
    virtual bool holds(const std::vector<std::string>& key) = 0;
    virtual void close() = 0;
};

class DatabaseBackend {
public:
    virtual ~DatabaseBackend() = default;
    // The statement is already parsed (one parser for every backend).
    virtual std::unique_ptr<RecordsetBackend> openRecordset(const ParsedStatement& statement,
                                                            RecordsetType type) = 0;
    virtual void close() = 0; // commits pending writes; idempotent
    virtual bool isReadOnly() const = 0;
    virtual std::vector<std::string> tableNames() const = 0;
    // An add-if-new writer (see CardWriter.h). A backend that cannot write has none: by
    // default this fails with err::ReadOnly.
    virtual std::unique_ptr<CardWriterBackend> openCardWriter(const CardLayout& layout);
    // Records a card writer of this database takes at once (see CardWriterBackend); 0: one by one.
    virtual std::size_t cardGroupSize() const { return 0; }
};

struct OpenRequest {
    std::string path;
    bool exclusive = false;
    bool readOnly = false;
    std::string password; // from ";pwd=..." (empty when none)
};

struct BackendEntry {
    std::string name;
    // Sees up to the first 100 bytes of the file.
    std::function<bool(std::string_view header)> recognizes;
    std::function<std::unique_ptr<DatabaseBackend>(const OpenRequest&)> open;
};

// Backends registered here are asked before the built-in SQLite backend.
void registerBackend(BackendEntry entry);

} // namespace ktv::dao

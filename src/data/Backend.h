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
    // A read-only backend raises err::ReadOnly from these four.
    virtual void setField(const std::string& name, const Value& v) = 0;
    // The same for a value the caller gives up; a backend may keep it without a copy.
    virtual void takeField(const std::string& name, Value&& v) { setField(name, v); }
    virtual void addNew() = 0;
    virtual void edit() = 0;
    virtual void update() = 0;
    virtual void close() = 0;
};

class DatabaseBackend {
public:
    virtual ~DatabaseBackend() = default;
    // The statement is already parsed (one parser for every backend).
    virtual std::unique_ptr<RecordsetBackend> openRecordset(const ParsedStatement& statement, RecordsetType type) = 0;
    virtual void close() = 0; // commits pending writes; idempotent
    virtual bool isReadOnly() const = 0;
    virtual std::vector<std::string> tableNames() const = 0;
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

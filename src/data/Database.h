// A DAO-style database handle: opened from a path with an optional ";pwd=..." connect
// string, it opens recordsets from a table name or one of the program's statement shapes.
// Every failure is a ktv::Error carrying the engine's number (see DaoErrors.h).
#pragma once

#include "data/Backend.h"
#include "data/CardWriter.h"
#include "data/Recordset.h"

#include <memory>
#include <string>
#include <vector>

namespace ktv::dao {

class Database {
public:
    // connect: "" or ";pwd=xxxx". Throws ktv::Error on every failure.
    static std::unique_ptr<Database> OpenDatabase(const std::string& path, bool exclusive = false,
                                                  bool readOnly = false, const std::string& connect = "");

    explicit Database(std::unique_ptr<DatabaseBackend> backend);
    ~Database(); // closes (commits) when still open
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // A table name, "SELECT * FROM T", "... WHERE c = 'v'" or "... WHERE c = 'v' AND c2 = 'w'".
    std::unique_ptr<Recordset> OpenRecordset(const std::string& tableOrStatement, RecordsetType type);
    // The same statement already split into its table and conditions (no text to build and
    // read again for every record of a conversion).
    std::unique_ptr<Recordset> OpenRecordset(const ParsedStatement& statement, RecordsetType type);
    // An add-if-new writer of one table (see CardWriter.h): what a conversion uses instead of
    // a dynaset per record.
    std::unique_ptr<CardWriter> OpenCardWriter(const CardLayout& layout);
    void Close(); // commits pending writes; idempotent
    bool IsReadOnly() const;
    std::vector<std::string> TableNames() const;

private:
    DatabaseBackend& live() const;
    std::unique_ptr<DatabaseBackend> m_backend;
};

// The password of a connect string such as ";pwd=7183" (keys without regard to case;
// other keys are ignored). Empty when there is none.
std::string passwordOfConnect(const std::string& connect);

} // namespace ktv::dao

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

    // A database of the company set on a PostgreSQL server: the schema named, on the server
    // conninfo names (what libpq's PQconnectdb takes). A missing schema is made from the
    // template's tables when create is true; otherwise the result is null.
    static std::unique_ptr<Database> OpenServer(const std::string& conninfo, const std::string& schema,
                                                const std::string& templateSchema, bool create,
                                                bool readOnly);

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
    // How many records a conversion hands the card writer at once (see CardWriter.h);
    // 0: record by record.
    std::size_t CardGroupSize() const;
    void Close(); // commits pending writes; idempotent
    bool IsReadOnly() const;
    std::vector<std::string> TableNames() const;

private:
    DatabaseBackend& live() const;
    std::unique_ptr<DatabaseBackend> m_backend;
};

// The server a libpq connection string names, as "host=... port=... dbname=... user=...":
// what a report or an error may show (never the password).
std::string ServerName(const std::string& conninfo);

// Connects to the server and leaves: fails as opening a member would (wrong user name or
// password, unknown database, server not reachable), before anything is written.
void CheckServer(const std::string& conninfo);

// The password of a connect string such as ";pwd=7183" (keys without regard to case;
// other keys are ignored). Empty when there is none.
std::string passwordOfConnect(const std::string& connect);

} // namespace ktv::dao

// The server backend of one database of the company set: one schema on a PostgreSQL server,
// reached through its own connection. Tables and their columns are those of the member's
// template; recordsets and the card writer work on them as on the file, and writes go in the
// same implicit write batch (dao::WriteBatch): begun by the first write, committed at the first
// engine call 50 ms later (never while a lookup holds it open for the add it decides on), on
// close, and before the program ends on a failure path. Writers of a schema take its advisory
// lock with their batch, so they take turns batch by batch as writers of one file do.
#pragma once

#include "data/Backend.h"
#include "data/EngineClock.h"
#include "data/Schema.h"
#include "data/WriteBatch.h"
#include "data/pg/PgConnection.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ktv::dao::pg {

struct PgTable {
    const TableDef* def = nullptr;
    std::string quoted; // schema and table, ready for SQL
    std::vector<std::string> quotedColumns;
    int columnIndex(const std::string& name) const; // without regard to ASCII case; -1 when none
    std::string selectList() const;
};

class PgDatabase final : public DatabaseBackend, private TransactionPort {
public:
    // Connects and opens the schema: made from the template's tables when missing and create
    // is true; with create false a missing schema gives a null pointer.
    static std::unique_ptr<PgDatabase> open(const std::string& conninfo, const std::string& schema,
                                            const std::string& templateSchema, bool create, bool readOnly);
    ~PgDatabase() override;

    std::unique_ptr<RecordsetBackend> openRecordset(const ParsedStatement& statement,
                                                    RecordsetType type) override;
    void close() override;
    bool isReadOnly() const override { return m_readOnly; }
    std::vector<std::string> tableNames() const override;
    std::unique_ptr<CardWriterBackend> openCardWriter(const CardLayout& layout) override;
    std::size_t cardGroupSize() const override { return kGroup; }
    static constexpr std::size_t kGroup = 1000;

    // For the recordsets and writers of this database.
    PgConnection& conn();
    const std::string& schema() const { return m_schema; }
    const PgTable& table(const std::string& name) const; // err::TableNotFound when unknown
    // " WHERE cond AND cond" of a lookup, its parameters appended to params.
    std::string where(const PgTable& t, const ParsedStatement& st, std::vector<Param>& params) const;

    // The write batch (dao::WriteBatch, shared with the file backend). The transaction it
    // begins is sent with the next statement, in the same round trip (BEGIN and the schema's
    // lock in front of it). The COMMIT of a batch whose time is up is sent ahead too: its
    // answer comes with the next round trip, and a failure read before it loses that batch
    // with the open one. Closing, and the commit of the exit hook, wait for every COMMIT.
    WriteBatch& batch() { return m_batch; }
    // Statements of the write batch, in one round trip (opening the batch when none is open);
    // their results. A statement that fails loses the batch (the server has given up its
    // transaction): what remains is rolled back and the error says how much was lost.
    std::vector<Result> write(std::vector<Query> queries);
    // A statement of the write batch sent now, inside the batch's transaction, so the server
    // runs it while the program goes on (a group's insert, the next group's lookup). keep
    // false: nobody waits for its answer, which comes with the next round trip on this
    // connection (the next lookup, the COMMIT); keep true: answerAhead(ticket) gives it. When
    // it fails, the call that reads its answer fails and the batch is lost as with write.
    long writeAhead(const Query& query, bool keep);
    Result answerAhead(long ticket);
    void forgetAhead(long ticket); // its answer is not wanted after all
    // One statement outside the card writer's path (a recordset's FETCH or count), after what
    // waits to be sent; a failure inside the batch loses the batch as with write.
    Result exec(const std::string& sql, const std::vector<Param>& params = {});
    bool inBatch() const { return m_batch.isOpen(); }
    std::string nextCursorName() { return "ktv_c" + std::to_string(++m_cursors); }
    // A read outside the write batch runs in a read-only transaction of one snapshot of the
    // data; nested reads share it. before: sent with the BEGIN, in the same round trip.
    std::vector<Result> beginRead(std::vector<Query> before);
    void endRead();

private:
    PgDatabase(std::unique_ptr<PgConnection> conn, std::string schema, std::vector<TableDef> tables,
               bool readOnly);
    // TransactionPort
    void beginTransaction() override;
    void commitTransaction() override;
    void rollbackTransaction() noexcept override;
    bool transactionOpen() const override { return m_txn != Txn::None; }
    bool commitTransactionAhead() override;
    void awaitCommits() override;
    // The BEGIN asked for, with the schema's lock, sent ahead of the statement that needs it.
    void sendBegin();
    std::vector<Result> send(const std::vector<Query>& queries); // after the BEGIN asked for, if any
    void settle(); // reads the answer of the COMMIT sent ahead, when it has come
    void checkCommitted(const Result& answer) const;
    Error lose(const Error& e);

    std::unique_ptr<PgConnection> m_conn;
    std::string m_schema;
    std::vector<TableDef> m_defs;
    std::vector<PgTable> m_tables;
    bool m_readOnly;
    enum class Txn { None, Asked, Open }; // Asked: BEGIN goes with the next statement
    Txn m_txn = Txn::None;
    WriteBatch m_batch;
    long m_commitTicket = 0; // the COMMIT sent ahead whose answer is still to be read
    long m_cursors = 0;
    int m_reads = 0;        // open reads
    bool m_ownRead = false; // they run in a read transaction of their own
    int m_exitHook = 0;
};

} // namespace ktv::dao::pg

#include "data/pg/PgDatabase.h"

#include "data/ColumnType.h"
#include "data/DaoErrors.h"
#include "data/pg/PgCardWriter.h"
#include "data/pg/PgRecordset.h"
#include "data/pg/PgSchema.h"

#include "platform/core/ProgramExit.h"
#include "platform/core/TextCodec.h"
#include <libpq-fe.h>

#include <utility>

namespace ktv::dao::pg {

int PgTable::columnIndex(const std::string& name) const
{
    for (std::size_t i = 0; i < def->columns.size(); ++i)
        if (text::equalsNoCase(def->columns[i].column.name, name))
            return static_cast<int>(i);
    return -1;
}

std::string PgTable::selectList() const
{
    std::string out;
    for (const auto& c : quotedColumns)
        out += (out.empty() ? "" : ", ") + c;
    return out;
}

std::unique_ptr<PgDatabase> PgDatabase::open(const std::string& conninfo, const std::string& schema,
                                             const std::string& templateSchema, bool create, bool readOnly)
{
    auto conn = std::make_unique<PgConnection>(conninfo);
    std::vector<TableDef> defs = parseSchema(templateSchema);
    if (!ensureSchema(*conn, schema, defs, create))
        return nullptr;
    return std::unique_ptr<PgDatabase>(new PgDatabase(std::move(conn), schema, std::move(defs), readOnly));
}

PgDatabase::PgDatabase(std::unique_ptr<PgConnection> conn, std::string schema, std::vector<TableDef> tables,
                       bool readOnly)
    : m_conn(std::move(conn)), m_schema(std::move(schema)), m_defs(std::move(tables)), m_readOnly(readOnly),
      m_batch(*this, "schema " + m_schema + " on the database server '" + m_conn->server() + "'")
{
    const std::string s = m_conn->ident(m_schema);
    for (const auto& d : m_defs) {
        PgTable t;
        t.def = &d;
        t.quoted = s + "." + m_conn->ident(d.name);
        for (const auto& c : d.columns)
            t.quotedColumns.push_back(m_conn->ident(c.column.name));
        m_tables.push_back(std::move(t));
    }
    if (!m_readOnly)
        m_exitHook = addExitHook([this] { m_batch.commit(); });
}

PgDatabase::~PgDatabase()
{
    try {
        close();
    } catch (...) {
        // a destructor cannot report; Database::Close reports
    }
}

PgConnection& PgDatabase::conn()
{
    if (!m_conn)
        raise(dao::err::ObjectClosed);
    return *m_conn;
}

const PgTable& PgDatabase::table(const std::string& name) const
{
    for (const auto& t : m_tables)
        if (text::equalsNoCase(t.def->name, name))
            return t;
    raise(dao::err::TableNotFound, name);
}

std::vector<std::string> PgDatabase::tableNames() const
{
    std::vector<std::string> out;
    for (const auto& t : m_defs)
        out.push_back(t.name);
    return out;
}

std::string PgDatabase::where(const PgTable& t, const ParsedStatement& st, std::vector<Param>& params) const
{
    std::string out;
    for (const auto& c : st.conditions) {
        const int idx = t.columnIndex(c.column);
        if (idx < 0)
            raise(dao::err::TooFewParameters);
        const ColumnInfo& col = t.def->columns[static_cast<std::size_t>(idx)].column;
        out += out.empty() ? " WHERE " : " AND ";
        const std::string& q = t.quotedColumns[static_cast<std::size_t>(idx)];
        if (isTextKind(col.kind) || col.kind == ColumnKind::Other) {
            params.push_back(c.literal);
            out += foldedSql(q) + " = " + foldedSql("$" + std::to_string(params.size()) + "::text");
        } else {
            Value v;
            try {
                v = convertForColumn(col, Value(c.literal));
            } catch (const Error&) {
                raise(dao::err::CriteriaMismatch);
            }
            params.push_back(toParam(v));
            out += q + " = $" + std::to_string(params.size());
        }
    }
    return out;
}

std::unique_ptr<RecordsetBackend> PgDatabase::openRecordset(const ParsedStatement& statement,
                                                            RecordsetType type)
{
    m_batch.commitIfDue();
    return std::make_unique<PgRecordset>(*this, table(statement.table), statement, type);
}

std::unique_ptr<CardWriterBackend> PgDatabase::openCardWriter(const CardLayout& layout)
{
    return std::make_unique<PgCardWriter>(*this, table(layout.table), layout);
}

void PgDatabase::beginTransaction() { m_txn = Txn::Asked; }

void PgDatabase::commitTransaction()
{
    if (m_txn != Txn::Open) {
        m_txn = Txn::None; // asked for, never sent: nothing to save
        return;
    }
    Result r;
    try {
        // The answers of what was sent ahead come back with the COMMIT's.
        r = std::move(send({{"COMMIT", {}}}).back());
    } catch (const Error&) {
        // A COMMIT that fails ends the transaction on the server; a statement before it that
        // failed leaves it aborted, to be rolled back.
        rollbackTransaction();
        throw;
    }
    m_txn = Txn::None;
    checkCommitted(r);
}

bool PgDatabase::commitTransactionAhead()
{
    if (m_txn != Txn::Open)
        return false; // nothing sent: commitTransaction ends it
    try {
        PgConnection& c = conn();
        if (m_commitTicket)
            c.forgetAhead(m_commitTicket); // answered before this one, or failing with it
        m_commitTicket = c.sendAhead({"COMMIT", {}}, true);
    } catch (const Error&) {
        rollbackTransaction();
        throw;
    }
    m_txn = Txn::None;
    return true;
}

void PgDatabase::awaitCommits()
{
    if (!m_commitTicket)
        return;
    try {
        checkCommitted(conn().takeAhead(std::exchange(m_commitTicket, 0)));
    } catch (const Error&) {
        rollbackTransaction();
        throw;
    }
}

void PgDatabase::settle()
{
    if (!m_commitTicket || !m_conn || !m_conn->answered(m_commitTicket))
        return;
    checkCommitted(m_conn->takeAhead(std::exchange(m_commitTicket, 0)));
    m_batch.committed();
}

void PgDatabase::checkCommitted(const Result& answer) const
{
    if (std::string(PQcmdStatus(answer.get())) == "ROLLBACK")
        throw Error(err::CallFailed, "The database server '" + m_conn->server() + "' rolled the batch back.");
}

void PgDatabase::sendBegin()
{
    if (m_txn != Txn::Asked)
        return;
    PgConnection& c = conn();
    c.sendAhead({"BEGIN", {}});
    c.sendAhead(lockQuery(m_schema));
    m_txn = Txn::Open;
}

void PgDatabase::rollbackTransaction() noexcept
{
    m_txn = Txn::None;
    m_commitTicket = 0;
    if (!m_conn)
        return;
    m_conn->discardAhead(); // a failed statement sent ahead would refuse the ROLLBACK
    // Also a transaction whose COMMIT, sent ahead, was refused after a statement that failed.
    if (!m_conn->broken() && m_conn->inTransaction())
        try {
            m_conn->exec("ROLLBACK");
        } catch (...) {
        }
}

std::vector<Result> PgDatabase::send(const std::vector<Query>& queries)
{
    sendBegin();
    std::vector<Result> results = conn().pipeline(queries);
    settle();
    return results;
}

std::vector<Result> PgDatabase::write(std::vector<Query> queries)
{
    if (m_readOnly)
        raise(dao::err::ReadOnly);
    m_batch.begin();
    try {
        return send(queries);
    } catch (const Error& e) {
        throw lose(e);
    }
}

long PgDatabase::writeAhead(const Query& query, bool keep)
{
    if (m_readOnly)
        raise(dao::err::ReadOnly);
    m_batch.begin();
    try {
        sendBegin();
        return conn().sendAhead(query, keep);
    } catch (const Error& e) {
        throw lose(e);
    }
}

Result PgDatabase::answerAhead(long ticket)
{
    try {
        Result r = conn().takeAhead(ticket);
        settle();
        return r;
    } catch (const Error& e) {
        throw lose(e);
    }
}

void PgDatabase::forgetAhead(long ticket)
{
    if (m_conn)
        m_conn->forgetAhead(ticket);
}

Result PgDatabase::exec(const std::string& sql, const std::vector<Param>& params)
{
    if (!m_batch.isOpen()) {
        m_batch.commit(); // the answer of a COMMIT sent ahead first
        return conn().exec(sql, params);
    }
    try {
        return std::move(send({{sql, params}}).back());
    } catch (const Error& e) {
        throw lose(e);
    }
}

Error PgDatabase::lose(const Error& e)
{
    bool refused = false;
    try {
        settle(); // a COMMIT answered before the failure saved its batch
    } catch (const Error&) {
        refused = true;
    }
    if (!m_batch.isOpen() && !m_commitTicket && !refused)
        return e;
    // The server has given up the open batch, and a COMMIT sent ahead that it had not
    // answered: rolled back, and the error says how many records were lost.
    rollbackTransaction();
    return m_batch.abandon(e);
}

std::vector<Result> PgDatabase::beginRead(std::vector<Query> before)
{
    PgConnection& c = conn();
    if (!m_batch.isOpen() && m_reads == 0)
        m_batch.commit(); // the answer of a COMMIT sent ahead first
    if (m_batch.isOpen() || m_reads > 0) {
        // Inside the write batch (which may still have its BEGIN to send) or another read.
        ++m_reads;
        try {
            return send(before);
        } catch (const Error& e) {
            --m_reads;
            throw lose(e);
        }
    }
    before.insert(before.begin(), Query{"BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY", {}});
    std::vector<Result> results;
    try {
        results = c.pipeline(before);
    } catch (...) {
        if (!c.broken())
            try {
                c.exec("ROLLBACK");
            } catch (const Error&) {
            }
        throw;
    }
    m_ownRead = true;
    ++m_reads;
    results.erase(results.begin());
    return results;
}

void PgDatabase::endRead()
{
    if (m_reads == 0 || --m_reads > 0 || !m_ownRead)
        return;
    m_ownRead = false;
    if (m_conn && !m_conn->broken())
        m_conn->exec("COMMIT");
}

void PgDatabase::close()
{
    if (!m_conn)
        return;
    if (m_exitHook)
        removeExitHook(m_exitHook);
    m_exitHook = 0;
    // The last save: when it fails the batch is lost, and the error says how much of it.
    const std::optional<Error> failure = m_batch.finish();
    m_conn.reset();
    if (failure)
        throw *failure;
}

} // namespace ktv::dao::pg

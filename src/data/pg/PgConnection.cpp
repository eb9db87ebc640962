// Connection defaults the operator's connection string may override: a bounded wait for the
// server and TCP keepalives, so a server that vanishes ends a run within seconds instead of
// a blocked read for ever. The client encoding is always UTF-8, what the program's text is.
#include "data/pg/PgConnection.h"

#include "data/Database.h"

#include <libpq-fe.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace ktv::dao::pg {

namespace {

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// Why a connection failed, in the operator's terms.
std::string connectReason(const std::string& message)
{
    if (contains(message, "password authentication failed") || contains(message, "no password supplied") ||
        contains(message, "authentication failed") ||
        (contains(message, "role \"") && contains(message, "does not exist")))
        return "wrong user name or password";
    if (contains(message, "database \"") && contains(message, "does not exist"))
        return "the database does not exist on the server";
    if (contains(message, "Connection refused") || contains(message, "No such file or directory") ||
        contains(message, "could not translate host name") || contains(message, "timeout expired") ||
        contains(message, "unreachable") || contains(message, "No route to host"))
        return "the server cannot be reached";
    return "the server refused the connection";
}

// A message of several lines as one: its blanks run together, no full stop of its own at the
// end (the sentence it goes into has one).
std::string firstLines(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        const bool blank = c == '\n' || c == '\t' || c == ' ' || c == '\r';
        if (!blank)
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == '.'))
        out.pop_back();
    return out;
}

} // namespace

void ResultDeleter::operator()(pg_result* r) const { PQclear(r); }

std::string sqlState(const pg_result* result)
{
    const char* s = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    return s ? s : "";
}

PgConnection::PgConnection(const std::string& conninfo)
{
    // Read before connecting: a text libpq cannot read would be quoted back in its message,
    // perhaps with a piece of the password.
    char* parseError = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &parseError);
    if (!options) {
        PQfreemem(parseError);
        throw Error(err::ConnectFailed,
                    "The database server's connection text cannot be read: give key=value "
                    "pairs (host=... dbname=... user=...) or a postgresql:// URI.");
    }
    for (PQconninfoOption* o = options; o->keyword; ++o)
        if (std::string(o->keyword) == "password" && o->val)
            m_password = o->val;
    PQconninfoFree(options);

    // Defaults first, the operator's text after them (it overrides), the encoding last.
    const std::array<const char*, 10> keys = {
        "connect_timeout",  "keepalives",       "keepalives_idle", "keepalives_interval", "keepalives_count",
        "tcp_user_timeout", "application_name", "dbname",          "client_encoding",     nullptr};
    const std::array<const char*, 10> values = {
        "10", "1", "5", "2", "3", "10000", "ktvedaz", conninfo.c_str(), "UTF8", nullptr};
    m_conn = PQconnectdbParams(keys.data(), values.data(), 1);
    auto part = [&](const char* key, const char* value) {
        if (value && *value)
            m_server += std::string(m_server.empty() ? "" : " ") + key + "=" + value;
    };
    if (m_conn) {
        part("host", PQhost(m_conn));
        part("port", PQport(m_conn));
        part("dbname", PQdb(m_conn));
        part("user", PQuser(m_conn));
    }
    if (!m_conn || PQstatus(m_conn) != CONNECTION_OK) {
        const std::string message = m_conn ? firstLines(PQerrorMessage(m_conn)) : "out of memory";
        PQfinish(m_conn);
        m_conn = nullptr;
        throw Error(err::ConnectFailed, scrub("Cannot connect to the database server '" + m_server +
                                              "': " + connectReason(message) + " (" + message + ")."));
    }
}

PgConnection::~PgConnection()
{
    PQfinish(m_conn);
    // For the conversion benchmark: the file KTV_PG_ROUND_TRIPS names gets this connection's
    // count of round trips, one line each, so what the operator sees never changes.
    if (const char* file = std::getenv("KTV_PG_ROUND_TRIPS"); file && *file)
        if (std::FILE* f = std::fopen(file, "a")) {
            std::fprintf(f, "%ld\n", m_roundTrips);
            std::fclose(f);
        }
}

bool PgConnection::broken() const { return !m_conn || PQstatus(m_conn) != CONNECTION_OK; }

bool PgConnection::inTransaction() const
{
    const auto status = m_conn ? PQtransactionStatus(m_conn) : PQTRANS_UNKNOWN;
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR;
}

std::string PgConnection::scrub(std::string text) const
{
    // libpq does not echo passwords; this is for what it might quote from elsewhere.
    if (m_password.size() >= 4)
        for (std::size_t at; (at = text.find(m_password)) != std::string::npos;)
            text.replace(at, m_password.size(), "***");
    return text;
}

void PgConnection::fail(const pg_result* result, const std::string& what) const
{
    const std::string state = sqlState(result);
    const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    std::string message = primary ? primary : firstLines(m_conn ? PQerrorMessage(m_conn) : "no connection");
    if (message.empty())
        message = "no answer";
    if (state == "42501")
        throw Error(err::NoPermission, scrub("The database server '" + m_server + "' refused: " + message +
                                             (what.empty() ? "" : " (" + what + ")") + "."));
    if (broken())
        throw Error(err::CallFailed, scrub("The connection to the database server '" + m_server +
                                           "' was lost: " + firstLines(message) + "."));
    throw Error(err::CallFailed, scrub("The database server '" + m_server + "' reported an error" +
                                       (state.empty() ? "" : " " + state) + ": " + firstLines(message) +
                                       (what.empty() ? "" : " (" + what + ")") + "."));
}

namespace {

struct ParamArrays {
    std::vector<const char*> values;
    std::vector<int> lengths;
    std::vector<int> formats;
    explicit ParamArrays(const std::vector<Param>& params)
    {
        for (const auto& p : params) {
            values.push_back(p ? p->data() : nullptr);
            lengths.push_back(p ? static_cast<int>(p->size()) : 0);
            formats.push_back(0);
        }
    }
};

bool succeeded(const pg_result* r)
{
    const auto status = PQresultStatus(r);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

} // namespace

Result PgConnection::exec(const std::string& sql, const std::vector<Param>& params)
{
    if (PQpipelineStatus(m_conn) != PQ_PIPELINE_OFF)
        return std::move(pipeline({{sql, params}}).back());
    const ParamArrays a(params);
    ++m_roundTrips;
    Result r(PQexecParams(m_conn, sql.c_str(), static_cast<int>(params.size()), nullptr, a.values.data(),
                          a.lengths.data(), a.formats.data(), 0));
    if (!r || !succeeded(r.get()))
        fail(r.get());
    return r;
}

bool PgConnection::sendOne(const Query& q, Sent how, std::deque<Sent>& sent)
{
    const ParamArrays a(q.params);
    const int n = static_cast<int>(q.params.size());
    if (!q.reused) {
        if (PQsendQueryParams(m_conn, q.sql.c_str(), n, nullptr, a.values.data(), a.lengths.data(),
                              a.formats.data(), 0) != 1)
            return false;
        sent.push_back(std::move(how));
        return true;
    }
    auto [it, fresh] = m_statements.try_emplace(q.sql);
    if (fresh) {
        it->second = "ktv_s" + std::to_string(++m_named);
        // Taken back if the Parse fails, so the next use parses again.
        if (PQsendPrepare(m_conn, it->second.c_str(), q.sql.c_str(), n, nullptr) != 1) {
            m_statements.erase(it);
            return false;
        }
        sent.push_back({true, 0, q.sql});
    }
    if (PQsendQueryPrepared(m_conn, it->second.c_str(), n, a.values.data(), a.lengths.data(),
                            a.formats.data(), 0) != 1)
        return false;
    sent.push_back(std::move(how));
    return true;
}

bool PgConnection::readAnswer(const Sent& sent, std::vector<Result>& results, std::optional<Result>& failure)
{
    Result r(PQgetResult(m_conn));
    if (!r) {
        if (!sent.parseOf.empty())
            m_statements.erase(sent.parseOf);
        return false;
    }
    while (PGresult* more = PQgetResult(m_conn)) // the null that ends this answer
        PQclear(more);
    const bool ok = succeeded(r.get());
    if (!ok && !sent.parseOf.empty())
        m_statements.erase(sent.parseOf);
    if (!ok && !failure)
        failure = std::move(r);
    else if (sent.ticket && ok)
        m_answers[sent.ticket] = std::move(r);
    else if (!sent.ahead)
        results.push_back(std::move(r));
    return true;
}

std::vector<Result> PgConnection::readAnswers(std::deque<Sent> sent, std::optional<Result>& failure,
                                              bool& lost)
{
    std::vector<Result> results;
    lost = PQpipelineSync(m_conn) != 1;
    // Every answer up to the sync is read, whatever failed, so the connection is usable after.
    std::size_t i = 0;
    for (; !lost && i < sent.size(); ++i)
        lost = !readAnswer(sent[i], results, failure);
    for (; i < sent.size(); ++i) // never answered
        if (!sent[i].parseOf.empty())
            m_statements.erase(sent[i].parseOf);
    if (!lost) {
        Result sync(PQgetResult(m_conn));
        lost = !sync || PQresultStatus(sync.get()) != PGRES_PIPELINE_SYNC;
    }
    PQexitPipelineMode(m_conn);
    return results;
}

std::vector<Result> PgConnection::pipeline(const std::vector<Query>& queries)
{
    if (queries.size() == 1 && PQpipelineStatus(m_conn) == PQ_PIPELINE_OFF && !queries[0].reused) {
        std::vector<Result> one;
        one.push_back(exec(queries[0].sql, queries[0].params));
        return one;
    }
    if (PQpipelineStatus(m_conn) == PQ_PIPELINE_OFF && PQenterPipelineMode(m_conn) != 1)
        fail(nullptr);
    ++m_roundTrips;
    m_sentSinceWait = false;
    std::deque<Sent> sent = std::exchange(m_ahead, {});
    for (const auto& q : queries)
        if (!sendOne(q, {}, sent))
            break;
    std::optional<Result> failure;
    bool lost = false;
    std::vector<Result> results = readAnswers(std::move(sent), failure, lost);
    if (failure)
        fail(failure->get());
    if (lost)
        fail(nullptr);
    return results;
}

long PgConnection::sendAhead(const Query& query, bool keep)
{
    if (PQpipelineStatus(m_conn) == PQ_PIPELINE_OFF && PQenterPipelineMode(m_conn) != 1)
        fail(nullptr);
    const long ticket = keep ? ++m_tickets : 0;
    m_sentSinceWait = true;
    const bool ok = sendOne(query, {true, ticket, {}}, m_ahead);
    // The server runs it as it arrives and answers at once, without waiting for a sync.
    if (!ok || PQsendFlushRequest(m_conn) != 1 || PQflush(m_conn) != 0)
        fail(nullptr);
    return ticket;
}

Result PgConnection::takeAhead(long ticket)
{
    std::vector<Result> none;
    std::optional<Result> failure;
    // Waiting for statements sent together is one round trip, however many answers it reads.
    if (!m_answers.count(ticket) && m_sentSinceWait) {
        ++m_roundTrips;
        m_sentSinceWait = false;
    }
    while (!m_answers.count(ticket)) {
        if (m_ahead.empty())
            throw Error(err::CallFailed,
                        "The database server '" + m_server + "' gave no answer to a statement sent ahead.");
        const Sent next = std::move(m_ahead.front());
        m_ahead.pop_front();
        if (!readAnswer(next, none, failure))
            fail(nullptr);
        if (failure)
            fail(failure->get()); // what follows is refused until the rollback's sync
    }
    Result r = std::move(m_answers[ticket]);
    m_answers.erase(ticket);
    return r;
}

void PgConnection::forgetAhead(long ticket)
{
    m_answers.erase(ticket);
    for (auto& s : m_ahead)
        if (s.ticket == ticket)
            s.ticket = 0;
}

void PgConnection::discardAhead() noexcept
{
    m_answers.clear();
    if (PQpipelineStatus(m_conn) == PQ_PIPELINE_OFF)
        return;
    std::deque<Sent> sent = std::exchange(m_ahead, {});
    for (auto& s : sent)
        s.ticket = 0;
    std::optional<Result> failure;
    bool lost = false;
    readAnswers(std::move(sent), failure, lost);
}

std::string PgConnection::ident(const std::string& name) const
{
    char* quoted = PQescapeIdentifier(m_conn, name.data(), name.size());
    if (!quoted)
        fail(nullptr, "identifier");
    std::string out(quoted);
    PQfreemem(quoted);
    return out;
}

} // namespace ktv::dao::pg

namespace ktv::dao {

void CheckServer(const std::string& conninfo) { pg::PgConnection check(conninfo); }

std::string ServerName(const std::string& conninfo)
{
    char* parseError = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &parseError);
    if (!options) {
        PQfreemem(parseError);
        return "(a connection text that cannot be read)";
    }
    std::string out;
    for (const char* key : {"service", "host", "hostaddr", "port", "dbname", "user"})
        for (PQconninfoOption* o = options; o->keyword; ++o)
            if (o->val && *o->val && std::string(o->keyword) == key)
                out += std::string(out.empty() ? "" : " ") + key + "=" + o->val;
    PQconninfoFree(options);
    return out.empty() ? "(libpq's defaults)" : out;
}

} // namespace ktv::dao

// One connection to a PostgreSQL server through libpq: connecting with a libpq connection
// string (what PQconnectdb takes), statements whose values all travel as parameters, several
// statements in one round trip (pipeline mode), and the engine's errors for what fails. No
// text this class produces carries the password: the server is named by host, port, database
// and user only.
#pragma once

#include "platform/core/Error.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct pg_conn;
struct pg_result;

namespace ktv::dao::pg {

// Error numbers of the server backend, those the original engine used for its ODBC sources.
namespace err {
constexpr int ConnectFailed = 3151; // the server could not be reached or refused us
constexpr int CallFailed = 3146;    // a statement failed or the connection was lost
constexpr int NoPermission = 3033;  // the role may not do what was asked (create a schema)
} // namespace err

struct ResultDeleter {
    void operator()(pg_result* r) const;
};
using Result = std::unique_ptr<pg_result, ResultDeleter>;

// A parameter in libpq's text form; nullopt is Null.
using Param = std::optional<std::string>;

struct Query {
    std::string sql;
    std::vector<Param> params;
    // Parsed and planned once per connection, then only executed (a statement the card
    // writer sends for every group).
    bool reused = false;
};

class PgConnection {
public:
    // Connects, or fails with err::ConnectFailed saying whether the user name or password was
    // refused, the database is unknown, or the server could not be reached.
    explicit PgConnection(const std::string& conninfo);
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    // "host=... port=... dbname=... user=...", never the password.
    const std::string& server() const { return m_server; }

    // One statement, one round trip. Fails with err::CallFailed (or err::NoPermission).
    Result exec(const std::string& sql, const std::vector<Param>& params = {});
    // Several statements in one round trip (libpq's pipeline mode); their results in order.
    // The first that fails fails the whole call, and the statements after it are not run.
    // Statements sent ahead go first: their failure fails this call in the same way.
    std::vector<Result> pipeline(const std::vector<Query>& queries);
    // A statement sent now, so the server runs it while the program goes on (libpq's
    // pipeline mode, the server asked to answer at once). keep false: nobody waits for its
    // answer, which is read with the next call that reads from the server and fails that call
    // when the statement failed. keep true: the returned ticket takes its answer (takeAhead).
    // Fails at once only when the connection cannot take it.
    long sendAhead(const Query& query, bool keep = false);
    // The answer of a statement sent ahead with keep, waiting for it when it has not come;
    // fails like pipeline when it, or a statement sent ahead before it, failed.
    Result takeAhead(long ticket);
    // Its answer is not wanted after all (dropped when it comes).
    void forgetAhead(long ticket);
    // Reads and drops every answer still to come from statements sent ahead (before a rollback).
    void discardAhead() noexcept;
    // Whether the answer of a statement sent ahead with keep has been read (and succeeded).
    bool answered(long ticket) const { return m_answers.count(ticket) > 0; }
    // Whether the server has a transaction open on this connection (aborted or not), as far
    // as the answers read so far tell.
    bool inTransaction() const;

    // An identifier quoted by libpq ("AracKarti" keeps its case).
    std::string ident(const std::string& name) const;
    // Round trips made so far (for the benchmark's figure: with KTV_PG_ROUND_TRIPS set to a
    // file, the count is added to that file when the connection closes).
    long roundTrips() const { return m_roundTrips; }
    bool broken() const;

    // The error of a failed statement or connection, naming the server.
    [[noreturn]] void fail(const pg_result* result, const std::string& what = {}) const;

private:
    std::string scrub(std::string text) const;
    struct Sent {
        bool ahead = false;  // sent ahead
        long ticket = 0;     // sent ahead with keep: its answer is kept under this number
        std::string parseOf; // a Parse of this reused SQL, not a statement
    };
    // Sends query in pipeline mode (with its Parse the first time when reused), noting what
    // answers will come in sent; false when the connection did not take it.
    bool sendOne(const Query& query, Sent how, std::deque<Sent>& sent);
    // Reads the answer that sent is waiting for; false when the connection gave none.
    // Answers kept for a ticket go to m_answers; the first failure goes to failure.
    bool readAnswer(const Sent& sent, std::vector<Result>& results, std::optional<Result>& failure);
    // Syncs, reads every answer of sent and leaves pipeline mode: the results of the
    // statements not sent ahead, and the first failure in failure.
    std::vector<Result> readAnswers(std::deque<Sent> sent, std::optional<Result>& failure, bool& lost);
    pg_conn* m_conn = nullptr;
    std::unordered_map<std::string, std::string> m_statements; // reused SQL → its name
    long m_named = 0;                                          // names given to reused statements
    std::deque<Sent> m_ahead;                                  // sent ahead, not yet answered, in order
    long m_tickets = 0;                                        // tickets given
    bool m_sentSinceWait = false;                              // sent ahead since the last round trip
    std::unordered_map<long, Result> m_answers;                // kept answers read before they were asked for
    std::string m_server;
    std::string m_password; // only to take it out of messages that might echo it
    long m_roundTrips = 0;
};

// The SQLSTATE of a failed result ("" when none).
std::string sqlState(const pg_result* result);

} // namespace ktv::dao::pg

// One connection to a PostgreSQL server through libpq: connecting with a libpq connection
// string (what PQconnectdb takes), statements whose values all travel as parameters, several
// statements in one round trip (pipeline mode), and the engine's errors for what fails. No
// text this class produces carries the password: the server is named by host, port, database
// and user only.
#pragma once

#include "platform/core/Error.h"

#include <memory>
#include <optional>
#include <string>
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
    std::vector<Result> pipeline(const std::vector<Query>& queries);

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
    pg_conn* m_conn = nullptr;
    std::string m_server;
    std::string m_password; // only to take it out of messages that might echo it
    long m_roundTrips = 0;
};

// The SQLSTATE of a failed result ("" when none).
std::string sqlState(const pg_result* result);

} // namespace ktv::dao::pg

// The server's floor for a conversion: the rows the transfers store (the source read and
// cleaned as SQLite's floor cleans it, a key met again left out) loaded with COPY into the
// year database's tables and unique indexes on the server, in one transaction, through libpq
// with no layer of this program in between.
#pragma once

#include <filesystem>
#include <string>

namespace ktv::bench {

// Makes schema afresh (dropped when there, then made from the year database's template like
// the program makes it; not timed), then loads source into it; returns the seconds taken by
// the load, connecting, reading the source and committing included.
double copyFloor(const std::string& conninfo, const std::filesystem::path& source, const std::string& schema);

// Cards in the three target tables of schema on the server.
long serverCards(const std::string& conninfo, const std::string& schema);

// Runs one statement of the benchmark's own (dropping a schema); fails the benchmark when the
// server refuses it.
void serverExec(const std::string& conninfo, const std::string& sql);

} // namespace ktv::bench

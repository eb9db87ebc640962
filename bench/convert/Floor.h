// SQLite's own floor for a conversion: a plain loop over the source tables with one prepared
// lookup and one prepared insert per record, into the same tables and case-blind indexes, in
// one transaction, with SQLite's default settings and no layer of this program in between.
#pragma once

#include <filesystem>

namespace ktv::bench {

// The target's journal: the file's own (a rollback journal, as the templates come), or the
// write-ahead log with the settings the program keeps on a local disk (synchronous NORMAL,
// a checkpoint every 10000 pages). The second tells what the journal costs by itself.
enum class FloorJournal { Rollback, ProgramWal };

// Converts source into target (an existing year database), cleaning values as the transfers
// do; returns the seconds taken, opening and closing both files included.
double floorRun(const std::filesystem::path& source, const std::filesystem::path& target,
                FloorJournal journal = FloorJournal::Rollback);

} // namespace ktv::bench

// Shared by the fuzz targets: a scratch file per process for targets whose code under test
// reads files, and the walk over every table of an opened database.
#pragma once

#include "data/Dao.h"
#include "platform/core/Error.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace ktv::fuzz {

// A file in the scratch folder (TMPDIR or /tmp) holding exactly the given bytes.
inline const std::string& scratchFile(const uint8_t* data, size_t size, const char* suffix)
{
    static std::string path;
    if (path.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        path = std::string(tmp && *tmp ? tmp : "/tmp") + "/ktvfuzz." + std::to_string(::getpid()) + suffix;
    }
    for (const char* extra : {"-wal", "-shm", "-journal"})
        std::remove((path + extra).c_str());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size)
        std::abort();
    std::fclose(f);
    return path;
}

// Reads every table the way the conversion does: names, a snapshot walk with every field,
// MoveLast's count, and a keyed lookup. Refusals come as ktv::Error and end the walk; any
// other outcome (a crash, a leak, a hang, an exception of another type) is a finding.
inline void walkDatabase(const std::string& path, const std::string& connect)
{
    try {
        auto db = dao::Database::OpenDatabase(path, false, true, connect);
        for (const std::string& table : db->TableNames()) {
            try {
                auto rs = db->OpenRecordset(table, dao::RecordsetType::Snapshot);
                const auto fields = rs->FieldNames();
                int rows = 0;
                for (; !rs->Eof() && rows < 2000; rs->MoveNext(), ++rows)
                    for (const auto& f : fields)
                        (void)rs->Field(f).toText();
                if (rs->RecordCount() > 0) {
                    rs->MoveLast();
                    (void)rs->RecordCount();
                }
                rs->Close();
                if (!fields.empty()) {
                    auto look = db->OpenRecordset("SELECT * FROM " + table + " WHERE " + fields[0] + " = 'A'",
                                                  dao::RecordsetType::Snapshot);
                    (void)look->RecordCount();
                }
            } catch (const Error&) {
            }
        }
        db->Close();
    } catch (const Error&) {
    }
}

} // namespace ktv::fuzz

// Internal to the Jet module: one libmdb handle with our settings applied (text to UTF-8
// from the file's code page, booleans as digits). Included by the module's .cpp files only,
// so no libmdb type reaches the rest of the program.
#pragma once

#include "data/jet/JetHeader.h"

#include <mdbtools.h>

#include <memory>
#include <string>
#include <vector>

namespace ktv::jet {

// libmdb writes its warnings ("page 17 from map doesn't match ...") straight to the standard
// error stream. While one of these lives they go to a buffer instead, so that they reach the
// operator inside the program's own error, not as raw lines before it.
class LibraryMessages {
public:
    LibraryMessages();
    ~LibraryMessages(); // the standard error stream is back
    LibraryMessages(const LibraryMessages&) = delete;
    LibraryMessages& operator=(const LibraryMessages&) = delete;
    std::string firstLine(); // the first message so far ("" when none)

private:
    int m_saved = -1;
    int m_buffer = -1;
};

class MdbSession {
public:
    // Opens the file read-only and reads its catalog; throws ktv::Error 3343 on failure.
    static std::unique_ptr<MdbSession> Open(const std::string& path, const JetHeader& header);
    ~MdbSession();
    MdbSession(const MdbSession&) = delete;
    MdbSession& operator=(const MdbSession&) = delete;

    MdbHandle* handle() const { return m_mdb; }
    const std::string& path() const { return m_path; }
    // The iconv name of the file's text encoding: UCS-2LE (Jet 4) or its code page (Jet 3).
    const std::string& charset() const { return m_charset; }
    // False when libmdb returned a table definition it could not fully read.
    static bool TableIsReadable(const MdbTableDef* table);
    std::vector<std::string> userTables() const;
    // The catalog entry of a user table by name (case-insensitive), or null.
    MdbCatalogEntry* findTable(const std::string& name) const;

private:
    MdbSession(MdbHandle* mdb, std::string path) : m_mdb(mdb), m_path(std::move(path)) {}
    MdbHandle* m_mdb;
    std::string m_path;
    std::string m_charset;
    // Our own catalog of tables (see readCatalog); entries point at m_mdb.
    mutable std::vector<MdbCatalogEntry> m_tables;
};

} // namespace ktv::jet

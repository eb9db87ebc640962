// libmdb handle setup: the character set is chosen here, from the file's header, so that
// neither libmdb's defaults nor its environment variables (MDB_ICONV, MDB_JET3_CHARSET)
// decide how the text of a source file reads.
#include "data/jet/MdbSession.h"

#include "data/jet/JetErrors.h"
#include "data/jet/PageWindowStream.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace ktv::jet {

namespace {

// libmdb's converters still turn the catalog's names into UTF-8; the table reader decodes
// values itself, from the same charset.
std::string applyCharset(MdbHandle* mdb, const JetHeader& header)
{
    mdb_iconv_close(mdb);
    const std::string fileCharset = header.version() == JetHeader::Version::Jet3
                                        ? JetHeader::CharsetOfCodePage(header.codePage())
                                        : std::string("UCS-2LE");
    mdb->iconv_in = iconv_open("UTF-8", fileCharset.c_str());
    mdb->iconv_out = iconv_open(fileCharset.c_str(), "UTF-8");
    return fileCharset;
}

// libmdb returns a table whose usage map it could not read, then dereferences the missing
// map on the first fetch.
bool hasUsageMap(const MdbTableDef* table) { return table->usage_map && table->map_sz > 0; }

// The catalog is read here rather than by libmdb's mdb_read_catalog: that one also parses
// every object's property blob, and on a damaged blob it reads past its buffers. Only the
// columns a table lookup needs are bound. The catalog's rows are counted against its
// definition, so that a cut file is damaged rather than merely missing some tables.
bool readCatalog(MdbHandle* mdb, std::vector<MdbCatalogEntry>& tables)
{
    MdbCatalogEntry self{};
    self.mdb = mdb;
    self.object_type = MDB_TABLE;
    self.table_pg = 2;
    std::strncpy(self.object_name, "MSysObjects", MDB_MAX_OBJ_NAME);
    MdbTableDef* table = mdb_read_table(&self);
    if (!table)
        return false;
    std::unique_ptr<MdbTableDef, void (*)(MdbTableDef*)> guard(table, mdb_free_tabledef);
    if (!hasUsageMap(table) || !mdb_read_columns(table))
        return false;
    std::vector<char> id(mdb->bind_size + 16), name(mdb->bind_size + 16), type(mdb->bind_size + 16),
        flags(mdb->bind_size + 16);
    char colId[] = "Id", colName[] = "Name", colType[] = "Type", colFlags[] = "Flags";
    if (mdb_bind_column_by_name(table, colId, id.data(), nullptr) < 0 ||
        mdb_bind_column_by_name(table, colName, name.data(), nullptr) < 0 ||
        mdb_bind_column_by_name(table, colType, type.data(), nullptr) < 0 ||
        mdb_bind_column_by_name(table, colFlags, flags.data(), nullptr) < 0)
        return false;
    mdb_rewind_table(table);
    unsigned rows = 0;
    while (rows <= table->num_rows && mdb_fetch_row(table)) {
        ++rows;
        // Integers print the same in every locale; the top byte of Id holds flags.
        const long objectType = std::strtol(type.data(), nullptr, 10) & 0x7F;
        if (objectType != MDB_TABLE)
            continue;
        MdbCatalogEntry entry{};
        entry.mdb = mdb;
        entry.object_type = MDB_TABLE;
        entry.table_pg = static_cast<unsigned long>(std::strtol(id.data(), nullptr, 10)) & 0x00FFFFFF;
        entry.flags = static_cast<int>(std::strtol(flags.data(), nullptr, 10));
        std::strncpy(entry.object_name, name.data(), MDB_MAX_OBJ_NAME);
        tables.push_back(entry);
    }
    return rows == table->num_rows;
}

} // namespace

bool MdbSession::TableIsReadable(const MdbTableDef* table) { return hasUsageMap(table); }

namespace {

bool isUserTable(const MdbCatalogEntry& entry)
{
    // System tables carry one of these flag bits (MSys* and hidden system objects).
    return entry.object_type == MDB_TABLE && (static_cast<unsigned>(entry.flags) & 0x80000002u) == 0;
}

} // namespace

LibraryMessages::LibraryMessages()
{
    std::fflush(stderr);
    m_buffer = ::memfd_create("ktv-libmdb", MFD_CLOEXEC);
    m_saved = m_buffer >= 0 ? ::dup(STDERR_FILENO) : -1;
    if (m_saved < 0 || ::dup2(m_buffer, STDERR_FILENO) < 0) {
        if (m_saved >= 0)
            ::close(m_saved);
        if (m_buffer >= 0)
            ::close(m_buffer);
        m_saved = m_buffer = -1; // no buffer: the messages stay where they were
    }
}

LibraryMessages::~LibraryMessages()
{
    if (m_saved < 0)
        return;
    std::fflush(stderr);
    ::dup2(m_saved, STDERR_FILENO);
    ::close(m_saved);
    ::close(m_buffer);
}

std::string LibraryMessages::firstLine()
{
    if (m_buffer < 0)
        return {};
    std::fflush(stderr);
    char text[512];
    const ssize_t n = ::pread(m_buffer, text, sizeof text, 0);
    std::string line(text, n > 0 ? static_cast<std::size_t>(n) : 0);
    line = line.substr(0, line.find('\n'));
    return line;
}

std::unique_ptr<MdbSession> MdbSession::Open(const std::string& path, const JetHeader& header)
{
    LibraryMessages messages;
    auto refuse = [&] {
        Error e = unrecognizedFormat(path);
        const std::string said = messages.firstLine();
        return said.empty() ? e : Error(e.number(), e.description() + " (" + said + ")");
    };
    MdbHandle* mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
    if (!mdb)
        throw refuse();
    std::unique_ptr<MdbSession> session(new MdbSession(mdb, path));
    // libmdb's own stream costs several system calls a page; the same bytes come from the
    // windows of this one (see PageWindowStream.h).
    if (FILE* windows = OpenPageWindowStream(path, static_cast<std::size_t>(mdb->fmt->pg_size))) {
        std::fclose(mdb->f->stream);
        mdb->f->stream = windows;
    }
    if (IS_JET3(mdb) != (header.version() == JetHeader::Version::Jet3))
        throw refuse();
    session->m_charset = applyCharset(mdb, header);
    mdb_set_boolean_fmt_numbers(mdb);
    if (!readCatalog(mdb, session->m_tables))
        throw refuse();
    return session;
}

MdbSession::~MdbSession() { mdb_close(m_mdb); }

std::vector<std::string> MdbSession::userTables() const
{
    std::vector<std::string> names;
    for (const auto& entry : m_tables)
        if (isUserTable(entry))
            names.emplace_back(entry.object_name);
    return names;
}

MdbCatalogEntry* MdbSession::findTable(const std::string& name) const
{
    for (auto& entry : m_tables)
        if (isUserTable(entry) && strcasecmp(entry.object_name, name.c_str()) == 0)
            return &entry;
    return nullptr;
}

} // namespace ktv::jet

// libmdb handle setup: the character set is chosen here, from the file's header, so that
// neither libmdb's defaults nor its environment variables (MDB_ICONV, MDB_JET3_CHARSET)
// decide how the text of a source file reads.
#include "data/jet/MdbSession.h"

#include "data/jet/JetErrors.h"
#include "data/jet/JetFile.h"
#include "platform/core/Error.h"

#include <cstring>
#include <strings.h>

namespace ktv::jet {

namespace {

void applyCharset(MdbHandle* mdb, const JetHeader& header)
{
    mdb_iconv_close(mdb);
    const std::string fileCharset =
        header.version() == JetHeader::Version::Jet3 ? JetHeader::CharsetOfCodePage(header.codePage()) : std::string("UCS-2LE");
    mdb->iconv_in = iconv_open("UTF-8", fileCharset.c_str());
    mdb->iconv_out = iconv_open(fileCharset.c_str(), "UTF-8");
}

// libmdb reads the catalog (MSysObjects, table definition on page 2) until its pages run
// out and keeps whatever it found; a cut file would then just lack some tables. Reading the
// catalog table once more and counting its rows against its definition tells the two apart.
bool catalogIsWhole(MdbHandle* mdb)
{
    MdbCatalogEntry entry {};
    entry.mdb = mdb;
    entry.object_type = MDB_TABLE;
    entry.table_pg = 2;
    std::strncpy(entry.object_name, "MSysObjects", MDB_MAX_OBJ_NAME);
    MdbTableDef* table = mdb_read_table(&entry);
    if (!table)
        return false;
    bool whole = false;
    if (mdb_read_columns(table)) {
        mdb_rewind_table(table);
        unsigned rows = 0;
        while (rows <= table->num_rows && mdb_fetch_row(table))
            ++rows;
        whole = rows == table->num_rows;
    }
    mdb_free_tabledef(table);
    return whole;
}

} // namespace

std::unique_ptr<MdbSession> MdbSession::Open(const std::string& path, const JetHeader& header)
{
    MdbHandle* mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
    if (!mdb)
        throw unrecognizedFormat(path);
    std::unique_ptr<MdbSession> session(new MdbSession(mdb, path));
    if (IS_JET3(mdb) != (header.version() == JetHeader::Version::Jet3))
        throw unrecognizedFormat(path);
    applyCharset(mdb, header);
    mdb_set_boolean_fmt_numbers(mdb);
    if (!mdb_read_catalog(mdb, MDB_TABLE) || !catalogIsWhole(mdb))
        throw unrecognizedFormat(path);
    return session;
}

MdbSession::~MdbSession()
{
    mdb_close(m_mdb);
}

std::vector<std::string> MdbSession::userTables() const
{
    std::vector<std::string> names;
    for (unsigned i = 0; i < m_mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(m_mdb->catalog, i));
        if (mdb_is_user_table(entry))
            names.emplace_back(entry->object_name);
    }
    return names;
}

MdbCatalogEntry* MdbSession::findTable(const std::string& name) const
{
    for (unsigned i = 0; i < m_mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(m_mdb->catalog, i));
        if (mdb_is_user_table(entry) && strcasecmp(entry->object_name, name.c_str()) == 0)
            return entry;
    }
    return nullptr;
}

} // namespace ktv::jet

// Database opens a file with the first backend that recognises it (the built-in SQLite
// backend last) after the checks every backend shares: the file exists and is a file.
#include "data/Database.h"

#include "data/DaoErrors.h"
#include "data/SqliteDatabase.h"
#include "data/jet/JetDatabaseBackend.h"
#include "data/pg/PgDatabase.h"
#include "platform/core/TextCodec.h"

#include <filesystem>
#include <fstream>

namespace ktv::dao {

namespace {

std::vector<BackendEntry>& backends()
{
    // Jet source files (.ktd/.pvd written by the rest of the product family) are read by the
    // Jet backend; it recognises them by their signature.
    static std::vector<BackendEntry> list{jet::jetBackendEntry()};
    return list;
}

std::string readHeader(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        raise(err::CannotOpen, path);
    std::string header(100, '\0');
    in.read(header.data(), static_cast<std::streamsize>(header.size()));
    header.resize(static_cast<std::size_t>(in.gcount()));
    return header;
}

// Before SQLite sees the file: its magic, a sane page size and a size of whole pages
// (SQLite itself would take a zero-length file as an empty database).
void checkSqliteHeader(const std::string& path, const std::string& header)
{
    static const std::string magic("SQLite format 3\0", 16);
    if (header.size() < 100 || header.compare(0, 16, magic) != 0)
        raise(err::UnrecognizedFormat, path);
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(header[i]));
    };
    unsigned pageSize = byte(16) << 8 | byte(17);
    if (pageSize == 1)
        pageSize = 65536;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        raise(err::UnrecognizedFormat, path);
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size % pageSize != 0)
        raise(err::UnrecognizedFormat, path);
}

} // namespace

void registerBackend(BackendEntry entry) { backends().push_back(std::move(entry)); }

std::string passwordOfConnect(const std::string& connect)
{
    // ";pwd=xxxx" — parts separated by ';', keys compared without regard to case.
    std::size_t start = 0;
    while (start <= connect.size()) {
        std::size_t end = connect.find(';', start);
        if (end == std::string::npos)
            end = connect.size();
        const std::string part = connect.substr(start, end - start);
        const auto eq = part.find('=');
        if (eq != std::string::npos) {
            if (text::equalsNoCase(text::trimBlanks(part.substr(0, eq)), "pwd"))
                return part.substr(eq + 1);
        }
        start = end + 1;
    }
    return {};
}

std::unique_ptr<Database> Database::OpenDatabase(const std::string& path, bool exclusive, bool readOnly,
                                                 const std::string& connect)
{
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (path.empty() || !std::filesystem::exists(status))
        raise(err::FileNotFound, path);
    if (!std::filesystem::is_regular_file(status))
        raise(err::UnrecognizedFormat, path);
    const std::string header = readHeader(path);
    OpenRequest request{path, exclusive, readOnly, passwordOfConnect(connect)};
    for (const auto& b : backends())
        if (b.recognizes && b.recognizes(header))
            return std::make_unique<Database>(b.open(request));
    checkSqliteHeader(path, header);
    return std::make_unique<Database>(SqliteDatabase::open(request));
}

std::unique_ptr<Database> Database::OpenServer(const std::string& conninfo, const std::string& schema,
                                               const std::string& templateSchema, bool create, bool readOnly)
{
    auto backend = pg::PgDatabase::open(conninfo, schema, templateSchema, create, readOnly);
    if (!backend)
        return nullptr;
    return std::make_unique<Database>(std::move(backend));
}

Database::Database(std::unique_ptr<DatabaseBackend> backend) : m_backend(std::move(backend)) {}

Database::~Database()
{
    try {
        Close();
    } catch (...) {
        // a destructor cannot report; callers who care call Close themselves
    }
}

DatabaseBackend& Database::live() const
{
    if (!m_backend)
        raise(err::ObjectClosed);
    return *m_backend;
}

std::unique_ptr<Recordset> Database::OpenRecordset(const std::string& tableOrStatement, RecordsetType type)
{
    DatabaseBackend& b = live();
    const ParsedStatement st = parseStatement(tableOrStatement);
    return std::make_unique<Recordset>(b.openRecordset(st, type));
}

std::unique_ptr<Recordset> Database::OpenRecordset(const ParsedStatement& statement, RecordsetType type)
{
    return std::make_unique<Recordset>(live().openRecordset(statement, type));
}

std::unique_ptr<CardWriter> Database::OpenCardWriter(const CardLayout& layout)
{
    return std::make_unique<CardWriter>(live().openCardWriter(layout));
}

void Database::Close()
{
    if (!m_backend)
        return;
    auto backend = std::move(m_backend);
    backend->close();
}

std::size_t Database::CardGroupSize() const { return live().cardGroupSize(); }

bool Database::IsReadOnly() const { return live().isReadOnly(); }

std::vector<std::string> Database::TableNames() const { return live().tableNames(); }

} // namespace ktv::dao

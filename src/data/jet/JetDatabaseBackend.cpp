// Jet source files behind the engine's Database surface.
#include "data/jet/JetDatabaseBackend.h"

#include "data/jet/JetErrors.h"
#include "data/jet/JetFile.h"
#include "data/jet/JetRecordsetBackend.h"
#include "data/jet/JetTableReader.h"

namespace ktv::jet {

JetDatabaseBackend::JetDatabaseBackend(std::unique_ptr<JetFile> file) : m_file(std::move(file)) {}
JetDatabaseBackend::~JetDatabaseBackend() = default;

const JetFile& JetDatabaseBackend::file() const
{
    if (!m_file)
        throw objectClosed();
    return *m_file;
}

std::unique_ptr<dao::RecordsetBackend>
JetDatabaseBackend::openRecordset(const dao::ParsedStatement& statement, dao::RecordsetType type)
{
    auto reader = file().OpenTable(statement.table);
    if (type == dao::RecordsetType::Dynaset)
        throw readOnly();
    return std::make_unique<JetRecordsetBackend>(std::move(reader), statement.conditions);
}

void JetDatabaseBackend::close() { m_file.reset(); }

std::vector<std::string> JetDatabaseBackend::tableNames() const { return file().TableNames(); }

dao::BackendEntry jetBackendEntry()
{
    dao::BackendEntry entry;
    entry.name = "Jet";
    entry.recognizes = [](std::string_view header) { return JetFile::LooksLikeJet(header); };
    entry.open = [](const dao::OpenRequest& request) -> std::unique_ptr<dao::DatabaseBackend> {
        return std::make_unique<JetDatabaseBackend>(JetFile::Open(request.path, request.password));
    };
    return entry;
}

} // namespace ktv::jet

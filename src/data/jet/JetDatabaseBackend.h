// The engine's backend for Jet source files: Database::OpenDatabase hands a file whose first
// bytes carry the Jet signature to it. Jet sources are read-only: snapshots only.
#pragma once

#include "data/Backend.h"

namespace ktv::jet {

class JetFile;

class JetDatabaseBackend final : public dao::DatabaseBackend {
public:
    explicit JetDatabaseBackend(std::unique_ptr<JetFile> file);
    ~JetDatabaseBackend() override;

    // A dynaset (the updatable kind) fails with 3027; a missing table with 3078.
    std::unique_ptr<dao::RecordsetBackend> openRecordset(const dao::ParsedStatement& statement,
                                                         dao::RecordsetType type) override;
    void close() override;
    bool isReadOnly() const override { return true; }
    std::vector<std::string> tableNames() const override;

private:
    const JetFile& file() const;
    std::unique_ptr<JetFile> m_file;
};

// The entry to register with dao::registerBackend: recognises the Jet signature and opens
// the file with the connect string's password.
dao::BackendEntry jetBackendEntry();

} // namespace ktv::jet

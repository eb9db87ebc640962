// Opening a Jet source: the header is checked here (signature, version, size, password)
// before libmdb sees the file, because libmdb reads protected files without asking.
#include "data/jet/JetFile.h"

#include "data/jet/JetErrors.h"
#include "data/jet/JetHeader.h"
#include "data/jet/JetTableReader.h"
#include "data/jet/MdbSession.h"

#include <filesystem>
#include <fstream>

namespace ktv::jet {

std::unique_ptr<JetTableReader> makeTableReader(std::unique_ptr<MdbSession> session, MdbCatalogEntry* entry);

struct JetFile::Impl {
    std::string path;
    JetHeader header;
    std::unique_ptr<MdbSession> session;
};

bool JetFile::LooksLikeJet(std::string_view firstBytes) { return JetHeader::LooksLikeJet(firstBytes); }

std::unique_ptr<JetFile> JetFile::Open(const std::string& path, const std::string& password)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw fileNotFound(path);
    const auto size = std::filesystem::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in)
        throw cannotOpen(path);
    std::string first(JetHeader::kSize, '\0');
    in.read(first.data(), static_cast<std::streamsize>(first.size()));
    first.resize(static_cast<std::size_t>(in.gcount()));

    const auto header = JetHeader::Parse(first);
    if (!header)
        throw unrecognizedFormat(path);
    // A file cut short mid-page, or too short to hold the header, catalog and one table,
    // is damaged; libmdb would read garbage past its end.
    const std::uintmax_t pageSize = header->version() == JetHeader::Version::Jet3 ? 2048 : 4096;
    if (size % pageSize != 0 || size < 3 * pageSize)
        throw unrecognizedFormat(path);
    if (header->isEncryptedAce())
        throw encryptedAce(path);
    // The structure is checked before the password, so that a damaged file, whose header
    // holds garbage where the password would be, reads as damaged and not as protected.
    auto impl = std::make_unique<Impl>();
    impl->path = path;
    impl->header = *header;
    impl->session = MdbSession::Open(path, *header);
    if (header->hasPassword() && header->password() != password)
        throw notValidPassword();
    return std::unique_ptr<JetFile>(new JetFile(std::move(impl)));
}

JetFile::JetFile(std::unique_ptr<Impl> impl) : m(std::move(impl)) {}
JetFile::~JetFile() = default;

const std::string& JetFile::Path() const { return m->path; }

std::vector<std::string> JetFile::TableNames() const { return m->session->userTables(); }

std::unique_ptr<JetTableReader> JetFile::OpenTable(const std::string& name) const
{
    if (!m->session->findTable(name))
        throw tableNotFound(name);
    // Each reader gets its own handle: libmdb keeps the current page in the handle, so two
    // readers sharing one would read each other's pages.
    auto session = MdbSession::Open(m->path, m->header);
    MdbCatalogEntry* entry = session->findTable(name);
    if (!entry)
        throw corrupt(m->path, "the catalog changed while open");
    return makeTableReader(std::move(session), entry);
}

} // namespace ktv::jet

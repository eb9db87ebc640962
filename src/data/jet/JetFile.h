// A Jet 3 / Jet 4 database file opened read-only as a conversion source: checks the
// database password, lists the tables and opens a table for a forward read. libmdb stays
// behind this header.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ktv::jet {

class JetTableReader;

class JetFile {
public:
    // True when the first bytes of a file carry the Jet signature.
    static bool LooksLikeJet(std::string_view firstBytes);

    // Opens the file read-only. password: the text after ";pwd=" (empty when none).
    // Throws ktv::Error: 3024 file missing, 3051 file unreadable, 3031 wrong or missing
    // password on a protected file, 3343 unreadable or damaged header/catalog.
    static std::unique_ptr<JetFile> Open(const std::string& path, const std::string& password);

    ~JetFile();
    JetFile(const JetFile&) = delete;
    JetFile& operator=(const JetFile&) = delete;

    const std::string& Path() const;
    // The user tables, in catalog order.
    std::vector<std::string> TableNames() const;
    // Opens a user table by name (case-insensitive); 3078 when there is none.
    std::unique_ptr<JetTableReader> OpenTable(const std::string& name) const;

    struct Impl;

private:
    explicit JetFile(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m;
};

} // namespace ktv::jet

// Writes a new Jet 3 (2 KB pages, code-page text) or Jet 4 (4 KB pages, UCS-2 text) file:
// header, catalog, table definitions, data pages, usage maps and long-value pages. No
// indexes: the file is for reading, as a source the product family's programs would write.
#pragma once

#include "app/Value.h"
#include "data/jet/JetHeader.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ktv::jet {

// The column types the writer stores, numbered as the format numbers them.
enum class JetType : std::uint8_t {
    Boolean = 0x01,
    Byte = 0x02,
    Integer = 0x03,
    Long = 0x04,
    Currency = 0x05,
    Single = 0x06,
    Double = 0x07,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0A,
    Ole = 0x0B,
    Memo = 0x0C,
    Guid = 0x0F,
    Decimal = 0x10, // Jet 4 only
};

struct JetColumnSpec {
    std::string name;
    JetType type = JetType::Text;
    int size = 50;     // characters of a Text column, bytes of a Binary one (at most 255)
    int precision = 0; // digits of a Decimal (1 to 28)
    int scale = 0;     // digits of a Decimal after the point
};

struct JetTableSpec {
    std::string name;
    std::vector<JetColumnSpec> columns;
};

struct JetWriteOptions {
    JetHeader::Version version = JetHeader::Version::Jet4;
    std::uint16_t codePage = 1254; // the Jet 3 text code page (a Jet 4 file names it too)
    std::string password;          // empty: not protected
    double created = 38353.5;      // creation date (days since 1899-12-30); masks the Jet 4 password
};

// Values by column type: Text and Memo take text; Byte, Integer and Long whole numbers;
// Single and Double numbers; Currency a Currency; DateTime a Date; Boolean a bool; Binary
// and Ole text of bytes; Guid text "{8-4-4-4-12 hex digits}"; Decimal text "-123.4500"
// with at most the column's digits. Null everywhere (a Boolean Null is false). Anything
// else fails with the engine's error and writes nothing of the row.
class JetWriter {
public:
    // Creates (replaces) the file. Throws ktv::Error 75 when it cannot be written.
    JetWriter(const std::string& path, const JetWriteOptions& options,
              const std::vector<JetTableSpec>& tables);
    ~JetWriter();
    JetWriter(const JetWriter&) = delete;
    JetWriter& operator=(const JetWriter&) = delete;

    // Appends a row to table number `table` (its place in the constructor's list); one
    // value per column, in the order of the table's columns.
    void AddRow(std::size_t table, const std::vector<Value>& values);
    // Writes the catalog, definitions and maps and closes the file. Without it the file is
    // not a readable database.
    void Finish();

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

} // namespace ktv::jet

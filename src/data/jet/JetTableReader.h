// A forward reader over one table of a Jet file: column names, the row count the table
// declares, and each row's values as the engine's values. A table that yields fewer or
// more rows than it declares, or a value that does not decode, is an engine error.
#pragma once

#include "app/Value.h"

#include <memory>
#include <string>
#include <vector>

namespace ktv::jet {

class JetTableReader {
public:
    ~JetTableReader();
    JetTableReader(const JetTableReader&) = delete;
    JetTableReader& operator=(const JetTableReader&) = delete;

    const std::string& TableName() const;
    const std::vector<std::string>& ColumnNames() const;
    // Index of a column by name (case-insensitive), -1 when there is none.
    int ColumnIndex(const std::string& name) const;
    // The row count stored in the table definition.
    long RowCountDeclared() const;

    // Moves to the next row and decodes all its values; false after the last one. Throws
    // ktv::Error 3049 when the table turns out shorter or longer than declared or a value
    // does not decode.
    bool Next();
    // Moves to the next row without decoding its values: each is decoded when it is read
    // (Get, ReadInto), and a value that does not decode throws then. For walks that count
    // rows or read only some columns.
    bool Advance();
    // Goes back before the first row.
    void Rewind();
    // A value of the current row (Null before the first Next() or after the end).
    const Value& Get(int column) const;
    // The same into a value the caller holds: text is decoded into the text it already
    // holds, without a string made for the row in between.
    void ReadInto(int column, Value& into) const;
    // The rows read since the last Rewind().
    long RowsRead() const;

    struct Impl;
    explicit JetTableReader(std::unique_ptr<Impl> impl);

private:
    std::unique_ptr<Impl> m;
};

} // namespace ktv::jet

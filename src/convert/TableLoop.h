// The table loop shared by the three transfers: open the source table as a snapshot, set
// the progress bar to its count, and for every record yield to the window, advance the
// bar and run the table's record step.
#pragma once

#include "convert/CardTarget.h"
#include "convert/ConversionHost.h"
#include "convert/ConversionReport.h"
#include "data/Dao.h"

#include <functional>
#include <string>

namespace ktv {

struct TransferContext {
    dao::Database& source;
    CardTarget& target;
    ConversionHost& host;
};

// The current record of a source table. Its columns are named once for the whole table and
// read by their place in that list; each is found in the table the first time a record
// reads it, so a column that is never read need not be there.
class SourceRecord {
public:
    SourceRecord(const dao::Recordset& rs, const std::vector<std::string>& columns);
    Value value(std::size_t column) const;
    // The text of the column through N_T.
    std::string text(std::size_t column) const;
    // The same into a card's value: the text it held is overwritten, not made anew. Text in
    // other bytes is left for the card's text column to make plain UTF-8, in the same way,
    // except a NUL, dropped before the trim; CutTextInto makes it plain before it cuts.
    void textInto(std::size_t column, Value& into) const;

    // A copy of the current record's columns (Null for a column the table lacks), and the
    // record read from such a copy instead of the recordset (null: from the recordset again).
    // Reading a column the table lacks fails from the copy as from the recordset.
    void copyInto(std::vector<Value>& row) const;
    void readFrom(const std::vector<Value>* row) { m_row = row; }

private:
    int index(std::size_t column) const;
    const dao::Recordset& m_rs;
    const std::vector<std::string>& m_names;
    mutable std::vector<int> m_indexes; // -1 until found, -2 when the table lacks it
    const std::vector<Value>* m_row = nullptr;
};

using RecordStep = std::function<void(const SourceRecord& record, TableReport& report)>;

TableReport RunTableLoop(TransferContext& ctx, const std::string& sourceTable,
                         const std::vector<std::string>& columns, const RecordStep& step);

// The first n characters of a cleaned value; counts the cut in the report.
std::string Cut(std::string text, std::size_t n, TableReport& report);

// N_T of a value as text; a text value is trimmed where it stands and handed on. Text that
// is not plain UTF-8 is first read as Windows-1254 and loses its NULs, as a text column
// stores it.
std::string CleanText(Value value);
// The same, leaving the text in the value.
void CleanTextInPlace(Value& value);
// A card's value from the first n characters of a cleaned source column; counts the cut.
void CutTextInto(Value& into, const SourceRecord& record, std::size_t column, std::size_t n,
                 TableReport& report);

// The key of a card: the first 10 characters of the cleaned code.
std::string CardKey(const SourceRecord& record, std::size_t column, TableReport& report);

} // namespace ktv

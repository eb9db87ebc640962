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

using RecordStep = std::function<void(const dao::Recordset& record, TableReport& report)>;

TableReport RunTableLoop(TransferContext& ctx, const std::string& sourceTable, const RecordStep& step);

// The first n characters of a cleaned value; counts the cut in the report.
std::string Cut(std::string text, std::size_t n, TableReport& report);

// The text of a source column through N_T.
std::string FieldText(const dao::Recordset& record, const std::string& column);
// N_T of a value as text; a text value is trimmed where it stands and handed on.
std::string CleanText(Value value);

// The key of a card: the first 10 characters of the cleaned code.
std::string CardKey(const dao::Recordset& record, const std::string& column, TableReport& report);

} // namespace ktv

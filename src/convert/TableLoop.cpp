#include "convert/TableLoop.h"

#include "app/Tools.h"
#include "platform/core/TextCodec.h"

#include <climits>

namespace ktv {

TableReport RunTableLoop(TransferContext& ctx, const std::string& sourceTable, const RecordStep& step)
{
    TableReport report;
    report.table = sourceTable;
    auto rs = ctx.source.OpenRecordset(sourceTable, dao::RecordsetType::Snapshot);
    if (rs->RecordCount() == 0) {
        rs->Close();
        return report;
    }
    rs->MoveLast();
    const long count = rs->RecordCount();
    ctx.host.setProgressMax(count > INT_MAX ? INT_MAX : static_cast<int>(count));
    ctx.host.setProgressMin(0);
    ctx.host.setProgressValue(0);
    rs->MoveFirst();
    while (!rs->Eof()) {
        ctx.host.processEvents();
        ctx.host.setProgressValue(ctx.host.progressValue() + 1);
        ++report.read;
        step(*rs, report);
        rs->MoveNext();
    }
    rs->Close();
    return report;
}

std::string Cut(const std::string& text, std::size_t n, TableReport& report)
{
    if (text::charCount(text) <= n)
        return text;
    ++report.cut;
    return text::leftChars(text, n);
}

std::string FieldText(const dao::Recordset& record, const std::string& column)
{
    return N_Ts(record.Field(column));
}

std::string CardKey(const dao::Recordset& record, const std::string& column, TableReport& report)
{
    return Cut(FieldText(record, column), 10, report);
}

} // namespace ktv

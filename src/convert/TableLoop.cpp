#include "convert/TableLoop.h"

#include "app/Tools.h"

#include <climits>
#include <string_view>

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

std::string Cut(std::string text, std::size_t n, TableReport& report)
{
    // One pass: stop at the first byte of the character after the n-th.
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && seen++ == n) {
            ++report.cut;
            text.resize(i);
            break;
        }
    return text;
}

std::string CleanText(const Value& value)
{
    // The per-record path: a text value is trimmed as a view and copied once; every other
    // kind goes the general way.
    if (!value.isText())
        return N_Ts(value);
    std::string_view s = std::get<std::string>(value.storage());
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return std::string(s);
}

std::string FieldText(const dao::Recordset& record, const std::string& column)
{
    return CleanText(record.Field(column));
}

std::string CardKey(const dao::Recordset& record, const std::string& column, TableReport& report)
{
    return Cut(FieldText(record, column), 10, report);
}

} // namespace ktv

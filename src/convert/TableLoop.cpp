#include "convert/TableLoop.h"

#include "app/Tools.h"
#include "platform/core/TextCodec.h"

#include <climits>

namespace ktv {

namespace {

// Source text that is not plain UTF-8 (Windows-1254 bytes or NULs another tool stored in a
// file of the program's own format) becomes what a text column makes of it, before it is
// trimmed, cut and looked up: the key looked up is then the key stored, and a cut counts
// characters.
void plainUtf8InPlace(std::string& text)
{
    if (text::plainUtf8Chars(text) != text::kNotPlainUtf8)
        return;
    text = text::toUtf8(text);
    std::erase(text, '\0');
}

// Spaces off both ends, where the text stands (as N_T trims).
void trimSpacesInPlace(std::string& text)
{
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ')
        --end;
    text.resize(end);
    std::size_t begin = 0;
    while (begin < end && text[begin] == ' ')
        ++begin;
    text.erase(0, begin);
}

} // namespace

SourceRecord::SourceRecord(const dao::Recordset& rs, const std::vector<std::string>& columns)
    : m_rs(rs), m_names(columns), m_indexes(columns.size(), -1)
{}

int SourceRecord::index(std::size_t column) const
{
    int& index = m_indexes[column];
    if (index < 0)
        index = m_rs.FieldIndex(m_names[column]);
    return index;
}

Value SourceRecord::value(std::size_t column) const { return m_rs.Field(index(column)); }

std::string SourceRecord::text(std::size_t column) const { return CleanText(value(column)); }

void SourceRecord::textInto(std::size_t column, Value& into) const
{
    m_rs.ReadField(index(column), into);
    std::string* text = into.textIf();
    if (!text) {
        into = Value(N_Ts(into));
        return;
    }
    // The text column a card's value goes to makes the same plain UTF-8 of it when it is
    // stored, so only what changes the trim is done here; a value cut to its column is made
    // plain before it is cut (CutTextInto). Text read for a card is so not scanned twice.
    // Other bytes are never blanks, and NULs inside stay inside: only a NUL left at an end
    // of the trimmed text, once dropped, can bring blanks to the end.
    trimSpacesInPlace(*text);
    if (!text->empty() && (text->front() == '\0' || text->back() == '\0')) {
        plainUtf8InPlace(*text);
        trimSpacesInPlace(*text);
    }
}

TableReport RunTableLoop(TransferContext& ctx, const std::string& sourceTable,
                         const std::vector<std::string>& columns, const RecordStep& step)
{
    TableReport report;
    report.table = sourceTable;
    ctx.host.setProgressTable(sourceTable);
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
    const SourceRecord record(*rs, columns);
    while (!rs->Eof()) {
        ctx.host.processEvents();
        ctx.host.setProgressValue(ctx.host.progressValue() + 1);
        ++report.read;
        step(record, report);
        rs->MoveNext();
    }
    rs->Close();
    return report;
}

namespace {

// Where the first n characters of text end; text.size() when it has no more.
std::size_t cutPoint(const std::string& text, std::size_t n)
{
    // Every character takes at least one byte: text no longer than n bytes is never cut.
    if (text.size() <= n)
        return text.size();
    // One pass: stop at the first byte of the character after the n-th.
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && seen++ == n)
            return i;
    return text.size();
}

// Cuts text after its first n characters; counts the cut.
void cutInPlace(std::string& text, std::size_t n, TableReport& report)
{
    const std::size_t at = cutPoint(text, n);
    if (at < text.size()) {
        ++report.cut;
        text.resize(at);
    }
}

} // namespace

std::string Cut(std::string text, std::size_t n, TableReport& report)
{
    cutInPlace(text, n, report);
    return text;
}

std::string CleanText(Value value)
{
    // A text value is trimmed where it stands and handed on without a copy.
    CleanTextInPlace(value);
    return std::move(*value.textIf());
}

void CleanTextInPlace(Value& value)
{
    if (std::string* text = value.textIf()) {
        plainUtf8InPlace(*text);
        trimSpacesInPlace(*text);
    } else
        value = Value(N_Ts(value));
}

void CutTextInto(Value& into, const SourceRecord& record, std::size_t column, std::size_t n,
                 TableReport& report)
{
    record.textInto(column, into);
    std::string& text = *into.textIf(); // cleaned: always text
    // Text of no more than n bytes has no more than n characters, whatever its bytes.
    if (text.size() > n)
        plainUtf8InPlace(text);
    cutInPlace(text, n, report);
}

std::string CardKey(const SourceRecord& record, std::size_t column, TableReport& report)
{
    return Cut(record.text(column), 10, report);
}

} // namespace ktv

#include "convert/TableLoop.h"

#include "app/Tools.h"
#include "platform/core/TextCodec.h"

#include <array>
#include <climits>
#include <exception>

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
        index = m_rs.FieldIndex(m_names[column]); // fails again for a column the table lacks
    return index;
}

void SourceRecord::copyInto(std::vector<Value>& row) const
{
    row.resize(m_names.size());
    for (std::size_t column = 0; column < m_names.size(); ++column) {
        int& idx = m_indexes[column];
        if (idx == -1) {
            try {
                idx = m_rs.FieldIndex(m_names[column]);
            } catch (const Error&) {
                idx = -2;
            }
        }
        if (idx == -2)
            row[column] = Value();
        else
            m_rs.ReadField(idx, row[column]);
    }
}

Value SourceRecord::value(std::size_t column) const
{
    if (m_row) {
        index(column);
        return (*m_row)[column];
    }
    return m_rs.Field(index(column));
}

std::string SourceRecord::text(std::size_t column) const { return CleanText(value(column)); }

void SourceRecord::textInto(std::size_t column, Value& into) const
{
    if (m_row) {
        index(column);
        into = (*m_row)[column];
    } else
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

namespace {

// The loop for a target that looks many keys up at once: the records of a group are read
// (yielding and advancing the bar for each) and their steps run once to learn their keys
// only; the target looks those up together; then the steps run again on the copies, in
// source order, each answered from that lookup, and the target stores the group's new cards.
// The next group is read and its lookup sent before a group is judged, so a server looks up
// and stores while the records are read and judged here.
void RunGroups(TransferContext& ctx, dao::Recordset& rs, SourceRecord& record, std::size_t group,
               const RecordStep& step, TableReport& report)
{
    struct Group {
        std::vector<std::vector<Value>> rows;
        std::size_t n = 0;
        std::exception_ptr failure; // of the record after the n read, on its key
    };
    std::array<Group, 2> groups;
    for (auto& g : groups)
        g.rows.resize(group);
    // Reads up to a group of records, runs their steps for their keys, and looks them up. A
    // record that fails on its key ends the group: it fails where it would one by one, once
    // the records before it are judged and stored.
    const auto read = [&](Group& g) {
        g.n = 0;
        g.failure = nullptr;
        TableReport keysOnly;
        ctx.target.collectKeys(true);
        try {
            for (; g.n < group && !rs.Eof(); ++g.n) {
                ctx.host.processEvents();
                ctx.host.setProgressValue(ctx.host.progressValue() + 1);
                record.copyInto(g.rows[g.n]);
                record.readFrom(&g.rows[g.n]);
                step(record, keysOnly);
                record.readFrom(nullptr);
                rs.MoveNext();
            }
        } catch (const Error&) {
            record.readFrom(nullptr);
            g.failure = std::current_exception();
        }
        ctx.target.collectKeys(false);
        ctx.target.lookUpCollected();
    };
    // Runs the steps of a group's records, answered from its lookup; the cards added before a
    // step that fails are stored all the same, as one by one.
    const auto judge = [&](Group& g) {
        try {
            for (std::size_t i = 0; i < g.n; ++i) {
                ++report.read;
                record.readFrom(&g.rows[i]);
                step(record, report);
            }
        } catch (...) {
            record.readFrom(nullptr);
            ctx.target.storeGroup();
            throw;
        }
        record.readFrom(nullptr);
        ctx.target.storeGroup();
        if (g.failure) {
            ++report.read;
            std::rethrow_exception(g.failure);
        }
    };
    std::size_t at = 0;
    read(groups[at]);
    for (;;) {
        Group& now = groups[at];
        const bool more = !now.failure && !rs.Eof();
        if (more)
            read(groups[1 - at]);
        judge(now);
        if (!more)
            break;
        at = 1 - at;
    }
}

} // namespace

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
    SourceRecord record(*rs, columns);
    if (const std::size_t group = ctx.target.groupSize(); group > 0) {
        RunGroups(ctx, *rs, record, group, step, report);
        rs->Close();
        return report;
    }
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

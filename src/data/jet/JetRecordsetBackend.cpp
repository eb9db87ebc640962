// Snapshot semantics over the forward Jet reader (see JetRecordsetBackend.h).
#include "data/jet/JetRecordsetBackend.h"

#include "data/jet/JetErrors.h"
#include "data/jet/JetTableReader.h"
#include "platform/core/TextCodec.h"

#include <charconv>

namespace ktv::jet {

namespace {

// The program's conditions compare a column with a quoted literal. Text compares without
// regard to ASCII case, as the original engine compared text; numbers compare as numbers.
bool sameAs(const Value& v, const std::string& literal)
{
    if (v.isNull())
        return false;
    if (const auto* s = std::get_if<std::string>(&v.storage()))
        return text::equalsNoCase(*s, literal);
    double wanted = 0;
    const auto [end, ec] = std::from_chars(literal.data(), literal.data() + literal.size(), wanted);
    if (ec != std::errc() || end != literal.data() + literal.size())
        return false;
    const auto& st = v.storage();
    if (const auto* b = std::get_if<bool>(&st))
        return (*b ? -1.0 : 0.0) == wanted;
    if (const auto* i = std::get_if<std::int64_t>(&st))
        return static_cast<double>(*i) == wanted;
    if (const auto* d = std::get_if<double>(&st))
        return *d == wanted;
    if (const auto* c = std::get_if<Currency>(&st))
        return static_cast<double>(c->scaled) / 10000.0 == wanted;
    if (const auto* dt = std::get_if<Date>(&st))
        return dt->days == wanted;
    return false;
}

} // namespace

JetRecordsetBackend::JetRecordsetBackend(std::unique_ptr<JetTableReader> reader,
                                         std::vector<dao::Condition> conditions)
    : m_reader(std::move(reader))
{
    for (auto& c : conditions) {
        const int index = m_reader->ColumnIndex(c.column);
        if (index < 0)
            throw unknownColumnInCondition();
        m_conditions.emplace_back(index, std::move(c.literal));
    }
    advance();
}

JetRecordsetBackend::~JetRecordsetBackend() = default;

JetTableReader& JetRecordsetBackend::reader() const
{
    if (!m_reader)
        throw objectClosed();
    return *m_reader;
}

bool JetRecordsetBackend::matches() const
{
    for (const auto& [index, literal] : m_conditions)
        if (!sameAs(m_reader->Get(index), literal))
            return false;
    return true;
}

void JetRecordsetBackend::advance()
{
    // Values are decoded when read: a record step reads only the columns it needs.
    while (reader().Advance())
        if (matches()) {
            ++m_visited;
            return;
        }
    m_eof = true;
}

long JetRecordsetBackend::recordCount() const
{
    reader();
    return m_visited;
}

void JetRecordsetBackend::moveFirst()
{
    reader().Rewind();
    m_last.reset();
    m_visited = 0;
    m_eof = false;
    advance();
    if (m_eof)
        throw noCurrentRecord();
}

void JetRecordsetBackend::moveLast()
{
    if (m_eof && !m_last && m_visited == 0)
        throw noCurrentRecord();
    std::vector<Value> last;
    if (!m_last && !m_eof)
        for (std::size_t c = 0; c < reader().ColumnNames().size(); ++c)
            last.push_back(m_reader->Get(static_cast<int>(c)));
    else if (m_last)
        last = *m_last;
    else {
        // Past the end already: walk again from the start.
        moveFirst();
        moveLast();
        return;
    }
    // Only the last row's values are read: the rows before it are counted (without
    // conditions) or looked at in the condition's columns, not decoded.
    reader();
    while (m_reader->Advance()) {
        if (!matches())
            continue;
        ++m_visited;
        if (m_conditions.empty() && m_reader->RowsRead() < m_reader->RowCountDeclared())
            continue; // not the last row (the definition's row count says which one is)
        for (std::size_t c = 0; c < last.size(); ++c)
            last[c] = m_reader->Get(static_cast<int>(c));
    }
    m_last = std::move(last);
    m_eof = false;
}

void JetRecordsetBackend::moveNext()
{
    if (m_eof)
        throw noCurrentRecord();
    if (m_last) {
        m_last.reset();
        m_eof = true;
        return;
    }
    advance();
}

bool JetRecordsetBackend::eof() const
{
    reader();
    return m_eof;
}

int JetRecordsetBackend::fieldIndex(const std::string& name) const
{
    const int index = reader().ColumnIndex(name);
    if (index < 0)
        throw itemNotFound();
    return index;
}

Value JetRecordsetBackend::field(const std::string& name) const { return field(fieldIndex(name)); }

const Value& JetRecordsetBackend::current(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= reader().ColumnNames().size())
        throw itemNotFound();
    if (m_eof)
        throw noCurrentRecord();
    return m_last ? (*m_last)[static_cast<std::size_t>(index)] : m_reader->Get(index);
}

Value JetRecordsetBackend::field(int index) const { return current(index); }

void JetRecordsetBackend::readField(int index, Value& into) const
{
    if (m_last || m_eof || index < 0 || static_cast<std::size_t>(index) >= reader().ColumnNames().size()) {
        into = current(index); // a copy into text the caller holds keeps that text's storage
        return;
    }
    m_reader->ReadInto(index, into);
}

std::vector<std::string> JetRecordsetBackend::fieldNames() const { return reader().ColumnNames(); }

void JetRecordsetBackend::setField(const std::string&, const Value&) { throw readOnly(); }

void JetRecordsetBackend::addNew() { throw readOnly(); }

void JetRecordsetBackend::edit() { throw readOnly(); }

void JetRecordsetBackend::update() { throw readOnly(); }

void JetRecordsetBackend::close() { m_reader.reset(); }

} // namespace ktv::jet

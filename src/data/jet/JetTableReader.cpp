// Reads one Jet table row by row through libmdb, which finds the rows and where each value
// lies in them. The values are decoded here, from the row's bytes: numbers, dates, currency
// and booleans never from libmdb's printf text (the user's locale cannot change them and
// doubles stay exact), and text straight into UTF-8. libmdb binds no column: a value is
// decoded when it is read, so a column nobody reads costs nothing.
#include "data/jet/JetTableReader.h"

#include "data/jet/JetErrors.h"
#include "data/jet/JetStoredText.h"
#include "data/jet/MdbSession.h"

#include <charconv>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>
#include <strings.h>
#include <unordered_set>

namespace ktv::jet {

namespace {

// Text this close to libmdb's bind size was refused when libmdb bound it (it may have been
// cut); the same text is refused now, so that a file reads the same as before.
constexpr int kCutMargin = 4;

int fixedSize(int type)
{
    switch (type) {
    case MDB_BYTE: return 1;
    case MDB_INT: return 2;
    case MDB_LONGINT:
    case MDB_FLOAT:
    case MDB_COMPLEX: return 4;
    case MDB_MONEY:
    case MDB_DOUBLE:
    case MDB_DATETIME: return 8;
    case MDB_REPID: return 16;
    case MDB_NUMERIC: return 17;
    default: return 0;
    }
}

template <typename T> T readLe(const unsigned char* p)
{
    T v;
    std::memcpy(&v, p, sizeof v); // the files are little-endian, and so is every host we build for
    return v;
}

std::string hexText(const char* data, std::size_t len)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(len * 2);
    for (std::size_t i = 0; i < len; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 0x0F]);
    }
    return out;
}

// A Single as the double of its shortest decimal text (1.1, not 1.100000023841858): the
// number that was typed, which reads back as the same Single.
double singleValue(float f)
{
    char buf[64];
    const auto printed = std::to_chars(buf, buf + sizeof buf, f);
    double d = f;
    std::from_chars(buf, printed.ptr, d);
    return d;
}

// A GUID as {8-4-4-4-12}: the first three groups are stored little-endian.
std::string guidText(const unsigned char* p)
{
    static constexpr int kOrder[] = {3, 2, 1, 0, -1, 5, 4, -1, 7, 6, -1, 8, 9, -1, 10, 11, 12, 13, 14, 15};
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out = "{";
    for (const int i : kOrder) {
        if (i < 0) {
            out += '-';
            continue;
        }
        out += digits[p[i] >> 4];
        out += digits[p[i] & 0x0F];
    }
    return out + "}";
}

// A Decimal: a sign byte and a 96-bit whole number in four little-endian 32-bit words, most
// significant first, in units of 10^-scale. Up to 15 significant digits it is a number (a
// double holds every such decimal exactly enough to print it back); with more it is its exact
// text, so that no digit is lost.
std::optional<Value> decimalValue(const unsigned char* p, int scale)
{
    __extension__ typedef unsigned __int128 Digits; // 96 bits and more
    Digits n = 0;
    for (int word = 0; word < 4; ++word)
        n = n << 32 | readLe<std::uint32_t>(p + 1 + 4 * word);
    std::string digits;
    for (; n > 0; n /= 10)
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(n % 10)));
    if (scale < 0 || scale > 28 || digits.size() > 38)
        return std::nullopt;
    const std::size_t significant = digits.size();
    if (digits.size() <= static_cast<std::size_t>(scale))
        digits.insert(0, static_cast<std::size_t>(scale) + 1 - digits.size(), '0');
    std::string text = (p[0] & 0x80) && significant > 0 ? "-" : "";
    text += digits.substr(0, digits.size() - static_cast<std::size_t>(scale));
    if (scale > 0)
        text += "." + digits.substr(digits.size() - static_cast<std::size_t>(scale));
    if (significant > 15)
        return Value(text);
    double d = 0;
    std::from_chars(text.data(), text.data() + text.size(), d);
    return Value(d);
}

} // namespace

struct JetTableReader::Impl {
    std::unique_ptr<MdbSession> session;
    MdbTableDef* table = nullptr;
    std::string name;
    std::vector<std::string> columnNames;
    std::vector<MdbColumn*> columns;
    // The current row's values, each decoded when first read.
    std::vector<Value> row;
    std::vector<unsigned char> decoded;
    bool onRow = false;
    long rowsRead = 0;
    bool atEnd = false;
    std::unique_ptr<StoredText> text; // the file's text to UTF-8

    ~Impl()
    {
        if (table)
            mdb_free_tabledef(table);
    }

    [[noreturn]] void fail(const std::string& detail) const
    {
        throw corrupt(session->path(), "table '" + name + "': " + detail);
    }

    // The page last read for a long value: memos are mostly stored in the order of their rows,
    // so consecutive memos share a page that is then read from the file once.
    std::vector<unsigned char> lvalPage;
    long lvalPageNumber = -1;
    std::uintmax_t fileSize = 0;         // no long value is longer
    std::unordered_set<int> visitedRows; // of the long value being read
    std::string lvalChain;               // a long value chained over several pages

    // A row of a long-value page, as libmdb's mdb_find_pg_row finds it, from the cached page.
    bool findLongValueRow(int pgRow, void** buf, int* off, std::size_t* len)
    {
        MdbHandle* mdb = session->handle();
        const long page = static_cast<unsigned>(pgRow) >> 8;
        const int row = pgRow & 0xFF;
        const int size = mdb->fmt->pg_size;
        if (page != lvalPageNumber) {
            lvalPageNumber = -1;
            if (mdb_read_alt_pg(mdb, static_cast<unsigned long>(page)) != size)
                return false;
            lvalPage.assign(mdb->alt_pg_buf, mdb->alt_pg_buf + size);
            lvalPageNumber = page;
        }
        const int rco = mdb->fmt->row_count_offset;
        if (rco + 4 + row * 2 > size)
            return false;
        const int start = readLe<std::uint16_t>(lvalPage.data() + rco + 2 + row * 2) & 0x1FFF;
        const int end = row == 0 ? size : readLe<std::uint16_t>(lvalPage.data() + rco + row * 2) & 0x1FFF;
        if (start >= size || start > end || end > size)
            return false;
        *buf = lvalPage.data();
        *off = start;
        *len = static_cast<std::size_t>(end - start);
        return true;
    }

    // A memo's or OLE object's stored bytes, inside the row or on its long-value pages: a
    // view of the row, of the cached long-value page or of the chain put together, valid
    // until the next long value is read. Read here rather than by libmdb, which cuts a memo
    // at its bind size and turns unreadable pages into empty or partial text without saying
    // so. A crafted file can declare any length and chain a page to itself: the length is
    // bounded by the file's size and a page row met twice ends the chain as damage, so
    // memory stays within the file's size.
    std::string_view readLongValue(MdbColumn* col)
    {
        MdbHandle* mdb = session->handle();
        const int start = col->cur_value_start;
        const int size = col->cur_value_len;
        if (size < MDB_MEMO_OVERHEAD || start < 0 || start + size > mdb->fmt->pg_size)
            fail("column '" + std::string(col->name) + "' has a damaged memo reference");
        const auto header = readLe<std::uint32_t>(mdb->pg_buf + start);
        const std::size_t length = header & 0x3FFFFFFF;
        if (header & 0x80000000) {
            const auto inRow = static_cast<std::size_t>(size - MDB_MEMO_OVERHEAD);
            if (length > inRow)
                fail("a memo of column '" + std::string(col->name) + "' is shorter than it declares");
            return {reinterpret_cast<const char*>(mdb->pg_buf) + start + MDB_MEMO_OVERHEAD, inRow};
        }
        if (length > fileSize)
            fail("a memo of column '" + std::string(col->name) + "' declares " + std::to_string(length) +
                 " bytes, more than the file holds");
        int pgRow = readLe<std::int32_t>(mdb->pg_buf + start + 4);
        const bool singlePage = header & 0x40000000;
        std::string_view whole;
        std::string& bytes = lvalChain;
        bytes.clear();
        visitedRows.clear();
        for (int pages = 0; pgRow >> 8 && bytes.size() < length; ++pages) {
            if (!visitedRows.insert(pgRow).second)
                fail("the page chain of a memo of column '" + std::string(col->name) + "' runs in a loop");
            void* buf = nullptr;
            int off = 0;
            std::size_t len = 0;
            if (pages > 0x40000 || !findLongValueRow(pgRow, &buf, &off, &len) || off < 0 ||
                static_cast<std::size_t>(off) + len > static_cast<std::size_t>(mdb->fmt->pg_size) || len < 4)
                fail("a memo of column '" + std::string(col->name) + "' lies on a page that cannot be read");
            const char* row = static_cast<const char*>(buf) + off;
            if (singlePage) {
                whole = {row, len};
                break;
            }
            bytes.append(row + 4, len - 4);
            pgRow = readLe<std::int32_t>(reinterpret_cast<const unsigned char*>(row));
        }
        if (!singlePage)
            whole = bytes;
        if (whole.size() < length)
            fail("a memo of column '" + std::string(col->name) + "' is shorter than it declares");
        return whole.substr(0, length);
    }

    long RowCountDeclared() const { return static_cast<long>(table->num_rows); }
    bool fetch();

    // The text a value holds, to be overwritten rather than made anew.
    static std::string& textOf(Value& value)
    {
        if (std::string* s = value.textIf())
            return *s;
        value = Value(std::string());
        return *value.textIf();
    }

    // The value of column i of the current row, decoded from the row's bytes into value.
    void decodeInto(std::size_t i, Value& value)
    {
        MdbColumn* col = columns[i];
        const int type = col->col_type;
        if (type == MDB_BOOL) {
            // libmdb keeps a boolean in the row's null mask and says "null" for false.
            value = Value(col->cur_value_len == 0);
            return;
        }
        if (col->cur_value_len == 0) {
            value = Value();
            return;
        }
        MdbHandle* mdb = session->handle();
        const int start = col->cur_value_start;
        if (const int size = fixedSize(type)) {
            if (col->cur_value_len != size || start < 0 || start + size > mdb->fmt->pg_size)
                fail("column '" + std::string(col->name) + "' has a value of the wrong size");
            const unsigned char* p = mdb->pg_buf + start;
            switch (type) {
            case MDB_BYTE: value = Value(static_cast<std::int64_t>(p[0])); return;
            case MDB_INT: value = Value(static_cast<std::int64_t>(readLe<std::int16_t>(p))); return;
            case MDB_LONGINT:
            case MDB_COMPLEX: value = Value(static_cast<std::int64_t>(readLe<std::int32_t>(p))); return;
            case MDB_FLOAT: value = Value(singleValue(readLe<float>(p))); return;
            case MDB_DOUBLE: value = Value(readLe<double>(p)); return;
            case MDB_MONEY: value = Value(Currency{readLe<std::int64_t>(p)}); return;
            case MDB_DATETIME: value = Value(Date{readLe<double>(p)}); return;
            case MDB_REPID: value = Value(guidText(p)); return;
            case MDB_NUMERIC:
                // libmdb keeps the column's scale (the digits after the point) in col_prec.
                if (auto v = decimalValue(p, col->col_prec)) {
                    value = std::move(*v);
                    return;
                }
                fail("column '" + std::string(col->name) + "' holds an unreadable decimal");
            default: break;
            }
        }
        if (type == MDB_MEMO || type == MDB_OLE) {
            const std::string_view stored = readLongValue(col);
            if (stored.empty()) {
                value = Value();
                return;
            }
            if (type == MDB_OLE) // the object's bytes as hex digits, like a Binary value
                value = Value(hexText(stored.data(), stored.size()));
            else
                text->decode(reinterpret_cast<const unsigned char*>(stored.data()), stored.size(),
                             StoredText::Kind::Memo, textOf(value));
            return;
        }
        if (type != MDB_TEXT && type != MDB_BINARY) {
            value = Value(); // unknown types are not values a conversion can carry
            return;
        }
        if (start < 0 || start + col->cur_value_len > mdb->fmt->pg_size)
            fail("column '" + std::string(col->name) + "' has a value of the wrong size");
        const unsigned char* p = mdb->pg_buf + start;
        const auto size = static_cast<std::size_t>(col->cur_value_len);
        if (type == MDB_BINARY) {
            value = Value(hexText(reinterpret_cast<const char*>(p), size));
            return;
        }
        std::string& utf8 = textOf(value);
        text->decode(p, size, StoredText::Kind::Text, utf8);
        if (utf8.empty()) {
            value = Value();
            return;
        }
        if (utf8.size() + kCutMargin >= mdb->bind_size)
            fail("column '" + std::string(col->name) + "' holds text longer than can be read");
    }

    const Value& get(std::size_t i)
    {
        if (!decoded[i]) {
            decodeInto(i, row[i]);
            decoded[i] = 1;
        }
        return row[i];
    }
};

std::unique_ptr<JetTableReader> makeTableReader(std::unique_ptr<MdbSession> session, MdbCatalogEntry* entry)
{
    auto impl = std::make_unique<JetTableReader::Impl>();
    const std::string path = session->path();
    impl->session = std::move(session);
    impl->name = entry->object_name;
    impl->table = mdb_read_table(entry);
    if (!impl->table || !MdbSession::TableIsReadable(impl->table))
        throw corrupt(path, "table '" + impl->name + "' has no readable definition");
    if (!mdb_read_columns(impl->table) || impl->table->num_cols != impl->table->columns->len ||
        impl->table->num_cols == 0 || impl->table->num_cols > MDB_MAX_COLS)
        throw corrupt(path, "table '" + impl->name + "' has unreadable columns");
    mdb_rewind_table(impl->table);

    MdbHandle* mdb = impl->session->handle();
    std::error_code sizeError;
    impl->fileSize = std::filesystem::file_size(path, sizeError);
    impl->text = std::make_unique<StoredText>(IS_JET3(mdb), impl->session->charset());
    const std::size_t n = impl->table->num_cols;
    impl->columns.resize(n);
    impl->columnNames.resize(n);
    impl->row.assign(n, Value());
    impl->decoded.assign(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(impl->table->columns, i));
        impl->columns[i] = col;
        impl->columnNames[i] = col->name;
    }
    return std::make_unique<JetTableReader>(std::move(impl));
}

JetTableReader::JetTableReader(std::unique_ptr<Impl> impl) : m(std::move(impl)) {}
JetTableReader::~JetTableReader() = default;

const std::string& JetTableReader::TableName() const { return m->name; }

const std::vector<std::string>& JetTableReader::ColumnNames() const { return m->columnNames; }

int JetTableReader::ColumnIndex(const std::string& name) const
{
    for (std::size_t i = 0; i < m->columnNames.size(); ++i)
        if (strcasecmp(m->columnNames[i].c_str(), name.c_str()) == 0)
            return static_cast<int>(i);
    return -1;
}

long JetTableReader::RowCountDeclared() const { return static_cast<long>(m->table->num_rows); }

bool JetTableReader::Next()
{
    if (!Advance())
        return false;
    for (std::size_t i = 0; i < m->row.size(); ++i)
        m->get(i);
    return true;
}

bool JetTableReader::Advance() { return m->fetch(); }

bool JetTableReader::Impl::fetch()
{
    JetTableReader::Impl* m = this;
    m->onRow = false;
    std::fill(m->decoded.begin(), m->decoded.end(), 0);
    if (m->atEnd)
        return false;
    if (!mdb_fetch_row(m->table)) {
        m->atEnd = true;
        if (m->rowsRead != RowCountDeclared())
            m->fail("declares " + std::to_string(RowCountDeclared()) + " rows but only " +
                    std::to_string(m->rowsRead) + " could be read");
        return false;
    }
    if (++m->rowsRead > RowCountDeclared())
        m->fail("holds more rows than the " + std::to_string(RowCountDeclared()) + " it declares");
    m->onRow = true;
    return true;
}

void JetTableReader::Rewind()
{
    mdb_rewind_table(m->table);
    m->rowsRead = 0;
    m->atEnd = false;
    m->onRow = false;
}

const Value& JetTableReader::Get(int column) const
{
    static const Value none;
    const auto i = static_cast<std::size_t>(column);
    if (i >= m->row.size())
        throw std::out_of_range("JetTableReader::Get");
    return m->onRow ? m->get(i) : none;
}

void JetTableReader::ReadInto(int column, Value& into) const
{
    const auto i = static_cast<std::size_t>(column);
    if (i >= m->row.size())
        throw std::out_of_range("JetTableReader::ReadInto");
    if (!m->onRow)
        into = Value();
    else if (m->decoded[i])
        into = m->row[i];
    else
        m->decodeInto(i, into);
}

long JetTableReader::RowsRead() const { return m->rowsRead; }

} // namespace ktv::jet

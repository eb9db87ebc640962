// The Jet writer: pages are built in memory one at a time and written at their place in the
// file, so a table of a million rows never sits in memory. Layout of a written file:
//   page 0        header (JetHeader::Build)
//   page 1        the usage maps of every table, as rows
//   page 2        the catalog's table definition (MSysObjects), then one definition per table
//   pages 3+n ... data pages and long-value (LVAL) pages in the order they fill, the
//                 catalog's data, and the map pages of tables too large for an inline map.
#include "data/jetwriter/JetWriter.h"

#include "data/DaoErrors.h"
#include "data/jet/JetText.h"
#include "platform/core/Error.h"
#include "platform/core/TextCodec.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <unistd.h>

namespace ktv::jet {

namespace {

// Row numbers on a page are one byte in a row pointer (page << 8 | row).
constexpr int kMaxRowsPerPage = 255;
// Long values up to this many stored bytes stay inside their row.
constexpr std::size_t kInlineLongValue = 64;
// A Jet 4 memo is stored compressed only up to this many characters.
constexpr std::size_t kMaxCompressedMemoChars = 1024;
// Usage-map bitmap bytes of an inline (type 0) map, as the engine sizes them.
constexpr std::size_t kInlineMapBytes3 = 128;
constexpr std::size_t kInlineMapBytes4 = 64;

struct Layout {
    bool jet3;
    int pageSize;
    int rowCountAt; // the data page header ends with the row count, then the row offsets
    int countSize;  // bytes of a row's column count

    int rowsStart() const { return rowCountAt + 2; }
    std::size_t maxRow() const { return static_cast<std::size_t>(pageSize - rowsStart() - 2); }
};

void put16(std::string& b, std::size_t at, unsigned v)
{
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string le32(std::uint32_t v)
{
    std::string b(4, '\0');
    put32(b, 0, v);
    return b;
}

[[noreturn]] void fail(int number, const std::string& detail)
{
    throw Error(number, dao::describe(number) + " (" + detail + ")");
}

// A page of rows (data, long values, maps): rows fill from the end towards the header.
class RowPage {
public:
    RowPage(const Layout& layout, std::string_view owner) : m_layout(layout), m_bytes(layout.pageSize, '\0')
    {
        m_bytes[0] = 0x01;
        m_bytes[1] = 0x01;
        std::memcpy(m_bytes.data() + 4, owner.data(), 4);
        m_end = static_cast<std::size_t>(layout.pageSize);
    }

    bool fits(std::size_t n) const
    {
        const std::size_t table = static_cast<std::size_t>(m_layout.rowsStart()) + 2 * (m_rows + 1);
        return m_rows < kMaxRowsPerPage && m_end >= table + n;
    }

    int add(std::string_view row)
    {
        m_end -= row.size();
        std::memcpy(m_bytes.data() + m_end, row.data(), row.size());
        put16(m_bytes, static_cast<std::size_t>(m_layout.rowsStart()) + 2 * m_rows,
              static_cast<unsigned>(m_end));
        put16(m_bytes, static_cast<std::size_t>(m_layout.rowCountAt), static_cast<unsigned>(++m_rows));
        return m_rows - 1;
    }

    bool empty() const { return m_rows == 0; }

    const std::string& finish()
    {
        const std::size_t used = static_cast<std::size_t>(m_layout.rowsStart()) + 2 * m_rows;
        put16(m_bytes, 2, static_cast<unsigned>(m_end - used));
        return m_bytes;
    }

private:
    const Layout& m_layout;
    std::string m_bytes;
    std::size_t m_end;
    int m_rows = 0;
};

int fixedSize(JetType type)
{
    switch (type) {
    case JetType::Boolean: return 0; // the value is the row's null-mask bit
    case JetType::Byte: return 1;
    case JetType::Integer: return 2;
    case JetType::Long:
    case JetType::Single: return 4;
    case JetType::Currency:
    case JetType::Double:
    case JetType::DateTime: return 8;
    case JetType::Guid: return 16;
    case JetType::Decimal: return 17;
    default: return -1;
    }
}

bool isLong(JetType type) { return type == JetType::Memo || type == JetType::Ole; }
bool isText(JetType type) { return type == JetType::Text || type == JetType::Memo; }

struct Column {
    JetColumnSpec spec;
    int number = 0;
    bool fixed = false;
    int fixedOffset = 0;
    int varIndex = 0;
};

struct Table {
    JetTableSpec spec;
    bool system = false;
    std::vector<Column> columns;
    int varCount = 0;
    int fixedBytes = 0;
    std::uint32_t definitionPage = 0;
    std::vector<std::uint32_t> dataPages;
    std::optional<RowPage> page;
    std::uint32_t pageNumber = 0;
    std::uint32_t rows = 0;
    std::uint32_t usageMap = 0; // row pointers on the map page
    std::uint32_t freeMap = 0;
};

// One column's stored bytes; a long value may still need its LVAL rows.
struct Field {
    bool present = false;
    std::string bytes;
    bool pendingLong = false;
    std::string longBytes;
};

std::int64_t wholeNumber(const Value& v, const Column& c, std::int64_t lo, std::int64_t hi)
{
    const auto* i = std::get_if<std::int64_t>(&v.storage());
    if (!i)
        fail(dao::err::TypeMismatch, "column '" + c.spec.name + "' takes a whole number");
    if (*i < lo || *i > hi)
        fail(dao::err::Overflow, "column '" + c.spec.name + "'");
    return *i;
}

double floatingNumber(const Value& v, const Column& c)
{
    if (const auto* d = std::get_if<double>(&v.storage()))
        return *d;
    if (const auto* i = std::get_if<std::int64_t>(&v.storage()))
        return static_cast<double>(*i);
    fail(dao::err::TypeMismatch, "column '" + c.spec.name + "' takes a number");
}

const std::string& textOf(const Value& v, const Column& c)
{
    const auto* s = std::get_if<std::string>(&v.storage());
    if (!s)
        fail(dao::err::TypeMismatch, "column '" + c.spec.name + "' takes text");
    return *s;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "{8-4-4-4-12}" as stored: the first three groups little-endian, the rest as written.
std::string guidBytes(const std::string& text, const Column& c)
{
    static constexpr int kGroups[] = {8, 4, 4, 4, 12};
    std::string digits;
    bool ok = text.size() == 38 && text.front() == '{' && text.back() == '}';
    std::size_t at = 1;
    for (int g = 0; ok && g < 5; ++g) {
        for (int k = 0; ok && k < kGroups[g]; ++k, ++at) {
            ok = hexDigit(text[at]) >= 0;
            digits.push_back(text[at]);
        }
        if (ok && g < 4)
            ok = text[at++] == '-';
    }
    if (!ok)
        fail(dao::err::TypeMismatch, "column '" + c.spec.name + "' takes a GUID {8-4-4-4-12}");
    std::string raw(16, '\0');
    for (int i = 0; i < 16; ++i)
        raw[i] = static_cast<char>(hexDigit(digits[2 * i]) * 16 + hexDigit(digits[2 * i + 1]));
    std::string out = raw;
    for (int i = 0; i < 4; ++i)
        out[i] = raw[3 - i];
    out[4] = raw[5];
    out[5] = raw[4];
    out[6] = raw[7];
    out[7] = raw[6];
    return out;
}

// A decimal's text as sign byte and a 128-bit whole number of 10^-scale units, stored as
// four little-endian 32-bit words, most significant word first.
std::string decimalBytes(const Value& v, const Column& c)
{
    std::string text;
    if (const auto* i = std::get_if<std::int64_t>(&v.storage()))
        text = std::to_string(*i);
    else
        text = textOf(v, c);
    const std::string where = "column '" + c.spec.name + "'";
    bool negative = false;
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        negative = text[at++] == '-';
    std::string whole, fraction;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        whole += text[at];
    if (at < text.size() && text[at] == '.')
        for (++at; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
            fraction += text[at];
    if (at != text.size() || (whole.empty() && fraction.empty()))
        fail(dao::err::TypeMismatch, where + " takes a decimal number");
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    if (static_cast<int>(fraction.size()) > c.spec.scale)
        fail(dao::err::Overflow, where + ": more decimals than the column's scale");
    fraction.resize(static_cast<std::size_t>(c.spec.scale), '0');
    std::string digits = whole + fraction;
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (static_cast<int>(digits.size()) > c.spec.precision)
        fail(dao::err::Overflow, where + ": more digits than the column's precision");
    __extension__ typedef unsigned __int128 Digits; // 28 decimal digits need more than 64 bits
    Digits n = 0;
    for (const char d : digits)
        n = n * 10 + static_cast<unsigned>(d - '0');
    std::string out(17, '\0');
    out[0] = negative && n != 0 ? static_cast<char>(0x80) : '\0';
    for (int word = 0; word < 4; ++word) {
        const auto w = static_cast<std::uint32_t>(n >> (32 * word));
        put32(out, 1 + 4 * static_cast<std::size_t>(3 - word), w);
    }
    return out;
}

} // namespace

struct JetWriter::Impl {
    std::string path;
    JetWriteOptions options;
    Layout layout{};
    std::unique_ptr<TextEncoder> encoder; // to the file's character set
    int fd = -1;
    std::vector<Table> tables; // [0] is the catalog
    std::uint32_t nextPage = 0;
    std::optional<RowPage> lval;
    std::uint32_t lvalPage = 0;
    bool finished = false;

    ~Impl()
    {
        if (fd >= 0)
            ::close(fd);
    }

    [[noreturn]] void ioFailure(int err) const
    {
        throw Error(runtime_err::FileAccess, "Dosya yazılamıyor: " + path + ": " + std::strerror(err));
    }

    void writePage(std::uint32_t page, const std::string& bytes)
    {
        const off_t at = static_cast<off_t>(page) * layout.pageSize;
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n =
                ::pwrite(fd, bytes.data() + done, bytes.size() - done, at + static_cast<off_t>(done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                ioFailure(n < 0 ? errno : ENOSPC);
            done += static_cast<std::size_t>(n);
        }
    }

    std::uint32_t allocate()
    {
        // The format's size limit: 1 GB in Jet 3, 2 GB in Jet 4, both 2^19 pages.
        if (nextPage >= (1u << 19))
            fail(dao::err::FieldTooSmall, "the file would be larger than the format allows");
        return nextPage++;
    }

    std::string nameBytes(const std::string& name)
    {
        const auto bytes = encoder->encode(name);
        if (!bytes || bytes->empty() || bytes->size() > (layout.jet3 ? 64u : 128u))
            fail(dao::err::TypeMismatch, "the name '" + name + "' cannot be stored");
        return *bytes;
    }

    void addTable(const JetTableSpec& spec, bool system)
    {
        Table t;
        t.spec = spec;
        t.system = system;
        if (spec.columns.empty() || spec.columns.size() > 255)
            fail(dao::err::TypeMismatch, "table '" + spec.name + "' needs 1 to 255 columns");
        nameBytes(spec.name);
        for (const auto& cs : spec.columns) {
            Column c;
            c.spec = cs;
            c.number = static_cast<int>(t.columns.size());
            nameBytes(cs.name);
            const int size = fixedSize(cs.type);
            if ((cs.type == JetType::Text || cs.type == JetType::Binary) && (cs.size < 1 || cs.size > 255))
                fail(dao::err::TypeMismatch, "column '" + cs.name + "' needs a size of 1 to 255");
            if (cs.type == JetType::Decimal && (layout.jet3 || cs.precision < 1 || cs.precision > 28 ||
                                                cs.scale < 0 || cs.scale > cs.precision))
                fail(dao::err::TypeMismatch,
                     "column '" + cs.name + "': a Decimal needs Jet 4, precision 1 to 28");
            if (size >= 0) {
                c.fixed = true;
                c.fixedOffset = t.fixedBytes;
                t.fixedBytes += size;
            } else {
                c.varIndex = t.varCount++;
            }
            t.columns.push_back(c);
        }
        tables.push_back(std::move(t));
    }

    Field encode(const Column& c, const Value& v)
    {
        Field f;
        if (c.spec.type == JetType::Boolean) {
            const auto* b = std::get_if<bool>(&v.storage());
            if (!v.isNull() && !b)
                fail(dao::err::TypeMismatch, "column '" + c.spec.name + "' takes Yes/No");
            f.present = b && *b;
            return f;
        }
        if (v.isNull())
            return f;
        f.present = true;
        std::string& b = f.bytes;
        switch (c.spec.type) {
        case JetType::Byte: b.assign(1, static_cast<char>(wholeNumber(v, c, 0, 255))); break;
        case JetType::Integer:
            b.assign(2, '\0');
            put16(b, 0, static_cast<unsigned>(wholeNumber(v, c, -32768, 32767)));
            break;
        case JetType::Long:
            b = le32(static_cast<std::uint32_t>(wholeNumber(v, c, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max())));
            break;
        case JetType::Currency: {
            const auto* cur = std::get_if<Currency>(&v.storage());
            if (!cur)
                fail(dao::err::TypeMismatch, "column '" + c.spec.name + "' takes a currency amount");
            b.assign(8, '\0');
            std::memcpy(b.data(), &cur->scaled, 8);
            break;
        }
        case JetType::Single: {
            const auto s = static_cast<float>(floatingNumber(v, c));
            b.assign(4, '\0');
            std::memcpy(b.data(), &s, 4);
            break;
        }
        case JetType::Double: {
            const double d = floatingNumber(v, c);
            b.assign(8, '\0');
            std::memcpy(b.data(), &d, 8);
            break;
        }
        case JetType::DateTime: {
            const auto* d = std::get_if<Date>(&v.storage());
            if (!d)
                fail(dao::err::TypeMismatch, "column '" + c.spec.name + "' takes a date");
            b.assign(8, '\0');
            std::memcpy(b.data(), &d->days, 8);
            break;
        }
        case JetType::Guid: b = guidBytes(textOf(v, c), c); break;
        case JetType::Decimal: b = decimalBytes(v, c); break;
        case JetType::Binary:
            b = textOf(v, c);
            if (b.size() > static_cast<std::size_t>(c.spec.size))
                fail(dao::err::FieldTooSmall, "column '" + c.spec.name + "'");
            break;
        case JetType::Text:
        case JetType::Memo:
        case JetType::Ole: {
            std::string stored = textOf(v, c);
            if (isText(c.spec.type)) {
                const std::size_t chars = text::charCount(stored);
                if (!text::isValidUtf8(stored) ||
                    (c.spec.type == JetType::Text && chars > static_cast<std::size_t>(c.spec.size)))
                    fail(dao::err::FieldTooSmall, "column '" + c.spec.name + "'");
                stored = storedText(stored, c, chars);
            }
            if (isLong(c.spec.type)) {
                f.pendingLong = true;
                f.longBytes = std::move(stored);
            } else {
                b = std::move(stored);
            }
            break;
        }
        case JetType::Boolean: break;
        }
        return f;
    }

    std::string storedText(const std::string& utf8, const Column& c, std::size_t chars)
    {
        const auto bytes = encoder->encode(utf8);
        if (!bytes)
            fail(dao::err::TypeMismatch,
                 "column '" + c.spec.name + "': text the file's character set cannot hold");
        if (layout.jet3 || (c.spec.type == JetType::Memo && chars > kMaxCompressedMemoChars))
            return *bytes;
        if (auto compressed = compressUcs2(*bytes))
            return *compressed;
        return *bytes;
    }

    // Places a long value's bytes on LVAL pages; returns the 12-byte reference of the row.
    std::string storeLong(const std::string& bytes)
    {
        std::string ref(12, '\0');
        const auto length = static_cast<std::uint32_t>(bytes.size());
        if (bytes.size() <= kInlineLongValue) {
            put32(ref, 0, length | 0x80000000u);
            return ref + bytes;
        }
        const std::size_t singleRoom = layout.maxRow();
        if (bytes.size() <= singleRoom) {
            put32(ref, 0, length | 0x40000000u);
            put32(ref, 4, putLval(bytes));
            return ref;
        }
        // A chain of pieces, each naming the next; written last piece first.
        const std::size_t piece = singleRoom - 4;
        std::uint32_t next = 0;
        std::size_t end = bytes.size();
        while (end > 0) {
            const std::size_t begin = (end - 1) / piece * piece;
            next = putLval(le32(next) + bytes.substr(begin, end - begin));
            end = begin;
        }
        put32(ref, 0, length);
        put32(ref, 4, next);
        return ref;
    }

    std::uint32_t putLval(const std::string& row)
    {
        if (!lval || !lval->fits(row.size())) {
            flushLval();
            lval.emplace(layout, "LVAL");
            lvalPage = allocate();
        }
        return lvalPage << 8 | static_cast<std::uint32_t>(lval->add(row));
    }

    void flushLval()
    {
        if (lval && !lval->empty())
            writePage(lvalPage, lval->finish());
        lval.reset();
    }

    std::size_t rowSize(const Table& t, std::size_t varBytes, std::size_t* jumps) const
    {
        const std::size_t n = t.columns.size();
        const std::size_t mask = (n + 7) / 8;
        const std::size_t data = static_cast<std::size_t>(layout.countSize + t.fixedBytes) + varBytes;
        *jumps = 0;
        if (t.varCount == 0)
            return data + mask;
        if (!layout.jet3)
            return data + 2 * (static_cast<std::size_t>(t.varCount) + 1) + 2 + mask;
        // Jet 3 offsets are one byte; a jump table marks where they pass each 256.
        const std::size_t base = data + static_cast<std::size_t>(t.varCount) + 1 + 1 + mask;
        while ((base + *jumps - 1) / 256 > *jumps)
            *jumps = (base + *jumps - 1) / 256;
        return base + *jumps;
    }

    void addRow(std::size_t index, const std::vector<Value>& values)
    {
        Table& t = tables.at(index);
        if (values.size() != t.columns.size())
            fail(dao::err::ItemNotFound,
                 "table '" + t.spec.name + "' has " + std::to_string(t.columns.size()) + " columns");
        std::vector<Field> fields;
        fields.reserve(values.size());
        std::size_t varBytes = 0;
        for (std::size_t i = 0; i < values.size(); ++i) {
            fields.push_back(encode(t.columns[i], values[i]));
            const Field& f = fields.back();
            if (!t.columns[i].fixed)
                varBytes += f.pendingLong
                                ? 12 + (f.longBytes.size() <= kInlineLongValue ? f.longBytes.size() : 0)
                                : f.bytes.size();
        }
        std::size_t jumps = 0;
        const std::size_t size = rowSize(t, varBytes, &jumps);
        if (size > layout.maxRow())
            fail(dao::err::FieldTooSmall, "a row of table '" + t.spec.name + "' is larger than a page");
        if (t.rows == std::numeric_limits<std::int32_t>::max())
            fail(dao::err::FieldTooSmall, "table '" + t.spec.name + "' is full");
        // Only now, with the row known to fit, do long values go to their pages.
        for (auto& f : fields)
            if (f.pendingLong)
                f.bytes = storeLong(f.longBytes);
        const std::string row = buildRow(t, fields, size, jumps);
        if (!t.page || !t.page->fits(row.size())) {
            flushData(t);
            t.page.emplace(layout, le32(t.definitionPage));
            t.pageNumber = allocate();
        }
        t.page->add(row);
        ++t.rows;
    }

    std::string buildRow(const Table& t, const std::vector<Field>& fields, std::size_t size,
                         std::size_t jumps) const
    {
        const std::size_t n = t.columns.size();
        const std::size_t mask = (n + 7) / 8;
        std::string row(size, '\0');
        if (layout.jet3)
            row[0] = static_cast<char>(n);
        else
            put16(row, 0, static_cast<unsigned>(n));
        std::vector<std::size_t> offsets(static_cast<std::size_t>(t.varCount) + 1);
        std::size_t at = static_cast<std::size_t>(layout.countSize + t.fixedBytes);
        for (std::size_t i = 0; i < n; ++i) {
            const Column& c = t.columns[i];
            const Field& f = fields[i];
            if (f.present)
                row[size - mask + i / 8] = static_cast<char>(row[size - mask + i / 8] | (1 << (i % 8)));
            if (c.fixed) {
                std::memcpy(row.data() + layout.countSize + c.fixedOffset, f.bytes.data(), f.bytes.size());
                continue;
            }
        }
        for (int v = 0; v < t.varCount; ++v) {
            offsets[static_cast<std::size_t>(v)] = at;
            for (std::size_t i = 0; i < n; ++i)
                if (!t.columns[i].fixed && t.columns[i].varIndex == v) {
                    std::memcpy(row.data() + at, fields[i].bytes.data(), fields[i].bytes.size());
                    at += fields[i].bytes.size();
                }
        }
        const std::size_t eod = at;
        offsets.back() = eod;
        if (t.varCount == 0)
            return row;
        const auto vars = static_cast<std::size_t>(t.varCount);
        if (!layout.jet3) {
            for (std::size_t i = 0; i <= vars; ++i)
                put16(row, size - mask - 4 - 2 * i, static_cast<unsigned>(offsets[i]));
            put16(row, size - mask - 2, static_cast<unsigned>(vars));
            return row;
        }
        // Jet 3: offsets low bytes from eod upwards in reverse, then the jump table, then the count.
        for (std::size_t i = 0; i <= vars; ++i)
            row[eod + vars - i] = static_cast<char>(offsets[i] & 0xFF);
        const std::size_t real = eod / 256;
        for (std::size_t j = 0; j < jumps; ++j) {
            unsigned char entry = 0xFF; // the dummy entry a row length can call for
            if (j < real)
                for (std::size_t i = 0; i <= vars; ++i)
                    if (offsets[i] >= (j + 1) * 256) {
                        entry = static_cast<unsigned char>(i);
                        break;
                    }
            row[size - mask - 2 - j] = static_cast<char>(entry);
        }
        row[size - mask - 1] = static_cast<char>(vars);
        return row;
    }

    void flushData(Table& t)
    {
        if (t.page && !t.page->empty()) {
            writePage(t.pageNumber, t.page->finish());
            t.dataPages.push_back(t.pageNumber);
        }
        t.page.reset();
    }

    std::string definition(const Table& t)
    {
        const bool j3 = layout.jet3;
        const std::size_t entrySize = j3 ? 18 : 25;
        const std::size_t colsAt = j3 ? 43 : 63;
        std::string b(colsAt, '\0');
        b[0] = 0x02;
        b[1] = 0x01;
        if (j3) {
            b[2] = 'V';
            b[3] = 'C';
        }
        const std::size_t base = j3 ? 12 : 16; // the row count; the fields after it follow on
        put32(b, base, t.rows);
        b[j3 ? 20 : 40] = t.system ? 0x53 : 0x4E;
        const std::size_t counts = j3 ? 21 : 41;
        put16(b, counts, static_cast<unsigned>(t.columns.size()));
        put16(b, counts + 2, static_cast<unsigned>(t.varCount));
        put16(b, counts + 4, static_cast<unsigned>(t.columns.size()));
        put32(b, counts + 14, t.usageMap);
        put32(b, counts + 18, t.freeMap);
        for (const Column& c : t.columns) {
            std::string e(entrySize, '\0');
            e[0] = static_cast<char>(c.spec.type);
            const bool text = isText(c.spec.type);
            const unsigned flags = (c.fixed ? 0x01 : 0x00) | 0x02;
            int length = 0;
            if (c.spec.type == JetType::Text)
                length = j3 ? c.spec.size : 2 * c.spec.size;
            else if (c.spec.type == JetType::Binary)
                length = c.spec.size;
            else if (c.spec.type == JetType::Boolean)
                length = 1;
            else if (c.fixed)
                length = fixedSize(c.spec.type);
            if (j3) {
                put16(e, 1, static_cast<unsigned>(c.number));
                put16(e, 3, c.fixed ? 0u : static_cast<unsigned>(c.varIndex));
                put16(e, 5, static_cast<unsigned>(c.number));
                if (text) {
                    put16(e, 7, 0x409);
                    put16(e, 9, options.codePage);
                }
                e[13] = static_cast<char>(flags);
                put16(e, 14, static_cast<unsigned>(c.fixedOffset));
                put16(e, 16, static_cast<unsigned>(length));
            } else {
                put16(e, 5, static_cast<unsigned>(c.number));
                put16(e, 7, c.fixed ? 0u : static_cast<unsigned>(c.varIndex));
                put16(e, 9, static_cast<unsigned>(c.number));
                if (text)
                    put16(e, 11, 0x409);
                if (c.spec.type == JetType::Decimal) {
                    e[11] = static_cast<char>(c.spec.precision);
                    e[12] = static_cast<char>(c.spec.scale);
                }
                e[15] = static_cast<char>(flags);
                e[16] = text ? 0x01 : 0x00; // compressed Unicode allowed
                put16(e, 21, static_cast<unsigned>(c.fixedOffset));
                put16(e, 23, static_cast<unsigned>(length));
            }
            b += e;
        }
        for (const Column& c : t.columns) {
            const std::string name = nameBytes(c.spec.name);
            std::string len(j3 ? 1 : 2, '\0');
            len[0] = static_cast<char>(name.size());
            b += len + name;
        }
        b += "\xFF\xFF"; // no per-column page maps follow
        if (b.size() > static_cast<std::size_t>(layout.pageSize))
            fail(dao::err::FieldTooSmall,
                 "the definition of table '" + t.spec.name + "' is larger than a page");
        put32(b, 8, static_cast<std::uint32_t>(b.size() - 8));
        if (!j3)
            put16(b, 2, static_cast<unsigned>(layout.pageSize - static_cast<int>(b.size()) - 8));
        b.resize(static_cast<std::size_t>(layout.pageSize), '\0');
        return b;
    }

    // The usage map of a table's data pages: inline when they lie close together, else a
    // list of map pages, each a bitmap of (page size - 4) * 8 pages.
    std::string usageMap(const Table& t)
    {
        const std::size_t inlineBytes = layout.jet3 ? kInlineMapBytes3 : kInlineMapBytes4;
        const std::uint32_t first = t.dataPages.empty() ? 0 : t.dataPages.front();
        const std::uint32_t last = t.dataPages.empty() ? 0 : t.dataPages.back();
        if (last - first < inlineBytes * 8) {
            std::string map(5 + inlineBytes, '\0');
            put32(map, 1, first);
            for (const std::uint32_t p : t.dataPages)
                map[5 + (p - first) / 8] =
                    static_cast<char>(map[5 + (p - first) / 8] | (1 << ((p - first) % 8)));
            return map;
        }
        const std::uint32_t bits = static_cast<std::uint32_t>(layout.pageSize - 4) * 8;
        std::string map(1 + 4 * (last / bits + 1), '\0');
        map[0] = 0x01;
        std::size_t next = 0;
        for (std::uint32_t slot = 0; slot <= last / bits; ++slot) {
            std::string page(static_cast<std::size_t>(layout.pageSize), '\0');
            page[0] = 0x05;
            page[1] = 0x01;
            bool any = false;
            for (; next < t.dataPages.size() && t.dataPages[next] / bits == slot; ++next) {
                const std::uint32_t bit = t.dataPages[next] % bits;
                page[4 + bit / 8] = static_cast<char>(page[4 + bit / 8] | (1 << (bit % 8)));
                any = true;
            }
            if (!any)
                continue;
            const std::uint32_t at = allocate();
            writePage(at, page);
            put32(map, 1 + 4 * slot, at);
        }
        return map;
    }

    void finish()
    {
        for (std::size_t i = 0; i < tables.size(); ++i) {
            const Table& t = tables[i];
            addRow(0,
                   {Value(static_cast<std::int64_t>(t.definitionPage)), Value(std::int64_t{0}),
                    Value(t.spec.name), Value(std::int64_t{1}),
                    Value(static_cast<std::int64_t>(t.system ? static_cast<std::int32_t>(0x80000002u) : 0)),
                    Value()});
        }
        for (auto& t : tables)
            flushData(t);
        flushLval();
        RowPage maps(layout, std::string(4, '\0'));
        for (auto& t : tables) {
            const std::string used = usageMap(t);
            const std::size_t inlineBytes = layout.jet3 ? kInlineMapBytes3 : kInlineMapBytes4;
            std::string free(5 + inlineBytes, '\0');
            put32(free, 1, t.dataPages.empty() ? 0 : t.dataPages.front());
            if (!maps.fits(used.size() + free.size() + 4))
                fail(dao::err::FieldTooSmall, "too many tables for one map page");
            t.usageMap = 1u << 8 | static_cast<std::uint32_t>(maps.add(used));
            t.freeMap = 1u << 8 | static_cast<std::uint32_t>(maps.add(free));
        }
        writePage(1, maps.finish());
        for (const auto& t : tables)
            writePage(t.definitionPage, definition(t));
        const auto header =
            JetHeader::Build(options.version, options.codePage, options.created, options.password);
        if (!header)
            fail(dao::err::FieldTooSmall, "the password is too long for the file header");
        writePage(0, *header);
        if (::fsync(fd) != 0)
            ioFailure(errno);
        const int closed = ::close(fd);
        fd = -1;
        if (closed != 0)
            ioFailure(errno);
        finished = true;
    }
};

JetWriter::JetWriter(const std::string& path, const JetWriteOptions& options,
                     const std::vector<JetTableSpec>& tables)
    : m(std::make_unique<Impl>())
{
    m->path = path;
    m->options = options;
    const bool jet3 = options.version == JetHeader::Version::Jet3;
    m->layout = jet3 ? Layout{true, 2048, 0x08, 1} : Layout{false, 4096, 0x0C, 2};
    m->encoder =
        std::make_unique<TextEncoder>(jet3 ? JetHeader::CharsetOfCodePage(options.codePage) : "UCS-2LE");
    if (!JetHeader::Build(options.version, options.codePage, options.created, options.password))
        fail(dao::err::FieldTooSmall, "the password is too long for the file header");
    m->addTable({"MSysObjects",
                 {{"Id", JetType::Long},
                  {"ParentId", JetType::Long},
                  {"Name", JetType::Text, 128},
                  {"Type", JetType::Integer},
                  {"Flags", JetType::Long},
                  {"LvProp", JetType::Ole}}},
                true);
    for (const auto& t : tables)
        m->addTable(t, false);
    m->nextPage = 2;
    for (auto& t : m->tables)
        t.definitionPage = m->allocate();
    m->fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666); // less the umask
    if (m->fd < 0)
        m->ioFailure(errno);
}

JetWriter::~JetWriter() = default;

void JetWriter::AddRow(std::size_t table, const std::vector<Value>& values)
{
    if (m->finished)
        fail(dao::err::ObjectClosed, m->path);
    m->addRow(table + 1, values);
}

void JetWriter::Finish()
{
    if (m->finished)
        return;
    m->finish();
}

} // namespace ktv::jet

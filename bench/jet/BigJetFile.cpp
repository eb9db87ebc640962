// Large Jet table for the benchmark (see BigJetFile.h). libmdb can add rows but not pages,
// so the filled page is duplicated by hand: page owner stays the table, the usage map gets
// a bit per new page, and the table definition's row count is set to the total.
#include "BigJetFile.h"

#include <mdbtools.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace ktv::bench {

namespace {

constexpr std::size_t kPage = 4096;
constexpr std::size_t kRowCountAt = 12;  // data page: number of rows
constexpr std::size_t kTdefRowsAt = 16;  // table definition: number of rows
constexpr std::size_t kTdefUsageAt = 55; // table definition: usage map row and page

std::uint32_t u32(const std::string& b, std::size_t at)
{
    std::uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

void fillFirstPage(const std::string& path, unsigned& tablePage)
{
    MdbHandle* mdb = mdb_open(path.c_str(), MDB_WRITABLE);
    if (!mdb)
        throw std::runtime_error("cannot open " + path);
    mdb_read_catalog(mdb, MDB_TABLE);
    char name[] = "Table1";
    MdbTableDef* t = mdb_read_table_by_name(mdb, name, MDB_TABLE);
    if (!t)
        throw std::runtime_error("no Table1");
    tablePage = static_cast<unsigned>(t->entry->table_pg);
    mdb_read_columns(t);
    mdb_read_indices(t);
    for (int id = 1000;; ++id) {
        char text[64];
        const int len = std::snprintf(text, sizeof text, "Row number %d", id);
        char ucs[256];
        const int ulen = mdb_ascii2unicode(mdb, text, static_cast<size_t>(len), ucs, sizeof ucs);
        MdbField f[2];
        mdb_fill_temp_field(&f[0], &id, 4, 1, 0, 0, 0);
        mdb_fill_temp_field(&f[1], ucs, ulen, 0, 0, 0, 1);
        if (!mdb_insert_row(t, 2, f))
            break; // the page is full: libmdb cannot allocate another
    }
    mdb_free_tabledef(t);
    mdb_close(mdb);
}

} // namespace

long makeBigJetFile(const std::string& templatePath, const std::string& target)
{
    std::filesystem::copy_file(templatePath, target, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(target,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    unsigned tdef = 0;
    fillFirstPage(target, tdef);

    std::string b;
    {
        std::ifstream in(target, std::ios::binary);
        b.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::size_t dataPage = 0;
    for (std::size_t p = 1; p < b.size() / kPage; ++p)
        if (b[p * kPage] == 1 && u32(b, p * kPage + 4) == tdef)
            dataPage = p;
    if (!dataPage)
        throw std::runtime_error("no data page");
    const std::uint16_t rowsPerPage =
        static_cast<unsigned char>(b[dataPage * kPage + kRowCountAt]) |
        (static_cast<unsigned char>(b[dataPage * kPage + kRowCountAt + 1]) << 8);

    // The usage map: a row of its own page; type 0 is a start page plus a bitmap.
    const std::size_t td = tdef * kPage;
    const unsigned mapRow = static_cast<unsigned char>(b[td + kTdefUsageAt]);
    const std::size_t mapPage = u32(b, td + kTdefUsageAt + 1) & 0xFFFFFF;
    std::uint16_t rowStart;
    std::memcpy(&rowStart, b.data() + mapPage * kPage + 14 + 2 * mapRow, 2);
    const std::size_t map = mapPage * kPage + (rowStart & 0x1FFF);
    const std::size_t mapEnd =
        mapRow == 0 ? (mapPage + 1) * kPage
                    : mapPage * kPage + ([&] {
                          std::uint16_t prev;
                          std::memcpy(&prev, b.data() + mapPage * kPage + 14 + 2 * (mapRow - 1), 2);
                          return prev & 0x1FFF;
                      }());
    if (b[map] != 0 || u32(b, map + 1) != 0)
        throw std::runtime_error("unexpected usage map");
    const std::size_t addressable = (mapEnd - map - 5) * 8;

    const std::string pageCopy = b.substr(dataPage * kPage, kPage);
    long pages = 1;
    for (std::size_t p = b.size() / kPage; p < addressable; ++p) {
        b += pageCopy;
        b[map + 5 + p / 8] = static_cast<char>(b[map + 5 + p / 8] | (1 << (p % 8)));
        ++pages;
    }
    const std::uint32_t rows = static_cast<std::uint32_t>(pages * rowsPerPage);
    std::memcpy(b.data() + td + kTdefRowsAt, &rows, 4);
    std::ofstream(target, std::ios::binary | std::ios::trunc) << b;
    return static_cast<long>(rows);
}

} // namespace ktv::bench

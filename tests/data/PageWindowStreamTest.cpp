// The stream libmdb reads Jet files through: every read, wherever it starts and however far
// it runs (inside a window, across windows, longer than all of them, past the end), gives
// the file's own bytes, and the end is where the file ends.
#include "data/jet/PageWindowStream.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace ktv::test {
namespace {

TEST(PageWindowStream, ReadsGiveTheFilesBytesWhereverTheyStart)
{
    TempDir dir;
    const std::string path = dir.file("pages.bin");
    std::string bytes(300 * 1024 + 123, '\0');
    std::mt19937 rng(7);
    for (auto& b : bytes)
        b = static_cast<char>(rng());
    std::ofstream(path, std::ios::binary) << bytes;

    FILE* f = jet::OpenPageWindowStream(path, 4096);
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(fseeko(f, 0, SEEK_END), 0);
    EXPECT_EQ(ftello(f), static_cast<off_t>(bytes.size()));
    struct Read {
        std::size_t at, length;
    };
    const Read reads[] = {{0, 4096},
                          {4096, 4096},
                          {65536 - 100, 4096}, // across two windows
                          {200000, 4096},
                          {8192, 4096},
                          {5 * 65536, 2048}, // back to an earlier window
                          {1000, 290000},
                          {bytes.size() - 10, 4096}, // longer than all; the end
                          {bytes.size() + 5000, 4096}};
    for (const auto& r : reads) {
        SCOPED_TRACE(r.at);
        std::string got(r.length, '\x55');
        ASSERT_EQ(fseeko(f, static_cast<off_t>(r.at), SEEK_SET), 0);
        const std::size_t n = std::fread(got.data(), 1, r.length, f);
        const std::string want = r.at < bytes.size() ? bytes.substr(r.at, r.length) : std::string();
        EXPECT_EQ(n, want.size());
        EXPECT_EQ(got.substr(0, n), want);
    }
    EXPECT_EQ(std::fclose(f), 0);
    EXPECT_EQ(jet::OpenPageWindowStream(dir.file("missing.bin"), 4096), nullptr);
}

} // namespace
} // namespace ktv::test

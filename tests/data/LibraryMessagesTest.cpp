// A damaged Jet file: libmdb's own warnings come inside the program's error, never as raw
// lines on the standard error stream.
#include "data/Dao.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

using namespace ktv;

TEST(JetLibraryMessages, WarningsOfADamagedFileGoIntoTheError)
{
    const std::string original =
        test::readFile(std::string(std::getenv("KTV_SOURCE_DIR")) + "/tests/data/jet_files/testV1997.mdb");
    ASSERT_FALSE(original.empty());
    test::TempDir dir;
    const std::string file = dir.file("damaged.mdb");
    const std::string errFile = dir.file("stderr.txt");
    int withWarning = 0;
    for (std::size_t page = 3; page * 2048 < original.size(); ++page) {
        std::string damaged = original;
        std::fill(damaged.begin() + static_cast<long>(page * 2048),
                  damaged.begin() + static_cast<long>(page * 2048 + 2048), '\0');
        test::writeFile(file, damaged);
        std::fflush(stderr);
        const int saved = ::dup(2);
        const int fd = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(fd, 2);
        std::string error;
        try {
            dao::Database::OpenDatabase(file)->Close();
        } catch (const Error& e) {
            error = e.description();
        }
        std::fflush(stderr);
        ::dup2(saved, 2);
        ::close(saved);
        ::close(fd);
        EXPECT_EQ(test::readFile(errFile), "") << "page " << page << " zeroed";
        if (error.find("doesn't match") != std::string::npos)
            ++withWarning;
    }
    EXPECT_GT(withWarning, 0) << "no damage made libmdb warn: the test proves nothing";
}

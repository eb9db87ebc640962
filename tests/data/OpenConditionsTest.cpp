// Opening databases where the file system is in the way: read-only folders and media, names
// too long for the files SQLite keeps beside a database, a full disk, and tables made by other
// tools WITHOUT ROWID. A file opened for reading keeps every byte and gets nothing beside it;
// what cannot work is told for what it is, never as a damaged file.
#include "DataTestSupport.h"
#include "data/DaoErrors.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <grp.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

using namespace ktv;
using namespace ktv::dao;
using ktv::test::TempDir;
namespace fs = std::filesystem;

namespace {

void sql(const std::string& path, const std::string& statement)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(db, statement.c_str(), nullptr, nullptr, &message), SQLITE_OK)
        << (message ? message : "");
    sqlite3_free(message);
    sqlite3_close(db);
}

// Runs `body` in a child process as a user without write permission where the folder's mode
// denies it (the superuser ignores modes); returns what the body returned, "crash" otherwise.
std::string asAnotherUser(const std::function<std::string()>& body)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return "no pipe";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        std::string out;
        try {
            out = body();
        } catch (const Error& e) {
            out = std::to_string(e.number()) + " " + e.description();
        }
        (void)!::write(fds[1], out.data(), out.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string out;
    char buf[512];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        out.append(buf, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? out : "crash";
}

std::string bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct OpenCase {
    const char* name;
    const char* journal;  // the file's journal mode
    bool folderReadOnly;  // for the user opening it
    std::size_t nameSize; // bytes of the file name; 0 for a short one
    bool forWriting;      // opened read-write, as a company database is
    const char* expected; // "2": both cards read; else the start of the error
};

void PrintTo(const OpenCase& row, std::ostream* os) { *os << row.name; }

class OpenConditions : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OpenConditions, ReadingChangesNothingAndAFailureSaysWhy)
{
    const OpenCase& c = GetParam();
    TempDir dir;
    const fs::path folder = dir.path() / "kaynak";
    fs::create_directories(folder);
    const std::string made = (folder / "a.ktd").string();
    {
        auto db = test::makeDatabase(made);
        test::addKart(*db, "BAY", "K1");
        test::addKart(*db, "BAY", "K2");
    }
    sql(made, std::string("PRAGMA journal_mode=") + c.journal);
    ASSERT_FALSE(fs::exists(made + "-wal"));
    // A name with no room left for "-wal" or "-journal" within the file system's 255 bytes.
    const std::string path =
        c.nameSize ? (folder / (std::string(c.nameSize - 4, 'k') + ".ktd")).string() : made;
    fs::rename(made, path);
    const std::string before = bytesOf(path);
    fs::permissions(dir.path(), fs::perms::all);
    fs::permissions(folder, c.folderReadOnly ? fs::perms(0555) : fs::perms::all);
    fs::permissions(path, c.folderReadOnly ? fs::perms(0444) : fs::perms(0666));

    const std::string got = asAnotherUser([&] {
        auto db = Database::OpenDatabase(path, false, !c.forWriting);
        auto rs = db->OpenRecordset("Kart", RecordsetType::Snapshot);
        rs->MoveLast();
        return std::to_string(rs->RecordCount());
    });
    fs::permissions(folder, fs::perms::all);
    EXPECT_EQ(got.rfind(c.expected, 0), 0u) << got;
    if (got != "2") {
        EXPECT_NE(got.find(path), std::string::npos) << "the error names the file: " << got;
    }
    if (!c.forWriting) {
        EXPECT_TRUE(bytesOf(path) == before) << "the file was changed by reading it";
        std::error_code tooLong; // a name that cannot exist is not there
        for (const char* beside : {"-wal", "-shm", "-journal"})
            EXPECT_FALSE(fs::exists(path + beside, tooLong)) << beside << " left beside the file";
    }
}

const OpenCase kOpenCases[] = {
    {"WalFileInAWritableFolder", "wal", false, 0, false, "2"},
    {"WalFileInAReadOnlyFolder", "wal", true, 0, false, "2"},
    {"RollbackFileInAReadOnlyFolder", "delete", true, 0, false, "2"},
    {"WalFileWithoutRoomForItsWalName", "wal", false, 254, false, "2"},
    {"RollbackFileWithoutRoomForItsJournalName", "delete", false, 254, false, "2"},
    {"WalFileForWritingInAReadOnlyFolder", "wal", true, 0, true, "3051 Permission denied"},
};

INSTANTIATE_TEST_SUITE_P(Database, OpenConditions, ::testing::ValuesIn(kOpenCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A small file system of its own, filled to a few KB: where the superuser may mount one.
class SmallDisk {
public:
    explicit SmallDisk(const fs::path& at) : m_at(at)
    {
        fs::create_directories(at);
        m_mounted = ::mount("tmpfs", at.c_str(), "tmpfs", 0, "size=256k") == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount(m_at.c_str());
    }
    bool mounted() const { return m_mounted; }
    // Takes all but about `left` bytes of the free space.
    void fill(std::size_t left)
    {
        const auto free = fs::space(m_at).available;
        std::ofstream(m_at / "fill", std::ios::binary) << std::string(free > left ? free - left : 0, 'x');
    }

private:
    fs::path m_at;
    bool m_mounted = false;
};

TEST(OpenConditionsDisk, AFullDiskIsToldAsAFullDisk)
{
    TempDir dir;
    SmallDisk disk(dir.path() / "disk");
    if (!disk.mounted())
        GTEST_SKIP() << "no file system of our own can be mounted here";
    const std::string path = (dir.path() / "disk" / "KTFIM.mdb").string();
    {
        test::makeDatabase(path);
    } // closed in WAL mode: the next open needs a -shm file
    disk.fill(8 * 1024);
    try {
        Database::OpenDatabase(path);
        FAIL() << "opened without room for its -shm file";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::EngineFailure);
        EXPECT_NE(e.description().find("disk is full"), std::string::npos) << e.description();
    }
}

TEST(OpenConditionsTables, ATableWithoutRowidIsWalkedInKeyOrder)
{
    TempDir dir;
    const std::string path = dir.file("wr.ktd");
    {
        test::makeDatabase(path);
    }
    sql(path, "CREATE TABLE Wr (Kod TEXT(10), Ad TEXT(20), PRIMARY KEY (Kod)) WITHOUT ROWID;"
              "INSERT INTO Wr VALUES ('K2', 'iki'), ('K1', 'bir'), ('K3', 'üç')");
    auto db = Database::OpenDatabase(path, false, true);
    auto rs = db->OpenRecordset("SELECT * FROM Wr WHERE Ad = 'bir'", RecordsetType::Snapshot);
    EXPECT_EQ(rs->Field("Kod"), Value("K1"));
    rs = db->OpenRecordset("Wr", RecordsetType::Snapshot);
    std::string keys;
    for (; !rs->Eof(); rs->MoveNext())
        keys += rs->Field("Kod").toText();
    EXPECT_EQ(keys, "K1K2K3");
    rs->MoveLast();
    EXPECT_EQ(rs->Field("Ad"), Value("üç"));
    EXPECT_EQ(rs->RecordCount(), 3);
    try {
        db->OpenRecordset("Wr", RecordsetType::Dynaset);
        FAIL() << "a dynaset needs row ids";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::ReadOnly);
        EXPECT_NE(e.description().find("WITHOUT ROWID"), std::string::npos) << e.description();
    }
}

} // namespace

// Saves that fail: a full disk at the last COMMIT of a database (simulated with a file-size
// limit in a child process), the error it raises, and what the file keeps afterwards.
#include "DataTestSupport.h"
#include "app/AppPath.h"
#include "data/CompanyDatabases.h"
#include "data/EngineClock.h"
#include "platform/core/ProgramExit.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

using namespace ktv;
using namespace ktv::dao;

namespace {

// Runs `body` in a child process whose files cannot grow past `limit` bytes once `body`
// calls the returned arm function; the child's exit status comes back.
int inChild(const std::function<int(const std::function<void()>& arm)>& body, rlim_t limit)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN); // the write fails with EFBIG instead of killing
        int status = 99;
        try {
            status = body([limit] {
                const rlimit r{limit, limit};
                ::setrlimit(RLIMIT_FSIZE, &r);
            });
        } catch (...) {
            status = 98;
        }
        _exit(status);
    }
    int status = -1;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string pragma(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    std::string out;
    sqlite3_exec(
        db, sql.c_str(),
        [](void* r, int, char** v, char**) {
            *static_cast<std::string*>(r) += v[0] ? v[0] : "";
            return 0;
        },
        &out, nullptr);
    sqlite3_close(db);
    return out;
}

void addCards(Database& db, int from, int to)
{
    for (int i = from; i < to; ++i)
        test::addKart(db, "BAY", "K" + std::to_string(i), std::string(40, 'x'));
}

} // namespace

TEST(WriteFailure, AFailedLastSaveIsAnErrorThatSaysWhatWasNotStored)
{
    test::TempDir dir;
    const std::string path = dir.file("KTFIM.mdb");
    {
        test::makeDatabase(path)->Close();
    }
    const int status = inChild(
        [&](const std::function<void()>& arm) {
            auto now = std::chrono::steady_clock::now();
            setEngineClock([&] { return now; }); // one batch: nothing is committed on the way
            auto db = Database::OpenDatabase(path);
            addCards(*db, 0, 10);
            now += std::chrono::seconds(1);
            db->OpenRecordset("Kart", RecordsetType::Snapshot)->Close(); // the first 10 are saved
            addCards(*db, 10, 1010);
            arm();
            try {
                db->Close();
            } catch (const Error& e) {
                const bool counted =
                    e.description().find("The last 1000 records were not stored") != std::string::npos;
                return counted ? 10 : 11;
            }
            return 12;
        },
        32 * 1024);
    EXPECT_EQ(status, 10) << "11: no count in the error, 12: the failure was not reported";
    EXPECT_EQ(pragma(path, "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(pragma(path, "SELECT count(*) FROM Kart"), "10");
}

TEST(WriteFailure, AFailedSaveOnClosingAMemberEndsTheRun)
{
    test::TempDir dir;
    const char* app = std::getenv("KTV_APP_DIR");
    ASSERT_NE(app, nullptr);
    std::filesystem::copy_file(std::string(app) + "/KTFIM.mdx", dir.file("KTFIM.mdx"));
    const int status = inChild(
        [&](const std::function<void()>& arm) {
            test::ScriptedMessageBoxes boxes;
            InitAppPath(dir.str());
            CompanyDatabases set;
            set.FirmaKodu = "1";
            set.VedazYili = "2005";
            auto now = std::chrono::steady_clock::now();
            setEngineClock([&] { return now; });
            set.VeriTabani_Ac(CompanyDatabases::Ktfim);
            auto rs = set.Db(CompanyDatabases::Ktfim).OpenRecordset("AracKarti", RecordsetType::Dynaset);
            for (int i = 0; i < 2000; ++i) {
                rs->AddNew();
                rs->SetField("AracKod", "A" + std::to_string(i));
                rs->SetField("SurucuAd", std::string(40, 's'));
                rs->Update();
            }
            rs->Close();
            arm();
            try {
                set.VeriTabani_Kapat(CompanyDatabases::Ktfim);
            } catch (const Error&) {
                const bool reported = boxes.shown.size() == 1 &&
                                      boxes.shown[0].text.find("VeriTabani_Kapat : 2") != std::string::npos;
                return reported && !set.IsOpen(CompanyDatabases::Ktfim) ? 20 : 21;
            }
            return 22;
        },
        std::filesystem::file_size(std::string(app) + "/KTFIM.mdx") + 16 * 1024);
    EXPECT_EQ(status, 20) << "21: not reported or left open, 22: the run would go on as if saved";
    const std::string file = dir.file("DATA/1/2005/KTFIM.mdb");
    EXPECT_EQ(pragma(file, "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(pragma(file, "SELECT count(*) FROM AracKarti"), "0");
}

TEST(WriteFailure, AFailingExitHookMakesTheExitStatusAFailure)
{
    test::ExitCatcher exitCatcher;
    const auto id = addExitHook([] { throw Error(3709, "Database engine error: disk full"); });
    try {
        endProgram(0);
        FAIL();
    } catch (const test::ProgramEnded& e) {
        EXPECT_EQ(e.status, 1);
    }
    removeExitHook(id);
    EXPECT_EQ(runExitHooks(), "");
}

TEST(WriteFailure, ATemplateCopyCutShortLeavesNoFileBehind)
{
    test::TempDir dir;
    const char* app = std::getenv("KTV_APP_DIR");
    ASSERT_NE(app, nullptr);
    std::filesystem::copy_file(std::string(app) + "/KTFIM.mdx", dir.file("KTFIM.mdx"));
    const int status = inChild(
        [&](const std::function<void()>& arm) {
            test::ScriptedMessageBoxes boxes;
            InitAppPath(dir.str());
            CompanyDatabases set;
            set.FirmaKodu = "1";
            set.VedazYili = "2005";
            arm();
            set.VeriTabani_Ac(CompanyDatabases::Ktfim);
            return !set.IsOpen(CompanyDatabases::Ktfim) && boxes.shown.size() == 1 ? 30 : 31;
        },
        4096);
    EXPECT_EQ(status, 30);
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("DATA/1/2005"))) << "no part-written copy stays";
}

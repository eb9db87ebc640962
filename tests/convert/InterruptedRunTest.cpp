// A conversion killed part-way and run again ends with exactly the cards of a run that was
// never interrupted, and every database it touched stays sound.
#include "convert/ConvertFixture.h"

#include <sqlite3.h>

#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

using namespace ktv;
using namespace ktv::test;
namespace fs = std::filesystem;

namespace {

// Kills its own process with SIGKILL at the given yield, as a power cut or a kill would.
class KillingHost final : public ConversionHost {
public:
    explicit KillingHost(int killAt) : m_killAt(killAt) {}
    bool confirm(const std::string&, const std::string&) override { return true; }
    void setWaitCursor(bool) override {}
    void setProgressVisible(bool) override {}
    void setProgressMax(int) override {}
    void setProgressMin(int) override {}
    void setProgressValue(int v) override { m_value = v; }
    int progressValue() const override { return m_value; }
    void processEvents() override
    {
        if (++m_pumps == m_killAt)
            ::kill(::getpid(), SIGKILL);
    }
    void showMessage(const std::string&, const std::string&) override {}

private:
    int m_killAt;
    int m_pumps = 0;
    int m_value = 0;
};

std::string integrity(const std::string& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    std::string result = "no answer";
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        result = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return result;
}

SourceTables bigSource()
{
    SourceTables t;
    for (int i = 0; i < 400; ++i) {
        const std::string k = std::to_string(i % 350); // some keys repeat: first record wins
        t.vehicles.push_back({{"Kod", Value("V" + k)}, {"Isim", Value("n" + std::to_string(i))}});
        t.accounts.push_back({{"Kod", Value("C" + k)}, {"Isim", Value("n" + std::to_string(i))}});
        t.stock.push_back({{"Tip", Value(i % 3 ? "Ürün" : "Malzeme")},
                           {"Kod", Value("S" + k)},
                           {"Isim", Value("n" + std::to_string(i))}});
    }
    return t;
}

std::string cardDump(const std::vector<Row>& rows)
{
    std::string out;
    for (const auto& r : rows) {
        for (const auto& [c, v] : r)
            out += c + "=" + v.toText() + ";";
        out += "\n";
    }
    return out;
}

} // namespace

TEST_F(ConvertTest, KilledRunCompletedByASecondRunEqualsAnUninterruptedOne)
{
    makeSource(bigSource());
    convert(request());
    const std::string expectedVehicles = cardDump(rows(yearDb("KTFIM.mdb"), "AracKarti"));
    const std::string expectedAccounts = cardDump(rows(yearDb("KTFIM.mdb"), "CariKart"));
    const std::string expectedStock = cardDump(rows(yearDb("KTFIM.mdb"), "StokKart"));

    for (const int killAt : {1, 401, 1111}) {
        fs::remove_all(dir.path() / "DATA");
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            CompanyDatabases childSet;
            KillingHost killer(killAt);
            ConversionRun childRun(childSet, killer);
            childRun.Cmd_CevrimYap(request());
            _exit(0);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "kill at " << killAt;
        for (const char* f : {"DATA/SABIT.mdb", "DATA/7/2005/KTFIM.mdb", "DATA/7/2005/KTCHM.mdb"}) {
            if (fs::exists(dir.path() / f)) {
                EXPECT_EQ(integrity(dir.file(f)), "ok") << f << " after kill at " << killAt;
            }
        }

        convert(request());
        EXPECT_EQ(cardDump(rows(yearDb("KTFIM.mdb"), "AracKarti")), expectedVehicles) << "kill at " << killAt;
        EXPECT_EQ(cardDump(rows(yearDb("KTFIM.mdb"), "CariKart")), expectedAccounts) << "kill at " << killAt;
        EXPECT_EQ(cardDump(rows(yearDb("KTFIM.mdb"), "StokKart")), expectedStock) << "kill at " << killAt;
        EXPECT_EQ(integrity(yearDb("KTFIM.mdb")), "ok");
    }
}

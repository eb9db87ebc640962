// The company database set and the register on a program folder of their own, with the
// templates the build made.
#include "app/AppPath.h"
#include "app/Tools.h"
#include "data/CompanyRegister.h"
#include "data/Dao.h"
#include "data/TemplateCopy.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include <cstdlib>
#include <filesystem>

using namespace ktv;
using namespace ktv::dao;
namespace fs = std::filesystem;

namespace {

std::string builtTemplates()
{
    if (const char* env = std::getenv("KTV_APP_DIR"))
        return env;
    return ExecutableFolder() + "/../app";
}

class Company : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"SABIT.mdx", "KTFIM.mdx", "KTCHM.mdx"})
            fs::copy_file(builtTemplates() + "/" + name, dir.path() / name);
        InitAppPath(dir.str());
    }
    std::string data(const std::string& rel) const { return dir.str() + "/DATA/" + rel; }
    Value firstField(const std::string& file, const std::string& statement, const std::string& column)
    {
        auto db = Database::OpenDatabase(file);
        auto rs = db->OpenRecordset(statement, RecordsetType::Snapshot);
        return rs->Eof() ? Value("<none>") : rs->Field(column);
    }
    long count(const std::string& file, const std::string& table)
    {
        auto db = Database::OpenDatabase(file);
        auto rs = db->OpenRecordset(table, RecordsetType::Snapshot);
        if (rs->RecordCount() == 0)
            return 0;
        rs->MoveLast();
        return rs->RecordCount();
    }

    test::TempDir dir;
    test::ScriptedMessageBoxes boxes;
    CompanyDatabases set;
};

TEST_F(Company, OpeningAYearMemberCreatesItsFolderFromTheTemplate)
{
    set.FirmaKodu = " 7 ";
    set.VedazYili = "2004";
    EXPECT_EQ(set.MemberPath(CompanyDatabases::Ktfim), data("7/2004/KTFIM.mdb"));
    set.VeriTabani_Ac(CompanyDatabases::Ktfim);
    ASSERT_TRUE(set.IsOpen(CompanyDatabases::Ktfim));
    EXPECT_TRUE(fs::exists(data("7/2004/KTFIM.mdb")));
    EXPECT_EQ(set.Db(CompanyDatabases::Ktfim).TableNames(),
              (std::vector<std::string>{"FirmaBilgi", "AracKarti", "CariKart", "StokKart"}));
    set.VeriTabani_Kapat(CompanyDatabases::Ktfim);
    EXPECT_FALSE(set.IsOpen(CompanyDatabases::Ktfim));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Company, AnExistingDatabaseIsOpenedUnchanged)
{
    set.FirmaKodu = "3";
    set.VedazYili = "2005";
    fs::create_directories(data("3/2005"));
    CreateDatabase(data("3/2005/KTFIM.mdb"), "TABLE Ozel\n  X TEXT(5)\n");
    const std::string before = test::readFile(data("3/2005/KTFIM.mdb"));
    set.VeriTabani_Ac(CompanyDatabases::Ktfim);
    ASSERT_TRUE(set.IsOpen(CompanyDatabases::Ktfim));
    EXPECT_EQ(set.Db(CompanyDatabases::Ktfim).TableNames(), std::vector<std::string>{"Ozel"});
    set.VeriTabani_Kapat(CompanyDatabases::Ktfim);
    EXPECT_EQ(test::readFile(data("3/2005/KTFIM.mdb")).size(), before.size());
}

TEST_F(Company, AMissingTemplateIsReportedAndTheMemberStaysClosed)
{
    fs::remove(dir.path() / "KTCHM.mdx");
    set.FirmaKodu = "1";
    set.VedazYili = "2001";
    boxes.answer(MsgAnswer::Ok); // the report of the missing template
    set.VeriTabani_Ac(CompanyDatabases::Ktchm);
    EXPECT_FALSE(set.IsOpen(CompanyDatabases::Ktchm));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("VeriTabani_Ac : 3"), std::string::npos);
    EXPECT_NE(boxes.shown[0].text.find("3024"), std::string::npos);
    EXPECT_FALSE(fs::exists(data("1/2001/KTCHM.mdb")));
    // Using the member fails again with the reason of the failed open, not a bare
    // "object not set" that would stand as the last, misleading error of the run.
    try {
        set.Db(CompanyDatabases::Ktchm);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 3024);
    }
}

struct OtherNumber {
    const char* name;
    int number;
};

void PrintTo(const OtherNumber& row, std::ostream* os) { *os << row.name; }

const OtherNumber kOtherNumbers[] = {{"Zero", 0}, {"Four", 4}, {"MinusOne", -1}};

class OtherNumberRows : public Company, public ::testing::WithParamInterface<OtherNumber> {};

TEST_P(OtherNumberRows, DoNothing)
{
    // A member made from a number read from outside the set.
    const auto n = static_cast<CompanyDatabases::Member>(GetParam().number);
    set.VeriTabani_Ac(n);
    set.VeriTabani_Kapat(n);
    EXPECT_FALSE(set.IsOpen(n));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(fs::exists(data("")));
}

INSTANTIATE_TEST_SUITE_P(Company, OtherNumberRows, ::testing::ValuesIn(kOtherNumbers),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Company, ClosingAClosedMemberDoesNothing)
{
    set.VeriTabani_Kapat(CompanyDatabases::Sabit);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(fs::exists(data("")));
}

TEST_F(Company, RegisterRecordsTheCompanyAndItsYearDatabases)
{
    Firma_Kaydet(set, " 7 ", "  Yedi Ltd. ", "2004");
    EXPECT_EQ(set.FirmaKodu, "7");
    EXPECT_EQ(set.VedazYili, "2004");
    for (const auto n : {CompanyDatabases::Sabit, CompanyDatabases::Ktfim, CompanyDatabases::Ktchm})
        EXPECT_FALSE(set.IsOpen(n));
    EXPECT_EQ(FirmaAdiBul(set, "7"), "Yedi Ltd.");
    EXPECT_FALSE(set.IsOpen(CompanyDatabases::Sabit));
    for (const char* file : {"7/2004/KTFIM.mdb", "7/2004/KTCHM.mdb"}) {
        const std::string path = data(file);
        EXPECT_EQ(count(path, "FirmaBilgi"), 1) << file;
        EXPECT_EQ(firstField(path, "FirmaBilgi", "KB_Ad").toText(), "Yedi Ltd.");
        for (const char* column : {"KB_Adres1", "KB_Mail", "KB_BankaHesapNo", "KB_VergiSicilNo"})
            EXPECT_EQ(firstField(path, "FirmaBilgi", column), Value("")) << column;
    }

    // Again with another name: the register takes it, the year databases keep the first.
    Firma_Kaydet(set, "7", "Yeni Ad", "2004");
    EXPECT_EQ(FirmaAdiBul(set, "7"), "Yeni Ad");
    EXPECT_EQ(count(data("SABIT.mdb"), "FirmaBilgi"), 1);
    EXPECT_EQ(count(data("7/2004/KTFIM.mdb"), "FirmaBilgi"), 1);
    EXPECT_EQ(firstField(data("7/2004/KTCHM.mdb"), "FirmaBilgi", "KB_Ad").toText(), "Yedi Ltd.");

    // An emptied name box stores an empty name; a new year gets its own databases.
    Firma_Kaydet(set, "7", "", "2005");
    EXPECT_EQ(firstField(data("SABIT.mdb"), "SELECT * FROM FirmaBilgi WHERE SB_FirmaKod = '7'", "SB_FirmaAd"),
              Value(""));
    EXPECT_EQ(count(data("7/2005/KTCHM.mdb"), "FirmaBilgi"), 1);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Company, NameLookupOfUnknownNullAndQuotedCodes)
{
    EXPECT_EQ(FirmaAdiBul(set, "5"), ""); // also creates SABIT.mdb from its template
    {
        auto db = Database::OpenDatabase(data("SABIT.mdb"));
        auto rs = db->OpenRecordset("FirmaBilgi", RecordsetType::Dynaset);
        rs->AddNew();
        rs->SetField("SB_FirmaKod", "6"); // SB_FirmaAd stays Null
        rs->Update();
    }
    EXPECT_EQ(FirmaAdiBul(set, "6"), "");
    Firma_Kaydet(set, "O'7", "Tırnaklı", "2004");
    EXPECT_EQ(FirmaAdiBul(set, "O'7"), "Tırnaklı");
    EXPECT_EQ(FirmaAdiBul(set, "O"), "");
}

} // namespace

namespace {

// Every file in the folder tree, for "nothing was left behind".
std::vector<std::string> filesBelow(const fs::path& folder)
{
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(folder, ec))
        if (e.is_regular_file())
            out.push_back(fs::relative(e.path(), folder).string());
    std::sort(out.begin(), out.end());
    return out;
}

int failingNoReplaceRename(const char*, const char*)
{
    errno = EINVAL; // as on a volume without the no-replace rename
    return -1;
}

} // namespace

namespace {

// A template made unusable: its bytes, from the sound template and a folder for scratch files.
struct DamagedTemplate {
    const char* name;
    std::string (*content)(const std::string& good, const test::TempDir& dir);
};

void PrintTo(const DamagedTemplate& row, std::ostream* os) { *os << row.name; }

const DamagedTemplate kDamagedTemplates[] = {
    {"Empty", [](const std::string&, const test::TempDir&) { return std::string(); }},
    {"Random", [](const std::string&, const test::TempDir&) { return std::string(8192, '\x5a'); }},
    {"Truncated",
     [](const std::string& good, const test::TempDir&) { return good.substr(0, good.size() / 2); }},
    {"PlainSqlite",
     [](const std::string&, const test::TempDir& dir) {
         const std::string plain = dir.file("plain.db");
         sqlite3* db = nullptr;
         sqlite3_open(plain.c_str(), &db);
         sqlite3_exec(db, "CREATE TABLE AracKarti (x)", nullptr, nullptr, nullptr);
         sqlite3_close(db);
         return test::readFile(plain);
     }},
    // One of this program with the wrong tables.
    {"WrongSchema",
     [](const std::string&, const test::TempDir& dir) {
         const std::string wrong = dir.file("wrong.db");
         CreateDatabase(wrong, "TABLE FirmaBilgi\n  KB_Kod TEXT(10)\nTABLE AracKarti\n  AracKod TEXT(10)\n");
         return test::readFile(wrong);
     }},
};

class DamagedTemplateRows : public Company, public ::testing::WithParamInterface<DamagedTemplate> {};

} // namespace

TEST_P(DamagedTemplateRows, AreRefusedAndNothingIsLeftInData)
{
    const std::string good = test::readFile(dir.file("KTFIM.mdx"));
    test::writeFile(dir.file("KTFIM.mdx"), GetParam().content(good, dir));
    set.FirmaKodu = "2";
    set.VedazYili = "2003";
    boxes.answer(MsgAnswer::Ok); // the report of the refused template
    set.VeriTabani_Ac(CompanyDatabases::Ktfim);
    EXPECT_FALSE(set.IsOpen(CompanyDatabases::Ktfim));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("3343"), std::string::npos);
    EXPECT_NE(boxes.shown[0].text.find("KTFIM.mdx"), std::string::npos) << "the template is named";
    EXPECT_EQ(filesBelow(dir.path() / "DATA"), std::vector<std::string>{});
    // Once the template is sound again, the member is made at the first try.
    test::writeFile(dir.file("KTFIM.mdx"), good);
    boxes.shown.clear();
    set.VeriTabani_Ac(CompanyDatabases::Ktfim);
    EXPECT_TRUE(set.IsOpen(CompanyDatabases::Ktfim));
    EXPECT_TRUE(boxes.shown.empty());
    set.VeriTabani_Kapat(CompanyDatabases::Ktfim);
    EXPECT_EQ(filesBelow(dir.path() / "DATA"), std::vector<std::string>{"2/2003/KTFIM.mdb"});
}

INSTANTIATE_TEST_SUITE_P(Company, DamagedTemplateRows, ::testing::ValuesIn(kDamagedTemplates),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Company, AReadOnlyTemplateGivesAWritableDatabase)
{
    ASSERT_EQ(::chmod(dir.file("SABIT.mdx").c_str(), 0444), 0);
    Firma_Kaydet(set, "4", "Salt Okunur", "2002");
    EXPECT_TRUE(boxes.shown.empty());
    struct stat st {};
    ASSERT_EQ(::stat(data("SABIT.mdb").c_str(), &st), 0);
    EXPECT_NE(st.st_mode & 0200, 0u) << "the copy is writable by its owner";
    EXPECT_EQ(N_Ts(firstField(data("SABIT.mdb"), "FirmaBilgi", "SB_FirmaAd")), "Salt Okunur");
}

TEST_F(Company, WithoutTheNoReplaceRenameTheCopyIsStillPlacedAndNeverReplacesAFile)
{
    setRenameNoReplaceForTest(&failingNoReplaceRename);
    set.FirmaKodu = "5";
    set.VedazYili = "2001";
    set.VeriTabani_Ac(CompanyDatabases::Ktchm);
    EXPECT_TRUE(set.IsOpen(CompanyDatabases::Ktchm));
    set.VeriTabani_Kapat(CompanyDatabases::Ktchm);

    // The placing step itself: an existing file is kept and the copy removed.
    test::writeFile(dir.file("copy"), "new");
    test::writeFile(dir.file("kept"), "old");
    EXPECT_FALSE(placeWithoutReplacing(dir.file("copy"), dir.file("kept")));
    setRenameNoReplaceForTest(nullptr);
    EXPECT_EQ(test::readFile(dir.file("kept")), "old");
    EXPECT_FALSE(fs::exists(dir.file("copy")));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(filesBelow(dir.path() / "DATA"), std::vector<std::string>{"5/2001/KTCHM.mdb"});

    test::writeFile(dir.file("copy"), "new");
    EXPECT_FALSE(placeWithoutReplacing(dir.file("copy"), dir.file("kept")));
    EXPECT_EQ(test::readFile(dir.file("kept")), "old");
}

// A run killed while copying a template leaves `<file>.part<pid>` (and its -wal and -shm);
// the next open removes them, before the member is made and once it exists, but never the
// copy of a process that is still running.
TEST_F(Company, CopiesLeftByKilledRunsAreRemovedAndALiveProcesssCopyIsKept)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0); // its id now names no process
    fs::create_directories(data(""));
    const std::string live = data("SABIT.mdb.part1"); // process 1 always runs
    test::writeFile(live, "copying");
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "before the member exists" : "beside the member");
        const std::string dead = data("SABIT.mdb.part") + std::to_string(child);
        for (const char* suffix : {"", "-wal", "-shm"})
            test::writeFile(dead + suffix, "left");
        set.VeriTabani_Ac(CompanyDatabases::Sabit);
        EXPECT_TRUE(set.IsOpen(CompanyDatabases::Sabit));
        set.VeriTabani_Kapat(CompanyDatabases::Sabit);
        for (const char* suffix : {"", "-wal", "-shm"})
            EXPECT_FALSE(fs::exists(dead + suffix)) << suffix;
        EXPECT_TRUE(fs::exists(live));
    }
    EXPECT_TRUE(boxes.shown.empty());
}

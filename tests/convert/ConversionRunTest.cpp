// The run from the confirmation to the completion message: folders, register, target by
// source type, progress bar, repeated runs, failures, and the dry run.
#include "convert/ConvertFixture.h"
#include "platform/core/Error.h"

#include <filesystem>

using namespace ktv;
using namespace ktv::test;
namespace fs = std::filesystem;

namespace {
SourceTables someCards()
{
    SourceTables t;
    for (int i = 0; i < 5; ++i)
        t.vehicles.push_back(
            {{"Kod", Value("V" + std::to_string(i))}, {"Isim", Value("n")}, {"Plaka", Value("p")}});
    for (int i = 0; i < 3; ++i)
        t.accounts.push_back({{"Kod", Value("C" + std::to_string(i))}, {"Isim", Value("n")}});
    for (int i = 0; i < 4; ++i)
        t.stock.push_back(
            {{"Tip", Value(i == 3 ? "Hizmet" : "Ürün")}, {"Kod", Value("S" + std::to_string(i))}});
    return t;
}
} // namespace

TEST_F(ConvertTest, NoToTheQuestionChangesNothing)
{
    makeSource(someCards());
    host.answerYes = false;
    const auto report = convert(request());
    EXPECT_FALSE(report.confirmed);
    ASSERT_EQ(host.confirmations.size(), 1u);
    EXPECT_EQ(host.confirmations[0], "Çevrim yapmak istiyor musunuz ?| V4KT");
    EXPECT_FALSE(fs::exists(dir.path() / "DATA"));
    EXPECT_TRUE(host.cursor.empty());
    EXPECT_TRUE(host.visible.empty());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ConvertTest, ProgressFollowsEveryTableAndTheRunEndsWithTheMessage)
{
    makeSource(someCards());
    convert(request());
    EXPECT_EQ(host.cursor, (std::vector<bool>{true, false}));
    EXPECT_EQ(host.visible, (std::vector<bool>{true, false}));
    EXPECT_EQ(host.finals, (std::vector<int>{5, 3, 4}));
    EXPECT_EQ(host.min, 0);
    EXPECT_EQ(host.pumps, 12) << "one yield before every source record";
    EXPECT_EQ(host.messages, (std::vector<std::string>{"Çevrim işlemi tamamlandı...|KTVedaz"}));
    EXPECT_FALSE(set.IsOpen(CompanyDatabases::Sabit));
    EXPECT_FALSE(set.IsOpen(CompanyDatabases::Ktfim));
    EXPECT_FALSE(set.IsOpen(CompanyDatabases::Ktchm));
}

TEST_F(ConvertTest, SecondRunAddsNothingAndStillCompletes)
{
    makeSource(someCards());
    convert(request());
    const auto second = convert(request());
    for (const auto& t : second.tables)
        EXPECT_EQ(t.added, 0) << t.table;
    EXPECT_EQ(second.tables[0].present, 5);
    EXPECT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(rows(yearDb("KTFIM.mdb"), "AracKarti").size(), 5u);
}

TEST_F(ConvertTest, PvdCardsGoToKtchmAndKtfimGetsOnlyTheCompany)
{
    makeSource(someCards(), "kaynak.pvd");
    convert(request("PVD", "kaynak.pvd"));
    EXPECT_EQ(rows(yearDb("KTCHM.mdb"), "AracKarti").size(), 5u);
    EXPECT_EQ(rows(yearDb("KTCHM.mdb"), "StokKart").size(), 3u);
    EXPECT_EQ(rows(yearDb("KTFIM.mdb"), "AracKarti").size(), 0u);
    EXPECT_EQ(rows(yearDb("KTFIM.mdb"), "CariKart").size(), 0u);
    const auto company = rows(yearDb("KTFIM.mdb"), "FirmaBilgi");
    ASSERT_EQ(company.size(), 1u);
    EXPECT_EQ(company[0].at("KB_Kod").toText(), "7");
    EXPECT_EQ(company[0].at("KB_Ad").toText(), "Yedi Ltd.");
}

TEST_F(ConvertTest, EmptySourceStillRecordsTheCompany)
{
    makeSource({});
    convert(request());
    EXPECT_EQ(host.max, -1) << "the bar keeps its values";
    EXPECT_EQ(host.visible, (std::vector<bool>{true, false}));
    EXPECT_EQ(host.messages.size(), 1u);
    const auto sabit = rows(dir.str() + "/DATA/SABIT.mdb", "FirmaBilgi");
    ASSERT_EQ(sabit.size(), 1u);
    EXPECT_EQ(sabit[0].at("SB_FirmaKod").toText(), "7");
    EXPECT_EQ(rows(yearDb("KTCHM.mdb"), "FirmaBilgi").size(), 1u);
}

TEST_F(ConvertTest, WrongPasswordFailsAtTheSourceAfterTheCompanyIsRecorded)
{
    makeSource(someCards(), "kaynak.ktd", "1234");
    try {
        convert(request());
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), dao::err::NotValidPassword);
    }
    set.VeriTabani_Kapat(CompanyDatabases::Ktfim);
    EXPECT_EQ(rows(dir.str() + "/DATA/SABIT.mdb", "FirmaBilgi").size(), 1u);
    EXPECT_TRUE(fs::exists(yearDb("KTFIM.mdb")));
    EXPECT_TRUE(fs::exists(yearDb("KTCHM.mdb")));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ConvertTest, MissingSourceFails) { EXPECT_THROW(convert(request("KTD", "yok.ktd")), Error); }

TEST_F(ConvertTest, DealerOfAnotherTypeWithTheSameCodeDoesNotCount)
{
    makeSource({});
    convert(request());
    {
        auto db = dao::Database::OpenDatabase(yearDb("KTFIM.mdb"));
        auto rs = db->OpenRecordset("CariKart", dao::RecordsetType::Dynaset);
        rs->AddNew();
        rs->SetField("Tip", Value("ALC"));
        rs->SetField("Kod", Value("B9"));
        rs->SetField("Ad", Value("Alıcı"));
        rs->Update();
        rs->AddNew();
        rs->SetField("Tip", Value("BAY"));
        rs->SetField("Kod", Value("B8"));
        rs->SetField("Ad", Value("Eski bayi"));
        rs->Update();
        rs->Close();
        db->Close();
    }
    makeSource({.accounts = {{{"Kod", Value("B9")}, {"Isim", Value("Yeni bayi")}},
                             {{"Kod", Value("B8")}, {"Isim", Value("Değişmiş ad")}}}});
    convert(request());
    const auto cards = rows(yearDb("KTFIM.mdb"), "CariKart");
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(cards[0].at("Ad").toText(), "Alıcı");
    EXPECT_EQ(cards[1].at("Ad").toText(), "Eski bayi") << "an existing dealer is never updated";
    EXPECT_EQ(cards[2].at("Tip").toText(), "BAY");
    EXPECT_EQ(cards[2].at("Kod").toText(), "B9");
}

TEST_F(ConvertTest, DryRunWritesNothingAndReportsWhatWouldBeAdded)
{
    makeSource(someCards());
    auto r = request();
    r.dryRun = true;
    const auto dry = convert(r);
    EXPECT_FALSE(fs::exists(dir.path() / "DATA"));
    ASSERT_EQ(dry.tables.size(), 3u);
    EXPECT_EQ(dry.tables[0].added, 5);
    EXPECT_EQ(dry.tables[2].added, 3);
    EXPECT_EQ(dry.tables[2].skipped, 1);

    convert(request());
    const auto after = convert(r);
    EXPECT_EQ(after.tables[0].added, 0);
    EXPECT_EQ(after.tables[0].present, 5);
}

TEST_F(ConvertTest, NoSourceTypeIsRefusedBeforeAnythingChanges)
{
    makeSource(someCards());
    const auto report = convert(request(""));
    EXPECT_FALSE(report.confirmed);
    EXPECT_TRUE(host.confirmations.empty());
    EXPECT_FALSE(fs::exists(dir.path() / "DATA"));
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(ConvertTest, YearDatabaseThatCannotBeMadeIsReportedAndTheRunEndsAtItsFirstUse)
{
    makeSource(someCards());
    fs::remove(dir.path() / "KTFIM.mdx");
    ScriptedMessageBoxes boxes;
    boxes.answer(MsgAnswer::Ok, 2); // the missing template, reported by the register step and by the run
    try {
        convert(request());
        FAIL() << "the lookups have no database to run on";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 3024) << "the run ends with the reason of the failed open, not 91";
    }
    ASSERT_FALSE(boxes.shown.empty());
    EXPECT_EQ(boxes.shown[0].title, "Genel HATA");
    EXPECT_NE(boxes.shown[0].text.find(" Prosedur Adi   : VeriTabani_Ac : 2\r\n"), std::string::npos);
    EXPECT_TRUE(host.messages.empty()) << "no completion message";
    EXPECT_EQ(rows(dir.str() + "/DATA/SABIT.mdb", "FirmaBilgi").size(), 1u) << "what was stored before stays";
}

// The JSON report is valid UTF-8 whatever bytes its texts hold (a folder or a code written in
// code page 1254): they are read as Windows-1254.
TEST(ConversionReportJson, IsValidUtf8WhateverItsTextsHold)
{
    ConversionReport report;
    report.target = "/veri/\xDE"
                    "irket/KTFIM.mdb";
    report.tables.push_back({.table = "AracKarti"});
    const std::string json = ReportToJson(report);
    EXPECT_NE(json.find("\"target\": \"/veri/Şirket/KTFIM.mdb\""), std::string::npos) << json;
    const std::string failed = FailedRunToJson(6, "Kod '\xC7"
                                                  "AK1'\n");
    EXPECT_EQ(failed, "{\n  \"error\": {\"number\": 6, \"description\": \"Kod 'ÇAK1'\\n\"}\n}\n");
}

// The three card transfers on real files: mapping, key cut, kinds, rounding, lengths,
// quotes, and the add-only rule.
#include "convert/Transfers.h"
#include "convert/ConvertFixture.h"
#include "platform/core/Error.h"
#include "platform/core/NumberFormat.h"

#include <filesystem>

using namespace ktv;
using namespace ktv::test;

namespace fs = std::filesystem;

namespace {
std::string txt(const Row& r, const std::string& c) { return r.at(c).toText(); }
} // namespace

TEST_F(ConvertTest, VehicleCardsKeyCutTrimAndNullKeys)
{
    makeSource({.vehicles = {
                    {{"Kod", Value("ABCDEFGHIJKL")},
                     {"Isim", Value("  Ayşe Yılmaz  ")},
                     {"Plaka", Value("34 ABC 1234 EK PLAKA")}},
                    {{"Kod", Value("ABCDEFGHIJXX")}, {"Isim", Value("Başka")}, {"Plaka", Value("06 A 1")}},
                    {{"Kod", Value(Null{})}, {"Isim", Value("Boş kod")}, {"Plaka", Value(Null{})}},
                    {{"Kod", Value(Null{})}, {"Isim", Value("İkinci boş")}, {"Plaka", Value("x")}},
                }});
    const auto report = convert(request());
    const auto cards = rows(yearDb("KTFIM.mdb"), "AracKarti");
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(txt(cards[0], "AracKod"), "ABCDEFGHIJ");
    EXPECT_EQ(txt(cards[0], "SurucuAd"), "Ayşe Yılmaz");
    EXPECT_EQ(txt(cards[0], "AracPlaka"), "34 ABC 1234 EK ");
    EXPECT_EQ(txt(cards[1], "AracKod"), "");
    EXPECT_EQ(txt(cards[1], "SurucuAd"), "Boş kod");
    EXPECT_EQ(txt(cards[1], "AracPlaka"), "");
    ASSERT_EQ(report.tables.size(), 3u);
    EXPECT_EQ(report.tables[0].read, 4);
    EXPECT_EQ(report.tables[0].added, 2);
    EXPECT_EQ(report.tables[0].present, 2);
    EXPECT_EQ(report.tables[0].cut, 3); // two keys and one plate
}

// A record whose card is already there is read no further than its key: the report counts
// the values cut of the cards written (and every key cut for its lookup), the same in a dry
// run, and a rerun that writes nothing reports only its keys.
TEST_F(ConvertTest, OnlyTheCardsWrittenCountTheirCutValues)
{
    const std::string longPlate = "34 ABC 1234 EK PLAKA"; // 20 characters, the column keeps 15
    makeSource(
        {.vehicles = {{{"Kod", Value("ABCDEFGHIJKL")}, {"Isim", Value("Bir")}, {"Plaka", Value(longPlate)}},
                      {{"Kod", Value("ABCDEFGHIJXX")},
                       {"Isim", Value(std::string(60, 'i'))},
                       {"Plaka", Value(longPlate)}}}});
    auto dry = request();
    dry.dryRun = true;
    for (const auto& report : {convert(dry), convert(request())}) {
        EXPECT_EQ(report.tables[0].added, 1);
        EXPECT_EQ(report.tables[0].present, 1);
        EXPECT_EQ(report.tables[0].cut, 3); // two keys and the plate of the card written
    }
    const auto rerun = convert(request());
    EXPECT_EQ(rerun.tables[0].present, 2);
    EXPECT_EQ(rerun.tables[0].cut, 2);
    const auto cards = rows(yearDb("KTFIM.mdb"), "AracKarti");
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(txt(cards[0], "SurucuAd"), "Bir");
}

TEST_F(ConvertTest, DealerCardsMapEveryColumn)
{
    const std::string longAddress(700, 'a');
    Row base = {{"Kod", Value("B1")},
                {"Isim", Value("Ege Süt")},
                {"Yetkili", Value("Ömer Işık")},
                {"AracKod", Value("ARC1")},
                {"Adres", Value(longAddress)},
                {"Semt", Value("Kadıköy")},
                {"Sehir", Value("İstanbul")},
                {"TelFaks", Value("0212 555 12 34 / 99")},
                {"VD", Value("Kadıköy V.D.")},
                {"VN", Value("1234567890")},
                {"Kredi", Value("1500")},
                {"Durum", Value(" Çalışıyor ")}};
    auto with = [&](const std::string& kod, const std::string& col, const Value& v) {
        Row r = base;
        r["Kod"] = Value(kod);
        r[col] = v;
        return r;
    };
    // Only blanks are trimmed: tabs stay, and a tab after the state makes it another state.
    Row tabs = with("\tA1\t", "Isim", Value("\tAd\t"));
    tabs["Durum"] = Value(" Çalışıyor\t");
    makeSource(
        {.accounts = {base, with("B2", "Durum", Value("çalışıyor")), with("B3", "Durum", Value("Pasif")),
                      with("B4", "Durum", Value("")), with("B5", "Durum", Value(Null{})),
                      with("B6", "Kredi", Value("abc")), with("B7", "Kredi", Value(Null{})),
                      with("B1", "Isim", Value("Sonraki kayıt")), tabs}});
    const auto report = convert(request());
    const auto cards = rows(yearDb("KTFIM.mdb"), "CariKart");
    ASSERT_EQ(cards.size(), 8u);
    const Row& c = cards[0];
    EXPECT_EQ(txt(c, "Tip"), "BAY");
    EXPECT_EQ(txt(c, "Kod"), "B1");
    EXPECT_EQ(txt(c, "Ad"), "Ege Süt");
    EXPECT_EQ(txt(c, "Yetkili"), "Ömer Işık");
    EXPECT_EQ(txt(c, "AracKod"), "ARC1");
    EXPECT_EQ(txt(c, "Adres"), longAddress);
    EXPECT_EQ(txt(c, "SemtIlce"), "Kadıköy");
    EXPECT_EQ(txt(c, "Sehir"), "İstanbul");
    EXPECT_EQ(txt(c, "Telefon"), "0212 555 12 34 ");
    EXPECT_EQ(txt(c, "Fax"), "0212 555 12 34 ");
    EXPECT_EQ(txt(c, "VergiDaire"), "Kadıköy V.D.");
    EXPECT_EQ(txt(c, "VergiNo"), "1234567890");
    EXPECT_EQ(c.at("KrediLimit").toText(), Value(1500).toText());
    EXPECT_EQ(c.at("Statu").toText(), "0");
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(cards[i].at("Statu").toText(), "1") << txt(cards[i], "Kod");
    EXPECT_EQ(cards[5].at("KrediLimit").toText(), "0");
    EXPECT_EQ(cards[6].at("KrediLimit").toText(), "0");
    EXPECT_EQ(txt(cards[7], "Kod"), "\tA1\t");
    EXPECT_EQ(txt(cards[7], "Ad"), "\tAd\t");
    EXPECT_EQ(txt(cards[7], "Statu"), "1");
    EXPECT_EQ(report.tables[1].present, 1);
}

TEST_F(ConvertTest, StockKindsRoundingAndLengths)
{
    NumberFormat::pin({'.', ','});
    auto stock = [](const char* tip, const char* kod, Value katsayi, Value kdv,
                    const char* duzey = "NORMAL") {
        return Row{{"Tip", tip ? Value(tip) : Value(Null{})},
                   {"Kod", Value(kod)},
                   {"Isim", Value("Süt")},
                   {"Birim1", Value("KOLİ")},
                   {"Katsayi", katsayi},
                   {"Birim2", Value("ADET")},
                   {"KDV", kdv},
                   {"Duzey", Value(duzey)}};
    };
    makeSource({.stock = {
                    stock("Ürün", "S1", Value("2.5"), Value("18"), "KRITIK"),
                    stock("Hizmet", "S2", Value("1"), Value("1")),
                    stock("ürün", "S3", Value("1"), Value("1")),
                    stock(nullptr, "S4", Value("1"), Value("1")),
                    stock("Malzeme", "S1", Value("3.5"), Value(Null{})),
                    stock(" Ara Ürün ", "S5", Value("x"), Value("8")),
                    stock("Ürün", "S6", Value("12"), Value("1")),
                    stock("Ürün", "S1", Value("99"), Value("99")),
                }});
    const auto report = convert(request());
    NumberFormat::unpin();
    const auto cards = rows(yearDb("KTFIM.mdb"), "StokKart");
    ASSERT_EQ(cards.size(), 4u);
    EXPECT_EQ(txt(cards[0], "Tip"), "U");
    EXPECT_EQ(txt(cards[0], "Kod"), "S1");
    EXPECT_EQ(txt(cards[0], "Katsayi"), "2");
    EXPECT_EQ(txt(cards[0], "KDV"), "18");
    EXPECT_EQ(txt(cards[0], "Durum"), "KRI");
    EXPECT_EQ(txt(cards[0], "Birim1"), "KOLİ");
    EXPECT_EQ(txt(cards[1], "Tip"), "M");
    EXPECT_EQ(txt(cards[1], "Kod"), "S1");
    EXPECT_EQ(txt(cards[1], "Katsayi"), "4");
    EXPECT_EQ(txt(cards[1], "KDV"), "0");
    EXPECT_EQ(txt(cards[2], "Tip"), "A");
    EXPECT_EQ(txt(cards[2], "Katsayi"), "0");
    EXPECT_EQ(txt(cards[3], "Katsayi"), "12");
    EXPECT_EQ(report.tables[2].skipped, 3);
    EXPECT_EQ(report.tables[2].present, 1);
    EXPECT_EQ(report.tables[2].added, 4);
}

TEST(StockRules, KindCodesStatuAndRounding)
{
    EXPECT_EQ(StockKindCode("Ürün"), "U");
    EXPECT_EQ(StockKindCode("Ara Ürün"), "A");
    EXPECT_EQ(StockKindCode("Malzeme"), "M");
    EXPECT_EQ(StockKindCode("ÜRÜN"), "");
    EXPECT_EQ(StockKindCode(""), "");
    EXPECT_EQ(DealerStatu("Çalışıyor"), 0);
    EXPECT_EQ(DealerStatu("ÇALIŞIYOR"), 1);
    NumberFormat::pin({',', '.'});
    EXPECT_EQ(RoundedWhole(Value("2,5")), Value(std::int64_t{2}));
    EXPECT_EQ(RoundedWhole(Value("3,5")), Value(std::int64_t{4}));
    EXPECT_EQ(RoundedWhole(Value("-2,5")), Value(std::int64_t{-2}));
    EXPECT_EQ(RoundedWhole(Value("2,51")), Value(std::int64_t{3}));
    EXPECT_EQ(RoundedWhole(Value(0)), Value(std::int64_t{0}));
    NumberFormat::unpin();
}

TEST_F(ConvertTest, CodesHoldingQuotesAreLookedUpAndStored)
{
    makeSource({.vehicles = {{{"Kod", Value("O'NEIL")}, {"Isim", Value("a")}, {"Plaka", Value("p")}},
                             {{"Kod", Value("O'NEIL")}, {"Isim", Value("b")}, {"Plaka", Value("q")}},
                             {{"Kod", Value("X' OR '1'='1")}, {"Isim", Value("c")}, {"Plaka", Value("r")}}}});
    convert(request());
    const auto cards = rows(yearDb("KTFIM.mdb"), "AracKarti");
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(txt(cards[0], "AracKod"), "O'NEIL");
    EXPECT_EQ(txt(cards[0], "SurucuAd"), "a");
    EXPECT_EQ(txt(cards[1], "AracKod"), "X' OR '1'=");
    const auto again = convert(request());
    EXPECT_EQ(again.tables[0].added, 0);
    EXPECT_EQ(again.tables[0].present, 3);
}

TEST_F(ConvertTest, NumberBeyondItsColumnEndsTheRunNamingRecordAndColumn)
{
    makeSource(
        {.vehicles = {{{"Kod", Value("V1")}, {"Isim", Value("a")}, {"Plaka", Value("p")}}},
         .stock = {
             {{"Tip", Value("Ürün")}, {"Kod", Value("OK1")}, {"Katsayi", Value("5")}, {"KDV", Value("18")}},
             {{"Tip", Value("Ürün")},
              {"Kod", Value("BIG")},
              {"Katsayi", Value("99999999999")},
              {"KDV", Value("1")}}}});
    // The dry run checks every value as the real run does, fails the same way, and writes nothing.
    auto dry = request();
    dry.dryRun = true;
    for (const auto& r : {dry, request()}) {
        try {
            convert(r);
            FAIL() << "the overflow must end the run, dry or not";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), 6);
            EXPECT_NE(e.description().find("StokKarti"), std::string::npos) << e.description();
            EXPECT_NE(e.description().find("'BIG'"), std::string::npos) << e.description();
            EXPECT_NE(e.description().find("Katsayi"), std::string::npos) << e.description();
        }
        EXPECT_EQ(fs::exists(dir.path() / "DATA"), !r.dryRun);
    }
    set.VeriTabani_Kapat(CompanyDatabases::Ktfim);
    EXPECT_EQ(rows(yearDb("KTFIM.mdb"), "AracKarti").size(), 1u) << "cards added before the failure stay";
    EXPECT_EQ(rows(yearDb("KTFIM.mdb"), "StokKart").size(), 1u);
}

// Keys are cut by characters and compare without regard to ASCII letter case, in a dry run as
// in the real one: against the target's cards and against the cards of the run itself.
TEST_F(ConvertTest, KeysCutByCharactersAndCompareWithoutAsciiCase)
{
    makeSource({.vehicles = {{{"Kod", Value("a1")}}}});
    convert(request());
    const std::string turkish = "ÇĞİÖŞÜçğöş"; // 10 characters, 20 bytes
    makeSource({.vehicles = {{{"Kod", Value("A1")}},
                             {{"Kod", Value("ab1")}},
                             {{"Kod", Value("AB1")}},
                             {{"Kod", Value(turkish + "ıı")}},
                             {{"Kod", Value(turkish + "X")}}}});
    auto dry = request();
    dry.dryRun = true;
    for (const auto& report : {convert(dry), convert(request())}) {
        EXPECT_EQ(report.tables[0].added, 2) << report.dryRun;
        EXPECT_EQ(report.tables[0].present, 3) << report.dryRun;
    }
    const auto cards = rows(yearDb("KTFIM.mdb"), "AracKarti");
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(txt(cards[0], "AracKod"), "a1");
    EXPECT_EQ(txt(cards[1], "AracKod"), "ab1");
    EXPECT_EQ(txt(cards[2], "AracKod"), turkish);
}

// Source text another tool stored in other bytes (Windows-1254, a NUL) is read once as the
// target stores it: looked up as stored, so the next run adds nothing, and cut by characters.
TEST_F(ConvertTest, SourceTextInOtherBytesIsLookedUpAsItIsStored)
{
    makeSource({});
    sourceSql("INSERT INTO AracKarti (Kod, Isim, Plaka) VALUES"
              " (X'C7414B31', X'C7', X'41B0B0B0B0B0B0B0B0B0B0B0B0B0B0B0B0'),"
              " (CAST(X'41004231' AS TEXT), CAST(X'00204E' AS TEXT), 'p'),"
              " (X'41B0B0B0B0B0B0B0B0B0B0B0B0', 'n', 'p')");
    for (const long added : {3, 0}) {
        const auto report = convert(request());
        EXPECT_EQ(report.tables[0].added, added);
        EXPECT_EQ(report.tables[0].present, 3 - added);
    }
    const auto cards = rows(yearDb("KTFIM.mdb"), "AracKarti");
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(txt(cards[0], "AracKod"), "ÇAK1");
    EXPECT_EQ(txt(cards[0], "SurucuAd"), "Ç");
    std::string plate = "A";
    for (int i = 0; i < 14; ++i)
        plate += "°";
    EXPECT_EQ(txt(cards[0], "AracPlaka"), plate);
    EXPECT_EQ(txt(cards[1], "AracKod"), "AB1");
    EXPECT_EQ(txt(cards[1], "SurucuAd"), "N") << "the NUL goes before the blank after it is trimmed";
    EXPECT_EQ(txt(cards[2], "AracKod"), "A°°°°°°°°°");
}

// A card the year database refuses ends the run naming its source record by table and key,
// the same way in every transfer; a stock card skipped before it passes no kind on.
TEST_F(ConvertTest, ARefusedCardNamesItsSourceRecordByTableAndKey)
{
    const std::string path = makeSource({.vehicles = {{{"Kod", Value(" V1 ")}}},
                                         .accounts = {{{"Kod", Value("C1")}}},
                                         .stock = {{{"Tip", Value("Hizmet")}, {"Kod", Value("H1")}},
                                                   {{"Tip", Value("Malzeme")}, {"Kod", Value("S1")}}}});
    auto source = dao::Database::OpenDatabase(path, false, true, ";pwd=7183");
    DryRunCardTarget target(nullptr, ""); // a year database without the card tables
    TransferContext ctx{*source, target, host};
    const struct {
        TableReport (*transfer)(TransferContext&);
        std::string named;
    } cases[] = {
        {Vedaz_AracKarti, "(AracKarti Kod 'V1', AracKarti.AracKod)"},
        {Vedaz_CariKart, "(CariKart Kod 'C1', CariKart.Tip)"},
        {Vedaz_StokKart, "(StokKarti Tip 'M' Kod 'S1', StokKart.Tip)"},
    };
    for (const auto& c : cases) {
        try {
            c.transfer(ctx);
            ADD_FAILURE() << "the card must be refused: " << c.named;
        } catch (const Error& e) {
            EXPECT_NE(e.description().find(c.named), std::string::npos) << e.description();
        }
    }
}

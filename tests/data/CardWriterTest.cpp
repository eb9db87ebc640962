// The add-if-new writer a conversion stores its cards with: one lookup and, for a new key,
// one insert per record, with the errors and the transaction a dynaset per record gives.
#include "DataTestSupport.h"
#include "data/DaoErrors.h"
#include "data/EngineClock.h"
#include "support/TestSupport.h"
#include "support/jet/JetTestFiles.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace ktv;
using namespace ktv::dao;
using ktv::test::errorOf;
using ktv::test::TempDir;

namespace {

const CardLayout kKart{"Kart", {"Tip", "Kod"}, {"Tip", "Kod", "Ad"}};

// The values of a new card, and how often they were asked for.
struct Card {
    std::vector<Value> values;
    int asked = 0;
    CardValues fill()
    {
        return [this]() -> std::vector<Value>& {
            ++asked;
            return values;
        };
    }
};

std::string context() { return "Kaynak Kod 'K1'"; }

std::vector<std::vector<std::string>> rows(Database& db)
{
    std::vector<std::vector<std::string>> out;
    auto rs = db.OpenRecordset("Kart", RecordsetType::Snapshot);
    for (; !rs->Eof(); rs->MoveNext())
        out.push_back({rs->Field("Tip").toText(), rs->Field("Kod").toText(), rs->Field("Ad").toText(),
                       rs->Field("Adet").toText()});
    return out;
}

TEST(CardWriter, AddsANewCardOnceAndAsksForItsValuesOnlyThen)
{
    TempDir dir;
    auto db = test::makeDatabase(dir.file("a.mdb"));
    test::addKart(*db, "BAY", "K0", "Var olan");
    auto writer = db->OpenCardWriter(kKart);

    Card first{{Value("BAY"), Value("K1"), Value("Çağrı Işık")}};
    EXPECT_TRUE(writer->AddIfNew({"BAY", "K1"}, first.fill(), context));
    EXPECT_EQ(first.asked, 1);

    // The same key in other letters, and the card that was there before: found, not asked.
    Card again{{Value("BAY"), Value("k1"), Value("ikinci")}};
    EXPECT_FALSE(writer->AddIfNew({"bay", "k1"}, again.fill(), context));
    EXPECT_FALSE(writer->AddIfNew({"BAY", "K0"}, again.fill(), context));
    EXPECT_EQ(again.asked, 0);

    // A key differing only in one condition is another card.
    Card other{{Value("YEN"), Value("K1"), Value(Null{})}};
    EXPECT_TRUE(writer->AddIfNew({"YEN", "K1"}, other.fill(), context));

    writer->Close();
    db->Close();
    auto check = Database::OpenDatabase(dir.file("a.mdb"));
    // Columns the writer does not name keep their defaults; a Null value stays Null.
    const std::vector<std::vector<std::string>> expected = {
        {"BAY", "K0", "Var olan", "0"}, {"BAY", "K1", "Çağrı Işık", "0"}, {"YEN", "K1", "", "0"}};
    EXPECT_EQ(rows(*check), expected);
    auto yen = check->OpenRecordset("SELECT * FROM Kart WHERE Tip = 'YEN'", RecordsetType::Snapshot);
    EXPECT_TRUE(yen->Field("Ad").isNull());
}

TEST(CardWriter, ARefusedValueStoresNothingOfItsCardAndNamesTheRecordAndColumn)
{
    TempDir dir;
    auto db = test::makeDatabase(dir.file("a.mdb"));
    auto writer = db->OpenCardWriter(kKart);

    Card tooLong{{Value("BAY"), Value("K1"), Value(std::string(51, 'x'))}};
    try {
        writer->AddIfNew({"BAY", "K1"}, tooLong.fill(), context);
        FAIL() << "a 51-character name went into a 50-character column";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::FieldTooSmall);
        EXPECT_NE(e.description().find("(Kaynak Kod 'K1', Kart.Ad)"), std::string::npos) << e.description();
    }
    EXPECT_TRUE(rows(*db).empty());

    // The writer goes on: the same key with a value that fits is added.
    Card fits{{Value("BAY"), Value("K1"), Value(std::string(50, 'x'))}};
    EXPECT_TRUE(writer->AddIfNew({"BAY", "K1"}, fits.fill(), context));

    // Bytes that are not UTF-8 are read as Windows-1254, as SetField reads them.
    Card legacy{{Value("BAY"), Value("K2"), Value(std::string("I\xFEIK"))}};
    EXPECT_TRUE(writer->AddIfNew({"BAY", "K2"}, legacy.fill(), context));
    EXPECT_EQ(rows(*db).back()[2], "IşIK");

    // A card with more or fewer values than the layout has columns is refused whole.
    Card shortCard{{Value("BAY"), Value("K3")}};
    EXPECT_EQ(errorOf([&] {
                  writer->AddIfNew({"BAY", "K3"}, shortCard.fill(), context);
              }),
              err::EngineFailure);
    EXPECT_EQ(rows(*db).size(), 2u);
}

TEST(CardWriter, KeysAndColumnsAreCheckedAsALookupAndSetFieldCheckThem)
{
    TempDir dir;
    auto db = test::makeDatabase(dir.file("a.mdb"));
    test::addKart(*db, "BAY", "K1");
    EXPECT_EQ(errorOf([&] { db->OpenCardWriter({"Yok", {"Kod"}, {"Kod"}}); }), err::TableNotFound);
    EXPECT_EQ(errorOf([&] { db->OpenCardWriter({"Kart", {"Yok"}, {"Kod"}}); }), err::TooFewParameters);

    // A number column as key: its literal is converted, and one that is no number refused.
    auto byCount = db->OpenCardWriter({"Kart", {"Adet"}, {"Adet", "Kod"}});
    Card seven{{Value("7"), Value("K7")}};
    EXPECT_TRUE(byCount->AddIfNew({"7"}, seven.fill(), context));
    EXPECT_FALSE(byCount->AddIfNew({"7.0"}, seven.fill(), context));
    EXPECT_EQ(errorOf([&] { byCount->AddIfNew({"yedi"}, seven.fill(), context); }), err::CriteriaMismatch);
    EXPECT_EQ(errorOf([&] { byCount->AddIfNew({"1", "2"}, seven.fill(), context); }), err::TooFewParameters);

    // A column the table lacks fails only when a card needs it, told like a refused value.
    auto lacking = db->OpenCardWriter({"Kart", {"Tip", "Kod"}, {"Tip", "Kod", "Eksik"}});
    Card card{{Value("BAY"), Value("K9"), Value("x")}};
    EXPECT_FALSE(lacking->AddIfNew({"BAY", "K1"}, card.fill(), context));
    try {
        lacking->AddIfNew({"BAY", "K9"}, card.fill(), context);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::ItemNotFound);
        EXPECT_NE(e.description().find("Kart.Eksik"), std::string::npos);
    }
    // A column named twice is a mistake of the caller, refused before anything is stored.
    auto twice = db->OpenCardWriter({"Kart", {"Kod"}, {"Kod", "Kod"}});
    Card dup{{Value("K8"), Value("K8")}};
    EXPECT_EQ(errorOf([&] { twice->AddIfNew({"K8"}, dup.fill(), context); }), err::EngineFailure);
    EXPECT_EQ(rows(*db).size(), 2u);
}

TEST(CardWriter, AReadOnlyFileIsLookedInAndARecordForItIsRefused)
{
    TempDir dir;
    const std::string path = dir.file("r.mdb");
    {
        auto db = test::makeDatabase(path);
        test::addKart(*db, "BAY", "K1");
    }
    auto db = Database::OpenDatabase(path, false, true);
    auto writer = db->OpenCardWriter(kKart);
    Card card{{Value("BAY"), Value("K2"), Value("x")}};
    EXPECT_FALSE(writer->AddIfNew({"BAY", "K1"}, card.fill(), context));
    EXPECT_EQ(errorOf([&] { writer->AddIfNew({"BAY", "K2"}, card.fill(), context); }), err::ReadOnly);

    // A Jet file is read only: it has no writer at all.
    auto jet = Database::OpenDatabase(test::copyJetFile(dir, "testV1997.mdb"));
    EXPECT_EQ(errorOf([&] { jet->OpenCardWriter(kKart); }), err::ReadOnly);
}

TEST(CardWriter, AWriterOfAClosedDatabaseFailsLikeAReleasedObject)
{
    TempDir dir;
    auto db = test::makeDatabase(dir.file("a.mdb"));
    auto writer = db->OpenCardWriter(kKart);
    Card card{{Value("BAY"), Value("K1"), Value("x")}};
    EXPECT_TRUE(writer->AddIfNew({"BAY", "K1"}, card.fill(), context));
    db->Close(); // commits; the writer's statements are released with the connection
    EXPECT_EQ(errorOf([&] { writer->AddIfNew({"BAY", "K2"}, card.fill(), context); }), err::ObjectClosed);
    writer->Close();
    EXPECT_EQ(errorOf([&] { writer->AddIfNew({"BAY", "K2"}, card.fill(), context); }), err::ObjectClosed);
    auto check = Database::OpenDatabase(dir.file("a.mdb"));
    EXPECT_EQ(rows(*check).size(), 1u);
}

// Between the lookup and the insert of one card no other writer may add the same key, even
// when the batch's 50 ms run out while the card's values are read.
TEST(CardWriter, TheLookupAndTheAddOfACardShareOneWriteBatch)
{
    TempDir dir;
    const std::string path = dir.file("KTFIM.mdb");
    auto now = std::chrono::steady_clock::now();
    setEngineClock([&] { return now; });
    const auto otherCanWrite = [&] {
        sqlite3* other = nullptr;
        sqlite3_open(path.c_str(), &other);
        const int rc = sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        return rc == SQLITE_OK;
    };
    {
        auto db = test::makeDatabase(path);
        auto writer = db->OpenCardWriter(kKart);
        std::vector<Value> values = {Value("BAY"), Value("K1"), Value("x")};
        bool lockedWhileAsked = false;
        EXPECT_TRUE(writer->AddIfNew(
            {"BAY", "K1"},
            [&]() -> std::vector<Value>& {
                now += std::chrono::seconds(1);
                lockedWhileAsked = !otherCanWrite();
                return values;
            },
            context));
        EXPECT_TRUE(lockedWhileAsked) << "the lock was given up between the lookup and the add";
        EXPECT_FALSE(otherCanWrite()); // stored, not yet committed
        // The next card's lookup finds the batch's time up: it is committed first.
        now += std::chrono::seconds(1);
        Card present{{}};
        EXPECT_FALSE(writer->AddIfNew({"BAY", "K1"}, present.fill(), context));
        db->Close();
        EXPECT_TRUE(otherCanWrite());
    }
    setEngineClock({});
    auto check = Database::OpenDatabase(path);
    EXPECT_EQ(rows(*check).size(), 1u);
}

// The same for a card whose lookup runs in a batch already open: its time running out while
// the values are read commits nothing before the add (another connection sees no card yet).
TEST(CardWriter, ACardLookedUpInAnOpenBatchIsAddedInThatBatch)
{
    TempDir dir;
    const std::string path = dir.file("KTFIM.mdb");
    auto now = std::chrono::steady_clock::now();
    setEngineClock([&] { return now; });
    const auto committedCards = [&] {
        sqlite3* other = nullptr;
        sqlite3_open(path.c_str(), &other);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(other, "SELECT count(*) FROM Kart", -1, &st, nullptr);
        const int n = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : -1;
        sqlite3_finalize(st);
        sqlite3_close(other);
        return n;
    };
    {
        auto db = test::makeDatabase(path);
        auto writer = db->OpenCardWriter(kKart);
        Card first{{Value("BAY"), Value("K1"), Value("x")}};
        EXPECT_TRUE(writer->AddIfNew({"BAY", "K1"}, first.fill(), context));
        std::vector<Value> values = {Value("BAY"), Value("K2"), Value("y")};
        EXPECT_TRUE(writer->AddIfNew(
            {"BAY", "K2"},
            [&]() -> std::vector<Value>& {
                now += std::chrono::seconds(1);
                return values;
            },
            context));
        EXPECT_EQ(committedCards(), 0) << "the batch was committed between a lookup and its add";
        db->Close();
    }
    setEngineClock({});
    EXPECT_EQ(committedCards(), 2);
}

} // namespace

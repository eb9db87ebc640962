// The wizard converting real Jet sources: a KTD file in Jet 4 and a PVD file in Jet 3, chosen
// and converted through the form's controls, and a Jet source with another password ending
// the program after the company has been recorded.
#include "WizardFixture.h"

#include "data/CompanyRegister.h"
#include "data/Dao.h"
#include "data/jetwriter/JetWriter.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <filesystem>

namespace fs = std::filesystem;

namespace ktv::test {
namespace {

using jet::JetType;

class JetSourceWizardTest : public WizardTest {
protected:
    // A Jet source in its own folder: two vehicles, a dealer whose code repeats, and stock
    // of a known and an unknown kind, with Turkish text and Nulls.
    std::string makeJetSource(const std::string& name, jet::JetHeader::Version version,
                              const std::string& password)
    {
        const std::string folder = (dir.path() / ("kaynak-" + name)).string();
        fs::create_directories(folder);
        jet::JetWriteOptions options;
        options.version = version;
        options.password = password;
        auto text = [](const char* n, int size = 50) { return jet::JetColumnSpec{n, JetType::Text, size}; };
        jet::JetWriter writer(folder + "/" + name, options,
                              {{"AracKarti", {text("Kod"), text("Isim", 100), text("Plaka")}},
                               {"CariKart",
                                {text("Kod"),
                                 text("Isim", 100),
                                 text("Yetkili", 100),
                                 text("AracKod"),
                                 {"Adres", JetType::Memo},
                                 text("Semt"),
                                 text("Sehir"),
                                 text("TelFaks"),
                                 text("VD"),
                                 text("VN"),
                                 text("Kredi"),
                                 text("Durum")}},
                               {"StokKarti",
                                {text("Tip"), text("Kod"), text("Isim", 100), text("Birim1"), text("Katsayi"),
                                 text("Birim2"), text("KDV"), text("Duzey")}}});
        writer.AddRow(0, {Value("ARC1"), Value("  Şükrü Öztürk "), Value("34 ŞE 12")});
        writer.AddRow(0, {Value("ARC2"), Value(), Value()});
        const std::string address =
            "İnönü Sok. No: 5 (depo girişi arka sokaktan, yükleme saatleri 08:00-17:00 arası)";
        for (const char* code : {"BAY-ÇĞ-000001", "BAY-ÇĞ-000001-B"}) // the same once cut to 10
            writer.AddRow(1, {Value(code), Value("Boğaziçi Dağıtım A.Ş."), Value(), Value("ARC1"),
                              Value(address), Value("Kadıköy"), Value("İstanbul"), Value("0216 555 10 20"),
                              Value("Üsküdar V.D."), Value("0123456789"), Value("1500"), Value("Çalışıyor")});
        writer.AddRow(2, {Value("Ürün"), Value("STK'1"), Value("Kaşar Peyniri"), Value("KG"), Value("2,5"),
                          Value("KOLİ"), Value("18"), Value("YÜKSEK")});
        writer.AddRow(2, {Value("Demirbaş"), Value("STK2"), Value("Masa"), Value("ADET"), Value(),
                          Value("ADET"), Value(), Value("")});
        writer.Finish();
        return folder;
    }

    // Page 1 and 2 filled through the controls, as an operator does it.
    void fillIn(int type, const std::string& folder, int code, const char* name)
    {
        choose(c().Cbo_KtdPvd, type);
        browser.answers.push_back(folder);
        click(c().Cmd_KlasorBul);
        doubleClickEntry(0);
        click(c().Cmd_Ileri);
        choose(c().Cbo_FirmaKodu, code - 1);
        c().Txt_FirmaAdi->setFocus();
        typeText(c().Txt_FirmaAdi, QString::fromUtf8(name));
        QTest::keyClick(c().Txt_FirmaAdi, Qt::Key_Return);
        choose(c().Cbo_VedazYili, 4);
    }

    std::vector<std::vector<Value>> rows(const std::string& dbPath, const std::string& table,
                                         const std::vector<std::string>& fields)
    {
        auto db = dao::Database::OpenDatabase(dbPath, false, true);
        auto rs = db->OpenRecordset(table, dao::RecordsetType::Snapshot);
        std::vector<std::vector<Value>> out;
        for (; !rs->Eof(); rs->MoveNext()) {
            out.emplace_back();
            for (const auto& f : fields)
                out.back().push_back(rs->Field(f));
        }
        return out;
    }

    std::string yearDb(const std::string& file, const std::string& code) const
    {
        return dir.str() + "/DATA/" + code + "/2004/" + file;
    }
};

struct JetSourceRow {
    const char* name;
    int type;
    const char* file;
    jet::JetHeader::Version version;
    const char* target;
    int code;
};

void PrintTo(const JetSourceRow& row, std::ostream* os) { *os << row.name; }

class JetSourceConversion : public JetSourceWizardTest, public ::testing::WithParamInterface<JetSourceRow> {};

TEST_P(JetSourceConversion, GivesTheCardsOfTheSource)
{
    const JetSourceRow& k = GetParam();
    const std::string folder = makeJetSource(k.file, k.version, "7183");
    open();
    boxes.shown.clear();
    fillIn(k.type, folder, k.code, "Güneş Gıda");
    ASSERT_EQ(c().Txt_SecilenDosya->text().toStdString(), k.file);
    boxes.answer(MsgAnswer::Yes); // confirmation
    boxes.answer(MsgAnswer::Ok);  // completion
    click(c().Cmd_CevrimYap);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "Çevrim işlemi tamamlandı...");

    const std::string db = yearDb(k.target, std::to_string(k.code));
    EXPECT_EQ(rows(db, "AracKarti", {"AracKod", "SurucuAd", "AracPlaka"}),
              (std::vector<std::vector<Value>>{{Value("ARC1"), Value("Şükrü Öztürk"), Value("34 ŞE 12")},
                                               {Value("ARC2"), Value(""), Value("")}}));
    // The second dealer collides with the first once cut to 10 characters: one card.
    const auto dealers = rows(db, "CariKart", {"Kod", "Ad", "Adres", "Sehir"});
    ASSERT_EQ(dealers.size(), 1u);
    EXPECT_EQ(dealers[0][0], Value("BAY-ÇĞ-000"));
    EXPECT_EQ(dealers[0][1], Value("Boğaziçi Dağıtım A.Ş."));
    EXPECT_EQ(dealers[0][2],
              Value("İnönü Sok. No: 5 (depo girişi arka sokaktan, yükleme saatleri 08:00-17:00 arası)"));
    EXPECT_EQ(dealers[0][3], Value("İstanbul"));
    // The unknown stock kind is skipped; the quote in a code arrives as it is.
    const auto stock = rows(db, "StokKart", {"Kod", "Ad"});
    ASSERT_EQ(stock.size(), 1u);
    EXPECT_EQ(stock[0], (std::vector<Value>{Value("STK'1"), Value("Kaşar Peyniri")}));
    EXPECT_EQ(FirmaAdiBul(form->databases(), std::to_string(k.code)), "Güneş Gıda");
    form.reset();
}

const JetSourceRow kJetSources[] = {
    {"KtdFromJet4", 0, "ornek.ktd", jet::JetHeader::Version::Jet4, "KTFIM.mdb", 3},
    {"PvdFromJet3", 1, "ornek.pvd", jet::JetHeader::Version::Jet3, "KTCHM.mdb", 4}};
INSTANTIATE_TEST_SUITE_P(Jet, JetSourceConversion, ::testing::ValuesIn(kJetSources),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(JetSourceWizardTest, AJetSourceWithAnotherPasswordEndsTheProgramAfterRecordingTheCompany)
{
    const std::string folder = makeJetSource("baska.ktd", jet::JetHeader::Version::Jet4, "1234");
    open();
    fillIn(0, folder, 6, "Altı");
    boxes.answer(MsgAnswer::Yes); // confirmation
    boxes.answer(MsgAnswer::Ok);  // the error
    ExitCatcher exits;
    try {
        form->runHandler(&Frm_Vedaz::Cmd_CevrimYap_Click);
        FAIL() << "the program should have ended";
    } catch (const ProgramEnded& e) {
        EXPECT_NE(e.status, 0);
    }
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].icon, MsgIcon::Critical);
    EXPECT_NE(boxes.shown[1].text.find("3031"), std::string::npos) << boxes.shown[1].text;
    EXPECT_EQ(FirmaAdiBul(form->databases(), "6"), "Altı");
    EXPECT_TRUE(fs::exists(yearDb("KTFIM.mdb", "6")));
}

} // namespace
} // namespace ktv::test

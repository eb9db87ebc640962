// Page 2's convert button on the real form: the whole way from the source file to the cards
// in the year database, the refused confirmation, the guard while a run yields to events,
// and the unhandled-error path.
#include "WizardFixture.h"

#include "app/ReportError.h"
#include "convert/SourceSchema.h"
#include "data/CompanyRegister.h"
#include "data/Dao.h"
#include "data/Schema.h"
#include "data/TemplateSchemas.h"
#include "data/pg/PgConnection.h"
#include "platform/core/NumberFormat.h"
#include "support/TestSupport.h"
#include "ui/wizard/FileListBox.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace ktv::test {
namespace {

class WizardConversionTest : public WizardTest {
protected:
    // A password-protected source with the given number of vehicle, dealer and stock cards.
    std::string makeSource(const std::string& name, int vehicles, int dealers, int stock)
    {
        const std::string folder = (dir.path() / "kaynak").string();
        fs::create_directories(folder);
        const std::string path = folder + "/" + name;
        dao::CreateDatabase(path, kSourceTablesSchema, "7183");
        auto db = dao::Database::OpenDatabase(path, false, false, ";pwd=7183");
        auto fill = [&](const char* table, int count, auto&& setFields) {
            auto rs = db->OpenRecordset(table, dao::RecordsetType::Dynaset);
            for (int i = 1; i <= count; ++i) {
                rs->AddNew();
                setFields(*rs, std::to_string(i));
                rs->Update();
            }
            rs->Close();
        };
        fill("AracKarti", vehicles, [](dao::Recordset& rs, const std::string& n) {
            rs.SetField("Kod", Value("ARAC" + n));
            rs.SetField("Isim", Value("Sürücü " + n));
            rs.SetField("Plaka", Value("34 AB " + n));
        });
        fill("CariKart", dealers, [](dao::Recordset& rs, const std::string& n) {
            rs.SetField("Kod", Value("CARI" + n));
            rs.SetField("Isim", Value("Bayi " + n));
        });
        fill("StokKarti", stock, [](dao::Recordset& rs, const std::string& n) {
            rs.SetField("Tip", Value("Ürün"));
            rs.SetField("Kod", Value("STOK" + n));
            rs.SetField("Isim", Value("Mal " + n));
        });
        db->Close();
        return folder;
    }

    long count(const std::string& dbPath, const std::string& table)
    {
        auto db = dao::Database::OpenDatabase(dbPath, false, true);
        auto rs = db->OpenRecordset(table, dao::RecordsetType::Snapshot);
        long n = 0;
        for (; !rs->Eof(); rs->MoveNext())
            ++n;
        return n;
    }

    std::string yearDb(const std::string& file, const std::string& code, const std::string& yr) const
    {
        return dir.str() + "/DATA/" + code + "/" + yr + "/" + file;
    }

    // Page 1 and 2 filled through the controls, as an operator does it.
    void fillIn(const std::string& folder, int fileRow, int code, const char* name)
    {
        choose(c().Cbo_KtdPvd, 0);
        browser.answers.push_back(folder);
        click(c().Cmd_KlasorBul);
        doubleClickEntry(fileRow);
        click(c().Cmd_Ileri);
        choose(c().Cbo_FirmaKodu, code - 1);
        c().Txt_FirmaAdi->setFocus();
        typeText(c().Txt_FirmaAdi, QString::fromUtf8(name));
        QTest::keyClick(c().Txt_FirmaAdi, Qt::Key_Return);
    }
};

TEST_F(WizardConversionTest, FromTheSourceFileToTheCardsAndBackOnTheNextStart)
{
    const std::string folder = makeSource("ornek.ktd", 3, 2, 4);
    makeSource("ikinci.ktd", 0, 0, 0);
    open();
    fillIn(folder, 1, 7, "Yedi Ltd"); // rows: ikinci.ktd, ornek.ktd
    ASSERT_EQ(c().Txt_SecilenDosya->text(), "ornek.ktd");
    ASSERT_EQ(QApplication::focusWidget(), c().Cbo_VedazYili);
    choose(c().Cbo_VedazYili, 4);
    EXPECT_EQ(settings(), "[CEVRIM]\r\nKLASOR=" + folder + "\r\nDOSYA=ornek.ktd\r\nKTDPVD=0\r\n");

    boxes.answer(MsgAnswer::Yes); // confirmation
    boxes.answer(MsgAnswer::Ok);  // completion
    click(c().Cmd_CevrimYap);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "Çevrim yapmak istiyor musunuz ?");
    EXPECT_EQ(boxes.shown[0].title, " V4KT");
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Question);
    EXPECT_EQ(boxes.shown[1].text, "Çevrim işlemi tamamlandı...");
    EXPECT_EQ(boxes.shown[1].title, "KTVedaz");
    EXPECT_EQ(boxes.shown[1].icon, MsgIcon::None);
    EXPECT_EQ(boxes.shown[1].buttons, MsgButtons::Ok);
    EXPECT_EQ(pointer.history, (std::vector<Pointer>{Pointer::Hourglass, Pointer::Default}));
    EXPECT_FALSE(c().PrgBar1->isVisible());
    EXPECT_EQ(c().PrgBar1->maximum(), 4) << "the bar keeps the count of the last table";
    EXPECT_EQ(c().PrgBar1->value(), 4);

    const std::string ktfim = yearDb("KTFIM.mdb", "7", "2004");
    EXPECT_EQ(count(ktfim, "AracKarti"), 3);
    EXPECT_EQ(count(ktfim, "CariKart"), 2);
    EXPECT_EQ(count(ktfim, "StokKart"), 4);
    EXPECT_EQ(count(ktfim, "FirmaBilgi"), 1);
    EXPECT_EQ(count(yearDb("KTCHM.mdb", "7", "2004"), "AracKarti"), 0);
    EXPECT_EQ(FirmaAdiBul(form->databases(), "7"), "Yedi Ltd");

    // Another file chosen afterwards is kept by Close with Yes.
    click(c().Cmd_Geri);
    doubleClickEntry(0);
    boxes.answer(MsgAnswer::Yes);
    click(c().Cmd_Kapat0);
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[2].text, "Yapılan Değişiklikleri Kaydetmek İster misiniz ?");
    EXPECT_EQ(settings(), "[CEVRIM]\r\nKLASOR=" + folder + "\r\nDOSYA=ikinci.ktd\r\nKTDPVD=0\r\n");

    open();
    EXPECT_EQ(c().Txt_Klasor->text().toStdString(), folder);
    EXPECT_EQ(c().Txt_SecilenDosya->text(), "ikinci.ktd");
    EXPECT_EQ(c().Cbo_KtdPvd->currentText(), "KTD");
    EXPECT_EQ(listed(), (QStringList{"ikinci.ktd", "ornek.ktd"}));
    EXPECT_EQ(c().File1->ListIndex(), 0);
    EXPECT_TRUE(c().Fra_1->isVisible());
}

// The window toolkit sets the C library's numbers from a Turkish environment; the wizard's
// stock cards are still exactly the command-line tool's: "3,5" gives 4 and "7,5" gives 8.
TEST_F(WizardConversionTest, TurkishNumbersUnderATurkishLocaleGiveTheToolsCards)
{
    const test::NumericLocale turkish("tr_TR.UTF-8");
    NumberFormat::pin(NumberFormat::fromLocaleName("tr_TR.UTF-8"), "tr_TR.UTF-8");
    struct Unpin {
        ~Unpin() { NumberFormat::unpin(); }
    } unpin;
    const std::string folder = makeSource("ornek.ktd", 0, 0, 1);
    {
        auto db = dao::Database::OpenDatabase(folder + "/ornek.ktd", false, false, ";pwd=7183");
        auto rs = db->OpenRecordset("StokKarti", dao::RecordsetType::Dynaset);
        rs->Edit();
        rs->SetField("Katsayi", Value("3,5"));
        rs->SetField("KDV", Value("7,5"));
        rs->Update();
        rs->Close();
    }
    open();
    fillIn(folder, 0, 3, "Üç");
    boxes.answer(MsgAnswer::Yes); // confirmation
    boxes.answer(MsgAnswer::Ok);  // completion
    click(c().Cmd_CevrimYap);
    auto db = dao::Database::OpenDatabase(yearDb("KTFIM.mdb", "3", "2005"), false, true);
    auto rs = db->OpenRecordset("StokKart", dao::RecordsetType::Snapshot);
    ASSERT_FALSE(rs->Eof());
    EXPECT_EQ(rs->Field("Katsayi").toText(), "4");
    EXPECT_EQ(rs->Field("KDV").toText(), "8");
}

TEST_F(WizardConversionTest, NoToTheConfirmationChangesNothing)
{
    const std::string folder = makeSource("ornek.ktd", 1, 0, 0);
    open();
    fillIn(folder, 0, 5, "Beş");
    boxes.answer(MsgAnswer::No);
    click(c().Cmd_CevrimYap);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_FALSE(fs::exists(dir.path() / "DATA" / "5"));
    EXPECT_TRUE(pointer.history.empty());
    EXPECT_FALSE(c().PrgBar1->isVisible());
}

TEST_F(WizardConversionTest, NoYearChosenAsksForOneAndWritesNothing)
{
    year = 2026; // after the list: nothing selected at start
    const std::string folder = makeSource("ornek.ktd", 1, 0, 0);
    open();
    fillIn(folder, 0, 4, "Dört");
    ASSERT_EQ(c().Cbo_VedazYili->currentIndex(), -1);
    boxes.answer(MsgAnswer::Ok);
    click(c().Cmd_CevrimYap);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Lütfen aktarım yılını seçiniz.");
    EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::Ok);
    EXPECT_FALSE(fs::exists(dir.path() / "DATA" / "4"));
    EXPECT_EQ(QApplication::focusWidget(), c().Cbo_VedazYili);
}

TEST_F(WizardConversionTest, ClicksAndClosingWhileTheRunYieldsAreGuarded)
{
    const std::string folder = makeSource("ornek.ktd", 5, 0, 0);
    open();
    fillIn(folder, 0, 2, "İki");
    QSignalSpy unloaded(form.get(), &Frm_Vedaz::unloaded);
    bool visibleDuringRun = false;
    // Runs inside the first event pump of the run, before its first record.
    QMetaObject::invokeMethod(
        form.get(),
        [&] {
            visibleDuringRun = c().PrgBar1->isVisible();
            click(c().Cmd_CevrimYap);
            click(c().Cmd_Geri);
            form->close();
            EXPECT_TRUE(form->isVisible()) << "the form outlives the run";
            EXPECT_TRUE(form->conversionRunning());
        },
        Qt::QueuedConnection);
    boxes.answer(MsgAnswer::Yes); // confirmation
    boxes.answer(MsgAnswer::Ok);  // completion
    click(c().Cmd_CevrimYap);
    EXPECT_TRUE(visibleDuringRun);
    ASSERT_EQ(boxes.shown.size(), 2u) << "one confirmation, one completion message: no second run";
    EXPECT_EQ(count(yearDb("KTFIM.mdb", "2", "2005"), "AracKarti"), 5);
    EXPECT_FALSE(c().Fra_2->isHidden()) << "Back was ignored during the run";
    EXPECT_TRUE(c().Fra_1->isHidden());
    EXPECT_EQ(unloaded.count(), 1) << "the close box was carried out when the run ended";
    EXPECT_FALSE(form->isVisible());
}

TEST_F(WizardConversionTest, CloseButtonDuringTheRunAsksAfterIt)
{
    const std::string folder = makeSource("ornek.ktd", 2, 0, 0);
    open();
    fillIn(folder, 0, 2, "İki");
    // A change after Next that keeps the source path valid: Close must ask.
    c().Txt_Klasor->setText(QString::fromStdString(folder + "/"));
    QSignalSpy unloaded(form.get(), &Frm_Vedaz::unloaded);
    QMetaObject::invokeMethod(
        form.get(), [&] { click(c().Cmd_Kapat1); }, Qt::QueuedConnection);
    boxes.answer(MsgAnswer::Yes); // confirmation
    boxes.answer(MsgAnswer::Ok);  // completion
    boxes.answer(MsgAnswer::No);  // save prompt
    click(c().Cmd_CevrimYap);
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[1].text, "Çevrim işlemi tamamlandı...");
    EXPECT_EQ(boxes.shown[2].text, "Yapılan Değişiklikleri Kaydetmek İster misiniz ?");
    EXPECT_EQ(unloaded.count(), 1);
}

TEST_F(WizardConversionTest, SourceThatCannotBeOpenedEndsTheProgramAfterRecordingTheCompany)
{
    open();
    fillIn(makeSource("ornek.ktd", 1, 0, 0), 0, 9, "Dokuz");
    c().Txt_SecilenDosya->setText("yok.ktd");
    ExitCatcher exits;
    boxes.answer(MsgAnswer::Yes); // confirmation
    boxes.answer(MsgAnswer::Ok);  // the unhandled-error box
    try {
        form->runHandler(&Frm_Vedaz::Cmd_CevrimYap_Click);
        FAIL() << "the program should have ended";
    } catch (const ProgramEnded& e) {
        EXPECT_NE(e.status, 0);
    }
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].title, kProgramName);
    EXPECT_EQ(boxes.shown[1].icon, MsgIcon::Critical);
    EXPECT_EQ(pointer.current, Pointer::Default);
    EXPECT_FALSE(form->conversionRunning());
    EXPECT_EQ(FirmaAdiBul(form->databases(), "9"), "Dokuz");
    EXPECT_EQ(count(yearDb("KTFIM.mdb", "9", "2005"), "FirmaBilgi"), 1);
}

TEST_F(WizardConversionTest, MissingTemplateIsReportedAndTheWizardGoesOn)
{
    fs::remove(dir.path() / "SABIT.mdx");
    boxes.answer(MsgAnswer::Ok); // the report of the missing template
    open();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Genel HATA");
    EXPECT_NE(boxes.shown[0].text.find("VeriTabani_Ac : 1"), std::string::npos);
    EXPECT_EQ(c().Txt_FirmaAdi->text(), "");
    EXPECT_EQ(c().Cbo_VedazYili->currentText(), "2005") << "the later steps still run";
    EXPECT_TRUE(form->isVisible());
}

// With SUNUCU in the settings file, the register lookup of page 2 and the conversion go to the
// server, and nothing to the DATA folder. Run by the wizard_server test on the server of the
// pg_server fixture (KTV_PG_STATE: its state folder), left out of the plain wizard tests.
class WizardServerTest : public WizardConversionTest {};

TEST_F(WizardServerTest, RegisterLookupAndConversionUseTheServerOfTheSettings)
{
    const char* state = std::getenv("KTV_PG_STATE");
    ASSERT_TRUE(state && *state) << "no test server: run through ctest's wizard_server";
    setenv("PGPASSFILE", (std::string(state) + "/pgpass").c_str(), 1);
    std::string admin = readFile(std::string(state) + "/conninfo");
    while (!admin.empty() && admin.back() == '\n')
        admin.pop_back();
    {
        dao::pg::PgConnection c(admin);
        c.exec("DROP DATABASE IF EXISTS ktv_wizard");
        c.exec("CREATE DATABASE ktv_wizard");
    }
    const std::string server = admin + " dbname=ktv_wizard"; // the later key wins
    {
        CompanyDatabases set;
        set.Server = server;
        Firma_Kaydet(set, "6", "Sunucu Ltd", "2003");
    }
    const std::string folder = makeSource("ornek.ktd", 3, 2, 4);
    writeFile(iniPath, "[CEVRIM]\r\nKLASOR=" + folder +
                           "\r\nDOSYA=ornek.ktd\r\nKTDPVD=0\r\nSUNUCU=" + server + "\r\n");
    open();
    click(c().Cmd_Ileri);
    choose(c().Cbo_FirmaKodu, 5);
    EXPECT_EQ(c().Txt_FirmaAdi->text(), "Sunucu Ltd") << "the name comes from the server's register";

    boxes.answer(MsgAnswer::Yes); // confirmation
    boxes.answer(MsgAnswer::Ok);  // completion
    click(c().Cmd_CevrimYap);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "Çevrim işlemi tamamlandı...");
    auto db = dao::Database::OpenServer(server, "ktfim_6_2005", TemplateSchema(CompanyDatabases::Ktfim),
                                        false, true);
    ASSERT_TRUE(db);
    long cards = 0;
    for (const char* table : {"AracKarti", "CariKart", "StokKart"})
        for (auto rs = db->OpenRecordset(table, dao::RecordsetType::Snapshot); !rs->Eof(); rs->MoveNext())
            ++cards;
    EXPECT_EQ(cards, 9);
    db->Close();
    EXPECT_FALSE(fs::exists(dir.path() / "DATA"));
}

} // namespace
} // namespace ktv::test

// The whole wizard from the keyboard alone, from page 1 to the completion message and out:
// Tab, Enter, the arrow keys, Esc and Alt with the access letter.
#include "WizardFixture.h"

#include "convert/SourceSchema.h"
#include "data/CompanyRegister.h"
#include "data/Dao.h"
#include "ui/wizard/FileListBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>

namespace fs = std::filesystem;

namespace ktv::test {
namespace {

class WizardKeyboardTest : public WizardTest {
protected:
    // A source file with one card of each kind.
    std::string makeSource(const std::string& name)
    {
        const std::string folder = (dir.path() / "kaynak").string();
        fs::create_directories(folder);
        const std::string path = folder + "/" + name;
        dao::CreateDatabase(path, kSourceTablesSchema, "7183");
        auto db = dao::Database::OpenDatabase(path, false, false, ";pwd=7183");
        auto add = [&](const char* table, std::initializer_list<std::pair<const char*, const char*>> fields) {
            auto rs = db->OpenRecordset(table, dao::RecordsetType::Dynaset);
            rs->AddNew();
            for (const auto& [field, value] : fields)
                rs->SetField(field, Value(std::string(value)));
            rs->Update();
            rs->Close();
        };
        add("AracKarti", {{"Kod", "ARAC1"}, {"Isim", "Sürücü"}, {"Plaka", "34 AB 1"}});
        add("CariKart", {{"Kod", "CARI1"}, {"Isim", "Bayi"}});
        add("StokKarti", {{"Tip", "Ürün"}, {"Kod", "STOK1"}, {"Isim", "Mal"}});
        db->Close();
        return folder;
    }

    static QWidget* focus() { return QApplication::focusWidget(); }

    // One keystroke to the focused control, as the keyboard delivers it; what a control posts
    // meanwhile is handled before the key comes up.
    static void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = focus();
        ASSERT_TRUE(target);
        QTest::keyPress(target, k, modifiers);
        QApplication::processEvents();
        if (focus())
            QTest::keyRelease(focus(), k, modifiers);
        QApplication::processEvents();
    }

    static void type(const QString& text)
    {
        for (const QChar ch : text) {
            const auto k = static_cast<Qt::Key>(ch.toUpper().unicode());
            QTest::sendKeyEvent(QTest::Press, focus(), k, QString(ch), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, focus(), k, QString(ch), Qt::NoModifier);
        }
    }
};

TEST_F(WizardKeyboardTest, FromPageOneToTheCompletionMessage)
{
    const std::string folder = makeSource("ornek.ktd");
    open();
    ASSERT_EQ(focus(), c().Cbo_KtdPvd);

    // Page 1: the type by arrow, the folder through the browse button, the file from the list.
    key(Qt::Key_Down);
    EXPECT_EQ(c().Cbo_KtdPvd->currentText(), "KTD");
    key(Qt::Key_Tab);
    EXPECT_EQ(focus(), c().Txt_Klasor);
    key(Qt::Key_Tab);
    ASSERT_EQ(focus(), c().Cmd_KlasorBul);
    browser.answers.push_back(folder);
    key(Qt::Key_Return);
    ASSERT_EQ(browser.calls.size(), 1u) << "Enter presses the focused button";
    EXPECT_EQ(c().Txt_Klasor->text(), QString::fromStdString(folder));
    key(Qt::Key_Tab);
    ASSERT_EQ(focus(), c().File1);
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    EXPECT_EQ(c().Txt_SecilenDosya->text(), "ornek.ktd") << "Enter picks the entry";
    key(Qt::Key_Tab);
    EXPECT_EQ(focus(), c().Txt_SecilenDosya);
    key(Qt::Key_Tab);
    ASSERT_EQ(focus(), c().Cmd_Ileri);
    key(Qt::Key_Right);
    EXPECT_EQ(focus(), c().Cmd_Kapat0) << "an arrow on a button moves along the tab order";
    key(Qt::Key_Left);
    ASSERT_EQ(focus(), c().Cmd_Ileri);
    key(Qt::Key_Return);
    ASSERT_TRUE(c().Fra_2->isVisible());
    ASSERT_EQ(focus(), c().Cbo_FirmaKodu);

    // Page 2: code by arrows, Enter on to the name, the year by arrow; a list opened and left
    // with Esc keeps its entry.
    for (int i = 0; i < 6; ++i)
        key(Qt::Key_Down);
    EXPECT_EQ(c().Cbo_FirmaKodu->currentText(), "7");
    key(Qt::Key_Return);
    ASSERT_EQ(focus(), c().Txt_FirmaAdi);
    type(QString::fromUtf8("Yedi Ltd"));
    key(Qt::Key_Return);
    ASSERT_EQ(focus(), c().Cbo_VedazYili);
    key(Qt::Key_Up);
    EXPECT_EQ(c().Cbo_VedazYili->currentText(), "2004");
    key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(c().Cbo_VedazYili->view()->isVisible());
    QTest::keyClick(c().Cbo_VedazYili->view(), Qt::Key_Down);
    QTest::keyClick(c().Cbo_VedazYili->view(), Qt::Key_Escape);
    EXPECT_FALSE(c().Cbo_VedazYili->view()->isVisible());
    EXPECT_EQ(c().Cbo_VedazYili->currentText(), "2004");
    key(Qt::Key_Return);
    ASSERT_EQ(focus(), c().Cmd_CevrimYap);

    boxes.answer(MsgAnswer::Yes); // "Çevrim yapmak istiyor musunuz ?"
    boxes.answer(MsgAnswer::Ok);  // the completion message
    key(Qt::Key_Return);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "Çevrim işlemi tamamlandı...");
    EXPECT_EQ(FirmaAdiBul(form->databases(), "7"), "Yedi Ltd");

    // Out with the access key of the close button.
    QSignalSpy unloaded(form.get(), &Frm_Vedaz::unloaded);
    key(Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_EQ(boxes.shown.size(), 2u) << "the settings were written by Next, so nothing to ask";
    EXPECT_EQ(settings(), "[CEVRIM]\r\nKLASOR=" + folder + "\r\nDOSYA=ornek.ktd\r\nKTDPVD=0\r\n");
}

} // namespace
} // namespace ktv::test

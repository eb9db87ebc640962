// Load, the first activation, Next, Back, Close with its prompt, the window's close box,
// and the keyboard conveniences of page 2.
#include "WizardFixture.h"

#include "data/CompanyRegister.h"
#include "ui/wizard/FileListBox.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>
#include <ostream>

namespace ktv::test {
namespace {

const char* const kPrompt = "Yapılan Değişiklikleri Kaydetmek İster misiniz ?";

TEST_F(WizardTest, FirstStartWithoutSettings)
{
    open();
    EXPECT_EQ(c().Txt_Klasor->text(), "");
    EXPECT_EQ(c().Txt_SecilenDosya->text(), "");
    EXPECT_EQ(c().Cbo_KtdPvd->currentIndex(), -1);
    EXPECT_EQ(c().Cbo_FirmaKodu->currentText(), "1");
    EXPECT_EQ(c().Txt_FirmaAdi->text(), "") << "an empty register knows no name";
    EXPECT_EQ(c().Cbo_VedazYili->currentText(), "2005");
    EXPECT_FALSE(form->Loading());
    EXPECT_TRUE(form->SettingsSaved());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(std::filesystem::exists(iniPath));
}

struct YearCase {
    const char* name;
    int now;
    int position;
};

void PrintTo(const YearCase& row, std::ostream* os) { *os << row.name; }

class YearAtStart : public WizardTest, public ::testing::WithParamInterface<YearCase> {};

TEST_P(YearAtStart, IsSelectedOnlyInsideTheList)
{
    year = GetParam().now;
    open();
    EXPECT_EQ(c().Cbo_VedazYili->currentIndex(), GetParam().position);
}

const YearCase kYears[] = {
    {"First2000", 2000, 0},  {"Last2010", 2010, 10}, {"Before1999", 1999, -1},
    {"After2011", 2011, -1}, {"Now2026", 2026, -1},
};
INSTANTIATE_TEST_SUITE_P(Clock, YearAtStart, ::testing::ValuesIn(kYears),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WizardTest, CodeSelectionLooksUpTheRegisteredName)
{
    open();
    // Register a company the way a conversion does, then choose its code.
    Firma_Kaydet(form->databases(), "3", "Üç Ltd", "2005");
    Firma_Kaydet(form->databases(), "1", "Bir AŞ", "2005");
    click(c().Cmd_Ileri);
    choose(c().Cbo_FirmaKodu, 2);
    EXPECT_EQ(c().Txt_FirmaAdi->text(), QString::fromUtf8("Üç Ltd"));
    choose(c().Cbo_FirmaKodu, 3);
    EXPECT_EQ(c().Txt_FirmaAdi->text(), "") << "an unknown code empties the name box";

    // The next start selects code 1 and shows its name.
    open();
    EXPECT_EQ(c().Txt_FirmaAdi->text(), QString::fromUtf8("Bir AŞ"));
}

TEST_F(WizardTest, ActivationRunsOnlyOnce)
{
    const std::string folder = makeFiles("kaynak", {"a.ktd", "b.ktd"});
    writeSettings(folder, "a.ktd", "0");
    open();
    choose(c().Cbo_KtdPvd, 1);
    c().Cbo_VedazYili->setCurrentIndex(7);
    c().Cbo_FirmaKodu->setCurrentIndex(4);
    // A message box or the folder dialog closing activates the window again.
    QEvent deactivate(QEvent::WindowDeactivate), activate(QEvent::WindowActivate);
    QApplication::sendEvent(form.get(), &deactivate);
    QApplication::sendEvent(form.get(), &activate);
    click(c().Cmd_KlasorBul);
    EXPECT_EQ(c().Cbo_KtdPvd->currentIndex(), 1);
    EXPECT_EQ(c().Cbo_VedazYili->currentIndex(), 7);
    EXPECT_EQ(c().Cbo_FirmaKodu->currentIndex(), 4);
}

TEST_F(WizardTest, NextThenCloseWithoutChangesNeitherAsksNorWrites)
{
    open();
    click(c().Cmd_Ileri);
    EXPECT_FALSE(c().Fra_1->isVisible());
    EXPECT_TRUE(c().Fra_2->isVisible());
    EXPECT_EQ(c().Fra_2->pos(), c().Fra_1->pos());
    EXPECT_EQ(QApplication::focusWidget(), c().Cbo_FirmaKodu);
    QSignalSpy unloaded(form.get(), &Frm_Vedaz::unloaded);
    click(c().Cmd_Kapat1);
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(std::filesystem::exists(iniPath));
}

TEST_F(WizardTest, NextWithAnEmptyFileBoxStoresADotAndCloseAsksAgain)
{
    open();
    const std::string folder = makeFiles("kaynak", {});
    browser.answers.push_back(folder);
    click(c().Cmd_KlasorBul);
    click(c().Cmd_Ileri);
    EXPECT_EQ(settings(), "[CEVRIM]\r\nKLASOR=" + folder + "\r\nDOSYA=.\r\nKTDPVD=-1\r\n");
    click(c().Cmd_Geri);
    EXPECT_TRUE(c().Fra_1->isVisible());
    EXPECT_FALSE(c().Fra_2->isVisible());
    EXPECT_EQ(c().Txt_SecilenDosya->text(), ".");

    boxes.answer(MsgAnswer::No);
    click(c().Cmd_Kapat0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, kPrompt);
    EXPECT_EQ(boxes.shown[0].title, " V4KT");
    EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Question);
}

TEST_F(WizardTest, CloseWithNoKeepsTheFileAndWithYesWritesAllThreeKeys)
{
    const std::string first = makeFiles("bir", {"a.ktd"});
    const std::string second = makeFiles("iki", {"b.pvd"});
    writeSettings(first, "a.ktd", "0");
    const std::string before = settings();

    open();
    browser.answers.push_back(second);
    click(c().Cmd_KlasorBul);
    boxes.answer(MsgAnswer::No);
    click(c().Cmd_Kapat0);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(settings(), before);

    open();
    browser.answers.push_back(second);
    click(c().Cmd_KlasorBul);
    choose(c().Cbo_KtdPvd, 1);
    doubleClickEntry(0);
    boxes.answer(MsgAnswer::Yes);
    click(c().Cmd_Kapat0);
    EXPECT_EQ(settings(), "[CEVRIM]\r\nKLASOR=" + second + "\r\nDOSYA=b.pvd\r\nKTDPVD=1\r\n");
}

TEST_F(WizardTest, TypeChoiceAloneIsAChangeToSave)
{
    open();
    choose(c().Cbo_KtdPvd, 1);
    EXPECT_FALSE(form->SettingsSaved());
    boxes.answer(MsgAnswer::Yes);
    click(c().Cmd_Kapat0);
    EXPECT_EQ(settings(), "[CEVRIM]\r\nKLASOR=.\r\nDOSYA=.\r\nKTDPVD=1\r\n");
}

TEST_F(WizardTest, WindowCloseBoxClosesWithoutPromptOrWriting)
{
    open();
    browser.answers.push_back(makeFiles("kaynak", {}));
    click(c().Cmd_KlasorBul);
    ASSERT_FALSE(form->SettingsSaved());
    QSignalSpy unloaded(form.get(), &Frm_Vedaz::unloaded);
    form->close();
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(std::filesystem::exists(iniPath));
}

TEST_F(WizardTest, EnterMovesOnAndNameBoxSelectsItsText)
{
    open();
    click(c().Cmd_Ileri);
    c().Txt_FirmaAdi->setText("Eski Ad");
    ASSERT_EQ(QApplication::focusWidget(), c().Cbo_FirmaKodu);

    QTest::keyClick(c().Cbo_FirmaKodu, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), c().Txt_FirmaAdi);
    EXPECT_EQ(c().Txt_FirmaAdi->selectedText(), "Eski Ad") << "the whole name is selected on focus";

    QTest::keyClick(c().Txt_FirmaAdi, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(c().Txt_FirmaAdi, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), c().Txt_FirmaAdi) << "Enter with a modifier does nothing";

    QTest::keyClick(c().Txt_FirmaAdi, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(QApplication::focusWidget(), c().Cbo_VedazYili);
    QTest::keyClick(c().Cbo_VedazYili, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), c().Cmd_CevrimYap);
    EXPECT_TRUE(boxes.shown.empty()) << "Enter never presses a button";

    // Typing into the selected name replaces it.
    c().Txt_FirmaAdi->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(c().Txt_FirmaAdi, "Yeni");
    EXPECT_EQ(c().Txt_FirmaAdi->text(), "Yeni");
    // No longer than the register keeps, so a long name cannot stop the conversion.
    QTest::keyClicks(c().Txt_FirmaAdi, QString(60, QLatin1Char('x')));
    EXPECT_EQ(c().Txt_FirmaAdi->text().size(), 50);

    // Page 1 boxes have no such handling.
    click(c().Cmd_Geri);
    c().Txt_Klasor->setFocus();
    QTest::keyClick(c().Txt_Klasor, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), c().Txt_Klasor);
}

TEST_F(WizardTest, ClickingIntoTheNameBoxSelectsTheWholeName)
{
    open();
    click(c().Cmd_Ileri);
    c().Txt_FirmaAdi->setText("Eski Ad");
    ASSERT_EQ(QApplication::focusWidget(), c().Cbo_FirmaKodu);
    QTest::mouseClick(c().Txt_FirmaAdi, Qt::LeftButton, {}, QPoint(5, c().Txt_FirmaAdi->height() / 2));
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), c().Txt_FirmaAdi);
    EXPECT_EQ(c().Txt_FirmaAdi->selectedText(), "Eski Ad")
        << "a click that brings the focus selects the name";
    QTest::keyClicks(c().Txt_FirmaAdi, "Yeni");
    EXPECT_EQ(c().Txt_FirmaAdi->text(), "Yeni");

    // A click into the box that already has the focus only places the caret.
    QTest::mouseClick(c().Txt_FirmaAdi, Qt::LeftButton, {}, QPoint(5, c().Txt_FirmaAdi->height() / 2));
    QCoreApplication::processEvents();
    EXPECT_EQ(c().Txt_FirmaAdi->selectedText(), "");
}

} // namespace
} // namespace ktv::test

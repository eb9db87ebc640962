// The wizard's model: it follows what the pages show, the conversion request is made from it,
// and only a real change of page 1 counts as a change to save.
#include "WizardFixture.h"

#include "convert/ConversionRun.h"
#include "ui/wizard/FileListBox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace ktv::test {
namespace {

// The operator opens the list and takes the entry it shows with Enter.
void reselect(QComboBox* box)
{
    box->setFocus();
    box->showPopup();
    QTest::keyClick(box->view(), Qt::Key_Return);
}

TEST_F(WizardTest, ChoosingTheTypeAlreadyChosenIsNoChange)
{
    const std::string folder = makeFiles("kaynak", {"a.ktd"});
    writeSettings(folder, "a.ktd", "0");
    const std::string before = settings();
    open();
    ASSERT_EQ(c().Cbo_KtdPvd->currentIndex(), 0);
    reselect(c().Cbo_KtdPvd);
    EXPECT_EQ(c().Cbo_KtdPvd->currentIndex(), 0);
    EXPECT_TRUE(form->SettingsSaved());
    click(c().Cmd_Kapat0);
    EXPECT_TRUE(boxes.shown.empty()) << "nothing changed, so Close asks nothing";
    EXPECT_EQ(settings(), before);
}

TEST_F(WizardTest, ChoosingAnotherTypeAndBackIsStillAChange)
{
    open();
    choose(c().Cbo_KtdPvd, 1);
    choose(c().Cbo_KtdPvd, 0);
    EXPECT_FALSE(form->SettingsSaved());
    EXPECT_EQ(form->model().type, SourceType::Ktd);
}

TEST_F(WizardTest, ModelFollowsThePagesAndMakesTheRequest)
{
    const std::string folder = makeFiles("kaynak", {"a.ktd", "b.pvd"});
    writeSettings(folder, "a.ktd", "1");
    open();
    EXPECT_EQ(form->model().folder, folder);
    EXPECT_EQ(form->model().file, "a.ktd");
    EXPECT_EQ(form->model().type, SourceType::Pvd);
    EXPECT_EQ(form->model().code, "1");
    EXPECT_EQ(form->model().year, "2005");

    doubleClickEntry(0); // the PVD type lists b.pvd only
    EXPECT_EQ(form->model().file, "b.pvd");
    click(c().Cmd_Ileri);
    choose(c().Cbo_FirmaKodu, 6);
    choose(c().Cbo_VedazYili, 9);
    c().Txt_FirmaAdi->setFocus();
    typeText(c().Txt_FirmaAdi, QString::fromUtf8("Yedi Ölçü"));

    // The convert button stores page 2 before it builds the request; the request is the model's.
    boxes.answer(MsgAnswer::No); // "Çevrim yapmak istiyor musunuz ?"
    click(c().Cmd_CevrimYap);
    ASSERT_EQ(boxes.shown.size(), 1u);
    const ConversionRequest r = form->model().request(" V4KT");
    EXPECT_EQ(r.sourceType, SourceType::Pvd);
    EXPECT_EQ(r.folder, folder);
    EXPECT_EQ(r.fileName, "b.pvd");
    EXPECT_EQ(r.companyCode, "7");
    EXPECT_EQ(r.companyName, "Yedi Ölçü");
    EXPECT_EQ(r.year, "2009");
}

TEST(WizardModel, TypeNameIsTheListEntryOrEmpty)
{
    WizardModel m;
    EXPECT_EQ(m.typeName(), "");
    m.type = SourceTypeAt(0);
    EXPECT_EQ(m.typeName(), "KTD");
    m.type = SourceTypeAt(1);
    EXPECT_EQ(m.typeName(), "PVD");
    m.type = SourceTypeAt(2);
    EXPECT_EQ(m.typeName(), "");
}

} // namespace
} // namespace ktv::test

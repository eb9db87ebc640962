// The wizard's window, its controls at their places and the Tab order of each page.
#include "WizardFixture.h"

#include "ui/wizard/FileListBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QTest>

#include "ui/controls/button/qvButtons_H.h"

namespace ktv::test {
namespace {

QString textOf(QWidget* w)
{
    if (auto* b = qobject_cast<qvButtons_H*>(w))
        return b->Caption();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    return {};
}

TEST_F(WizardTest, WindowCaptionSizeAndFont)
{
    open();
    EXPECT_EQ(form->windowTitle(), QStringLiteral(" V4KT"));
    EXPECT_EQ(form->size(), QSize(370, 453));
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
        EXPECT_EQ(QFontInfo(form->font()).family(), QStringLiteral("Tahoma"));
    }
}

TEST_F(WizardTest, TheFormFontDrawsTurkishCapitalsWithTheirMarks)
{
    open();
    auto draw = [&](const QString& text) {
        QImage image(40, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QFont font = form->font();
        font.setPixelSize(30);
        painter.setFont(font);
        painter.drawText(image.rect(), Qt::AlignCenter, text);
        return image;
    };
    EXPECT_NE(draw(QStringLiteral("İ")), draw(QStringLiteral("I")));
    EXPECT_NE(draw(QStringLiteral("Ş")), draw(QStringLiteral("S")));
    EXPECT_NE(draw(QStringLiteral("Ö")), draw(QStringLiteral("O")));
}

struct ControlPlace {
    const char* row;
    QWidget* (*widget)(const WizardControls&);
    const char* name;
    const char* parent;
    const char* text; // nullptr: no caption to check
    QRect rect;       // pixels relative to the container
};

#define AT(control) #control, [](const WizardControls& k) -> QWidget* { return k.control; }
const ControlPlace kPlaces[] = {
    {AT(Fra_1), "Fra_1", "Frm_Vedaz", " DOSYA SEÇİMİ ", {3, 0, 364, 448}},
    {AT(Label3), "Label3", "Fra_1", "KTD/PVD :", {9, 27, 76, 21}},
    {AT(Cbo_KtdPvd), "Cbo_KtdPvd", "Fra_1", nullptr, {87, 24, 100, 22}},
    {AT(Label1), "Label1", "Fra_1", "Çevrim Yapılacak Dosyaların Bulunduğu Klasör", {9, 81, 292, 21}},
    {AT(Txt_Klasor), "Txt_Klasor", "Fra_1", nullptr, {9, 99, 292, 21}},
    {AT(Cmd_KlasorBul), "Cmd_KlasorBul", "Fra_1", "Gözat", {306, 96, 49, 24}},
    {AT(File1), "File1", "Fra_1", nullptr, {9, 132, 292, 202}},
    {AT(Label2), "Label2", "Fra_1", "Çevrim Yapılacak Dosyanın Adı", {9, 345, 292, 21}},
    {AT(Txt_SecilenDosya), "Txt_SecilenDosya", "Fra_1", nullptr, {9, 363, 292, 21}},
    {AT(Cmd_Ileri), "Cmd_Ileri", "Fra_1", "İleri >>", {141, 396, 73, 39}},
    {AT(Cmd_Kapat0), "Cmd_Kapat", "Fra_1", "K&apat", {240, 396, 73, 39}},
    {AT(Fra_2), "Fra_2", "Frm_Vedaz", " HEDEF DOSYA SEÇİMİ ", {378, 0, 364, 448}},
    {AT(Fra_YeniFirma), "Fra_YeniFirma", "Fra_2", " YENİ FİRMA BİLGİSİ ", {6, 21, 353, 94}},
    {AT(Lbl_YeniFirmaKodu), "Lbl_YeniFirmaKodu", "Fra_YeniFirma", " FİRMA KODU", {9, 24, 82, 19}},
    {AT(Cbo_FirmaKodu), "Cbo_FirmaKodu", "Fra_YeniFirma", nullptr, {93, 24, 70, 22}},
    {AT(Lbl_YeniFirmaAdi), "Lbl_YeniFirmaAdi", "Fra_YeniFirma", " FİRMA ADI", {9, 54, 82, 19}},
    {AT(Txt_FirmaAdi), "Txt_FirmaAdi", "Fra_YeniFirma", nullptr, {93, 54, 250, 21}},
    {AT(Label4), "Label4", "Fra_2", "Hangi Yıla Aktarım Yapılacak ? :", {12, 132, 193, 21}},
    {AT(Cbo_VedazYili), "Cbo_VedazYili", "Fra_2", nullptr, {210, 129, 100, 22}},
    {AT(Cmd_Geri), "Cmd_Geri", "Fra_2", "<< Geri", {48, 222, 76, 39}},
    {AT(Cmd_CevrimYap), "Cmd_CevrimYap", "Fra_2", "Çevrim Yap", {141, 222, 76, 39}},
    {AT(Cmd_Kapat1), "Cmd_Kapat", "Fra_2", "K&apat", {237, 222, 76, 39}},
    {AT(PrgBar1), "PrgBar1", "Fra_2", nullptr, {18, 294, 325, 28}},
};
#undef AT

class ControlPlaces : public WizardTest, public ::testing::WithParamInterface<ControlPlace> {};

TEST_P(ControlPlaces, HaveTheirNameTextPlaceAndContainer)
{
    open();
    const ControlPlace& e = GetParam();
    QWidget* widget = e.widget(c());
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->objectName(), QString::fromUtf8(e.name));
    EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromUtf8(e.parent));
    EXPECT_EQ(widget->geometry(), e.rect);
    if (e.text) {
        EXPECT_EQ(textOf(widget), QString::fromUtf8(e.text));
    }
}

INSTANTIATE_TEST_SUITE_P(Layout, ControlPlaces, ::testing::ValuesIn(kPlaces),
                         [](const auto& info) { return std::string(info.param.row); });

TEST_F(WizardTest, ListsHoldTheirEntriesAndPageOneIsInFront)
{
    open();
    const WizardControls& k = c();
    EXPECT_EQ(k.Cmd_Kapat0->property("Index").toInt(), 0);
    EXPECT_EQ(k.Cmd_Kapat1->property("Index").toInt(), 1);

    QStringList types, codes, years;
    for (int i = 0; i < k.Cbo_KtdPvd->count(); ++i)
        types << k.Cbo_KtdPvd->itemText(i);
    for (int i = 0; i < k.Cbo_FirmaKodu->count(); ++i)
        codes << k.Cbo_FirmaKodu->itemText(i);
    for (int i = 0; i < k.Cbo_VedazYili->count(); ++i)
        years << k.Cbo_VedazYili->itemText(i);
    EXPECT_EQ(types, (QStringList{"KTD", "PVD"}));
    EXPECT_EQ(codes.size(), 20);
    EXPECT_EQ(codes.first(), "1");
    EXPECT_EQ(codes.last(), "20");
    EXPECT_EQ(years, (QStringList{"2000", "2001", "2002", "2003", "2004", "2005", "2006", "2007", "2008",
                                  "2009", "2010"}));
    // Page 1 in front, page 2 hidden, the bar hidden until a run shows it.
    EXPECT_TRUE(k.Fra_1->isVisible());
    EXPECT_FALSE(k.Fra_2->isVisible());
    EXPECT_FALSE(k.PrgBar1->isVisibleTo(k.Fra_2));
}

// Walks the focus with Tab (or Shift+Tab) from the current focus widget.
QStringList walk(QWidget* window, int steps, bool backwards = false)
{
    QStringList names;
    for (int i = 0; i < steps; ++i) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window,
                        backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                        backwards ? Qt::ShiftModifier : Qt::NoModifier);
        QWidget* f = QApplication::focusWidget();
        names << (f ? f->objectName() : QStringLiteral("<none>"));
    }
    return names;
}

TEST_F(WizardTest, TabOrderOfEachPageWrapsAround)
{
    open();
    ASSERT_EQ(QApplication::focusWidget(), c().Cbo_KtdPvd) << "the focus starts on the type list";
    EXPECT_EQ(walk(form.get(), 7), (QStringList{"Txt_Klasor", "Cmd_KlasorBul", "File1", "Txt_SecilenDosya",
                                                "Cmd_Ileri", "Cmd_Kapat", "Cbo_KtdPvd"}));
    EXPECT_EQ(walk(form.get(), 1, true), QStringList{"Cmd_Kapat"});

    click(c().Cmd_Ileri);
    ASSERT_EQ(QApplication::focusWidget(), c().Cbo_FirmaKodu);
    EXPECT_EQ(walk(form.get(), 6), (QStringList{"Txt_FirmaAdi", "Cbo_VedazYili", "Cmd_CevrimYap", "Cmd_Kapat",
                                                "Cmd_Geri", "Cbo_FirmaKodu"}));
    EXPECT_EQ(QApplication::focusWidget(), c().Cbo_FirmaKodu);
}

} // namespace
} // namespace ktv::test

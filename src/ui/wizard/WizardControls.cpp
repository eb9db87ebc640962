// The wizard's layout. Positions are the designer's twips divided by 15.
#include "ui/wizard/WizardControls.h"

#include "ui/controls/button/qvButtons_H.h"
#include "ui/wizard/FileListBox.h"
#include "ui/wizard/WizardAccessible.h"
#include "ui/wizard/WizardModel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QWidget>

namespace ktv {

namespace {

// Twips to pixels at the designer's 15 twips per pixel.
QRect tw(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

template <class W> W* place(W* widget, const char* name, const QRect& geometry)
{
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const char* text, const QRect& geometry)
{
    return place(new QLabel(QString::fromUtf8(text), parent), name, geometry);
}

QComboBox* comboBox(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* box = place(new QComboBox(parent), name, geometry);
    // The program only ever selects entries of the lists, so they take no typed text.
    box->setEditable(false);
    box->setFocusPolicy(Qt::StrongFocus);
    return box;
}

QLineEdit* textBox(QWidget* parent, const char* name, const QRect& geometry)
{
    return place(new QLineEdit(parent), name, geometry);
}

QGroupBox* frame(QWidget* parent, const char* name, const char* caption, const QRect& geometry)
{
    auto* box = place(new QGroupBox(QString::fromUtf8(caption), parent), name, geometry);
    // Named by its own caption: left unnamed, a frame inside a frame reads as the outer one.
    box->setAccessibleName(box->title().trimmed());
    return box;
}

} // namespace

WizardControls buildWizardControls(QWidget* form)
{
    WizardControls c;

    c.Fra_1 = frame(form, "Fra_1", " DOSYA SEÇİMİ ", tw(45, 0, 5460, 6720));
    c.Label3 = label(c.Fra_1, "Label3", "KTD/PVD :", tw(135, 405, 1140, 315));
    c.Cbo_KtdPvd = comboBox(c.Fra_1, "Cbo_KtdPvd", tw(1305, 360, 1500, 330));
    for (const SourceType type : kSourceTypes)
        c.Cbo_KtdPvd->addItem(QString::fromLatin1(SourceTypeName(type)));
    c.Cbo_KtdPvd->setCurrentIndex(-1);
    c.Label1 =
        label(c.Fra_1, "Label1", "Çevrim Yapılacak Dosyaların Bulunduğu Klasör", tw(135, 1215, 4380, 315));
    c.Txt_Klasor = textBox(c.Fra_1, "Txt_Klasor", tw(135, 1485, 4380, 315));
    c.Cmd_KlasorBul = makeWizardButton(c.Fra_1, QStringLiteral("Cmd_KlasorBul"), QStringLiteral("Gözat"),
                                       tw(4590, 1440, 735, 360));
    c.File1 = place(new FileListBox(c.Fra_1), "File1", tw(135, 1980, 4380, 3030));
    c.Label2 = label(c.Fra_1, "Label2", "Çevrim Yapılacak Dosyanın Adı", tw(135, 5175, 4380, 315));
    c.Txt_SecilenDosya = textBox(c.Fra_1, "Txt_SecilenDosya", tw(135, 5445, 4380, 315));
    c.Cmd_Ileri = makeWizardButton(c.Fra_1, QStringLiteral("Cmd_Ileri"), QStringLiteral("İleri >>"),
                                   tw(2115, 5940, 1095, 585));
    c.Cmd_Kapat0 = makeWizardButton(c.Fra_1, QStringLiteral("Cmd_Kapat"), QStringLiteral("K&apat"),
                                    tw(3600, 5940, 1095, 585));
    c.Cmd_Kapat0->setProperty("Index", 0);

    c.Fra_2 = frame(form, "Fra_2", " HEDEF DOSYA SEÇİMİ ", tw(5670, 0, 5460, 6720));
    c.Fra_YeniFirma = frame(c.Fra_2, "Fra_YeniFirma", " YENİ FİRMA BİLGİSİ ", tw(90, 315, 5295, 1410));
    c.Lbl_YeniFirmaKodu = label(c.Fra_YeniFirma, "Lbl_YeniFirmaKodu", " FİRMA KODU", tw(135, 360, 1230, 285));
    c.Cbo_FirmaKodu = comboBox(c.Fra_YeniFirma, "Cbo_FirmaKodu", tw(1395, 360, 1050, 330));
    c.Lbl_YeniFirmaAdi = label(c.Fra_YeniFirma, "Lbl_YeniFirmaAdi", " FİRMA ADI", tw(135, 810, 1230, 285));
    c.Txt_FirmaAdi = textBox(c.Fra_YeniFirma, "Txt_FirmaAdi", tw(1395, 810, 3750, 315));
    // The register keeps at most 50 characters of a name; a longer one would stop the
    // conversion half-way with "field too small".
    c.Txt_FirmaAdi->setMaxLength(50);
    c.Label4 = label(c.Fra_2, "Label4", "Hangi Yıla Aktarım Yapılacak ? :", tw(180, 1980, 2895, 315));
    c.Cbo_VedazYili = comboBox(c.Fra_2, "Cbo_VedazYili", tw(3150, 1935, 1500, 330));
    for (int year = kFirstYear; year <= kLastYear; ++year)
        c.Cbo_VedazYili->addItem(QString::number(year));
    c.Cbo_VedazYili->setCurrentIndex(-1);
    c.Cmd_Geri = makeWizardButton(c.Fra_2, QStringLiteral("Cmd_Geri"), QStringLiteral("<< Geri"),
                                  tw(720, 3330, 1140, 585));
    c.Cmd_CevrimYap = makeWizardButton(c.Fra_2, QStringLiteral("Cmd_CevrimYap"), QStringLiteral("Çevrim Yap"),
                                       tw(2115, 3330, 1140, 585));
    c.Cmd_Kapat1 = makeWizardButton(c.Fra_2, QStringLiteral("Cmd_Kapat"), QStringLiteral("K&apat"),
                                    tw(3555, 3330, 1140, 585));
    c.Cmd_Kapat1->setProperty("Index", 1);
    c.PrgBar1 = place(new QProgressBar(c.Fra_2), "PrgBar1", tw(270, 4410, 4875, 420));
    c.PrgBar1->setTextVisible(false);
    c.PrgBar1->setRange(0, 100);
    c.PrgBar1->setValue(0);
    c.PrgBar1->setVisible(false);
    c.Fra_2->setVisible(false);

    // Assistive technology names each field by its label; the file list has none of its own.
    nameByLabel(c.Label3, c.Cbo_KtdPvd);
    nameByLabel(c.Label1, c.Txt_Klasor);
    nameByLabel(c.Label2, c.Txt_SecilenDosya);
    nameByLabel(c.Lbl_YeniFirmaKodu, c.Cbo_FirmaKodu);
    nameByLabel(c.Lbl_YeniFirmaAdi, c.Txt_FirmaAdi);
    nameByLabel(c.Label4, c.Cbo_VedazYili);
    c.File1->setAccessibleName(QStringLiteral("Klasördeki Dosyalar"));

    // Labels, frames and the bar take no focus; the Tab order of each page follows.
    for (QWidget* w : std::initializer_list<QWidget*>{c.Fra_1, c.Fra_2, c.Fra_YeniFirma, c.PrgBar1})
        w->setFocusPolicy(Qt::NoFocus);
    QWidget* const order[] = {c.Cbo_KtdPvd,       c.Txt_Klasor,    c.Cmd_KlasorBul, c.File1,
                              c.Txt_SecilenDosya, c.Cmd_Ileri,     c.Cmd_Kapat0,    c.Cbo_FirmaKodu,
                              c.Txt_FirmaAdi,     c.Cbo_VedazYili, c.Cmd_CevrimYap, c.Cmd_Kapat1,
                              c.Cmd_Geri};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    return c;
}

} // namespace ktv

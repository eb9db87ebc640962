// The button gallery page. Buttons sit at fixed places in their group boxes, as on a form.
#include "ui/gallery/ButtonPage.h"

#include "platform/qt/ControlHost.h"
#include "platform/qt/SystemColors.h"
#include "ui/controls/button/qvButtons_H.h"
#include "ui/gallery/ButtonPictures.h"
#include "ui/gallery/PropertyList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

// Fixed places rather than layouts: custom-shaped buttons resize themselves to their picture,
// which a layout would undo, and the option buttons of one group box form one option group.

namespace ktv {

namespace {

using Button = qvButtons_H;

const char* const kStyleNames[8] = {"0 Klasik", "1 Çift kenar", "2 Mavi",    "3 Oyuk",
                                    "4 İnce",   "5 Düz",        "6 Yumuşak", "7 Yuvarlak"};

constexpr int kTitle = 22;  // room for the group box title
constexpr int kHeader = 18; // a row of column headings
constexpr int kLabelWidth = 100;

QGroupBox* section(const QString& title, QSize size)
{
    auto* box = new QGroupBox(title);
    box->setMinimumSize(size);
    return box;
}

void label(QWidget* parent, const QString& text, QRect geometry, Qt::Alignment align = Qt::AlignVCenter)
{
    auto* l = new QLabel(text, parent);
    l->setAlignment(align);
    l->setGeometry(geometry);
}

} // namespace

ButtonPage::ButtonPage(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);

    auto* bar = new QHBoxLayout;
    auto* style = new QComboBox;
    style->setObjectName(QStringLiteral("ButtonStyle"));
    for (int i = 0; i < 8; ++i)
        style->addItem(QString::fromUtf8(kStyleNames[i]), i);
    auto* enabled = new QCheckBox(QStringLiteral("Etkin (Enabled)"));
    enabled->setObjectName(QStringLiteral("Enabled"));
    enabled->setChecked(true);
    m_last = new QLabel(QStringLiteral("Son tıklanan: —"));
    m_last->setObjectName(QStringLiteral("LastClick"));
    bar->addWidget(new QLabel(QStringLiteral("Alttaki tabloların biçemi (ButtonStyle):")));
    bar->addWidget(style);
    bar->addWidget(enabled);
    bar->addSpacing(16);
    bar->addWidget(m_last, 1);
    layout->addLayout(bar);

    layout->addWidget(styleTable());
    layout->addWidget(shapeTable());
    layout->addWidget(captionTable());
    layout->addWidget(colourTable());
    layout->addWidget(pictureTable());
    layout->addWidget(groupTable());
    // What the meta-object says of the button clicked last: a property added to the button
    // shows here by itself.
    auto* listBox = new QGroupBox(QStringLiteral("Son tıklanan düğmenin özellikleri"));
    auto* listLayout = new QVBoxLayout(listBox);
    m_properties = new PropertyList;
    m_properties->setObjectName(QStringLiteral("Properties"));
    m_properties->setMinimumHeight(300);
    listLayout->addWidget(m_properties);
    layout->addWidget(listBox);
    layout->addStretch(1);
    if (!m_all.isEmpty())
        m_properties->showObject(m_all.first());

    connect(style, &QComboBox::currentIndexChanged, this,
            [this, style] { applyStyle(style->currentData().toInt()); });
    connect(enabled, &QCheckBox::toggled, this, &ButtonPage::applyEnabled);
}

qvButtons_H* ButtonPage::make(QWidget* parent, const QString& name, const QString& caption, int style,
                              QRect geometry, bool follows)
{
    auto* b = new Button(parent);
    b->setObjectName(name);
    b->InitProperties();
    b->setButtonStyle(style);
    b->setCaption(caption);
    b->setGeometry(geometry);
    connect(b, &Button::Click, this, [this, b] { clicked(b); });
    m_all.append(b);
    if (follows)
        m_following.append(b);
    return b;
}

void ButtonPage::clicked(qvButtons_H* button)
{
    QString text = QStringLiteral("Son tıklanan: %1").arg(button->objectName());
    if (button->Mode() != Button::ModeCommand)
        text += button->Value() ? QStringLiteral(" (Value açık)") : QStringLiteral(" (Value kapalı)");
    m_last->setText(text);
    m_properties->showObject(button);
}

void ButtonPage::applyStyle(int style)
{
    for (Button* b : std::as_const(m_following))
        b->setButtonStyle(style);
    m_properties->refresh();
}

void ButtonPage::applyEnabled(bool enabled)
{
    for (Button* b : std::as_const(m_following))
        b->setEnabled(enabled);
    m_properties->refresh();
}

// Every style in each mode and look; this table keeps its styles whatever the page's choice.
QWidget* ButtonPage::styleTable()
{
    constexpr int col = 100, row = 34, w = 94, h = 28;
    const QStringList rows = {QStringLiteral("Komut"),      QStringLiteral("Devre dışı"),
                              QStringLiteral("Onay: açık"), QStringLiteral("Onay: kapalı"),
                              QStringLiteral("Seçenek"),    QStringLiteral("Renk geçişli"),
                              QStringLiteral("Resimli")};
    auto* box = section(QStringLiteral("Biçemler (ButtonStyle 0–7); seçenekler tek grup"),
                        {kLabelWidth + 8 * col + 8, kTitle + kHeader + int(rows.size()) * row + 4});
    const QImage disc = gallery::keyedDiscBitmap(16);
    for (int r = 0; r < rows.size(); ++r)
        label(box, rows[r], QRect(6, kTitle + kHeader + r * row, kLabelWidth - 6, h));
    for (int s = 0; s < 8; ++s) {
        const int x = kLabelWidth + s * col;
        label(box, QString::fromUtf8(kStyleNames[s]), QRect(x, kTitle, col - 2, kHeader),
              Qt::AlignLeft | Qt::AlignVCenter);
        auto at = [&](int r) { return QRect(x, kTitle + kHeader + r * row, w, h); };
        const QString n = QStringLiteral("Cmd_Style%1_").arg(s);
        make(box, n + QStringLiteral("Komut"), QStringLiteral("&Tamam"), s, at(0), false);
        make(box, n + QStringLiteral("Kapali"), QStringLiteral("Kapalı"), s, at(1), false)->setEnabled(false);
        Button* on = make(box, n + QStringLiteral("OnayAcik"), QStringLiteral("Açık"), s, at(2), false);
        on->setMode(Button::ModeCheck);
        on->setValue(true);
        make(box, n + QStringLiteral("OnayKapali"), QStringLiteral("Kapalı"), s, at(3), false)
            ->setMode(Button::ModeCheck);
        Button* option =
            make(box, n + QStringLiteral("Secenek"), QStringLiteral("Seçenek %1").arg(s), s, at(4), false);
        option->setMode(Button::ModeOption);
        option->setValue(s == 0);
        Button* gradient = make(box, n + QStringLiteral("Gecis"), QStringLiteral("Geçiş"), s, at(5), false);
        gradient->setBackColor(RGBColor(255, 255, 255));
        gradient->setGradientColor(RGBColor(150, 180, 225));
        gradient->setGradientMode(3);
        Button* picture = make(box, n + QStringLiteral("Resim"), QStringLiteral("Resim"), s, at(6), false);
        picture->setPicture(ButtonPicture::bitmap(disc));
        picture->setPictureAlign(Button::PictureLeftOfCaption);
    }
    return box;
}

// Every shape as a push button, a check box and an option button; 7 and 8 take their outline
// from a magenta-keyed bitmap.
QWidget* ButtonPage::shapeTable()
{
    constexpr int col = 100, row = 44, w = 94, h = 36;
    auto* box = section(QStringLiteral("Biçimler (ButtonShape 0–8); 5 ve 6 kapalıyken yazı göstermez, 6 "
                                       "yalnız üzerindeyken çerçevelenir"),
                        {kLabelWidth + 9 * col + 8, kTitle + kHeader + 3 * row + 4});
    const QStringList rows = {QStringLiteral("Komut"), QStringLiteral("Onay"), QStringLiteral("Seçenek")};
    for (int r = 0; r < 3; ++r)
        label(box, rows[r], QRect(6, kTitle + kHeader + r * row, kLabelWidth - 6, h));
    const QImage arrow = gallery::arrowShapeBitmap(w, h);
    const QImage tab = gallery::tabShapeBitmap(w, h);
    for (int shape = 0; shape < 9; ++shape) {
        const int x = kLabelWidth + shape * col;
        label(box, QStringLiteral("Biçim %1").arg(shape), QRect(x, kTitle, col - 2, kHeader));
        for (int r = 0; r < 3; ++r) {
            Button* b = make(box, QStringLiteral("Cmd_Shape%1_%2").arg(shape).arg(r),
                             QStringLiteral("Biçim %1").arg(shape), 0,
                             QRect(x, kTitle + kHeader + r * row, w, h), true);
            b->setMode(r);
            if (r == 1)
                b->setValue(shape % 2 == 0);
            if (shape >= 7) {
                b->setPicture(ButtonPicture::bitmap(r == 1 ? tab : arrow));
                b->setButtonShape(shape);
                b->setCustomClick(shape == 7 ? 1 : 0);
            } else {
                b->setButtonShape(shape);
            }
        }
    }
    return box;
}

// Caption styles against caption alignments, with line breaks, access keys and font styles.
QWidget* ButtonPage::captionTable()
{
    constexpr int col = 150, row = 40, w = 144, h = 32;
    const QStringList styles = {QStringLiteral("Düz (0)"), QStringLiteral("Kabartma (1)"),
                                QStringLiteral("Oyma (2)")};
    const QStringList aligns = {QStringLiteral("Sol (0)"), QStringLiteral("Sağ (1)"),
                                QStringLiteral("Orta (2)")};
    auto* box = section(
        QStringLiteral("Yazı (CaptionStyle, CaptionAlign, \"||\" satır sonu, \"&&\" erişim tuşu, FontStyle)"),
        {kLabelWidth + 4 * col + 40, kTitle + kHeader + 3 * row + 4});
    for (int a = 0; a < 3; ++a)
        label(box, aligns[a], QRect(kLabelWidth + a * col, kTitle, col, kHeader));
    label(box, QStringLiteral("Başka"), QRect(kLabelWidth + 3 * col, kTitle, col, kHeader));
    for (int s = 0; s < 3; ++s) {
        const int y = kTitle + kHeader + s * row;
        label(box, styles[s], QRect(6, y, kLabelWidth - 6, h));
        for (int a = 0; a < 3; ++a) {
            Button* b = make(box, QStringLiteral("Cmd_Caption%1_%2").arg(s).arg(a),
                             QStringLiteral("İl&eri >"), 0, QRect(kLabelWidth + a * col, y, w, h), true);
            // A mid-tone face, so that both the light and the dark copy of a raised or sunken
            // caption show.
            b->setBackColor(RGBColor(196, 202, 212));
            b->setCaptionStyle(s);
            b->setCaptionAlign(a);
        }
    }
    const int x = kLabelWidth + 3 * col;
    Button* twoLines = make(box, QStringLiteral("Cmd_IkiSatir"), QStringLiteral("Kaydet||ve kapat"), 0,
                            QRect(x, kTitle + kHeader, w + 30, h + 4), true);
    twoLines->setCaptionStyle(Button::CaptionEmbossed);
    make(box, QStringLiteral("Cmd_VeIsareti"), QStringLiteral("Kay&det && Çık"), 0,
         QRect(x, kTitle + kHeader + row, w + 30, h), true);
    Button* fonts = make(box, QStringLiteral("Cmd_FontStyle"), QStringLiteral("Kalın, eğik, altı çizili"), 0,
                         QRect(x, kTitle + kHeader + 2 * row, w + 30, h), true);
    fonts->setFontStyle(2 | 4 | 8);
    return box;
}

// Gradient directions, hover colours and a disabled caption over a gradient.
QWidget* ButtonPage::colourTable()
{
    constexpr int col = 128, row = 44, w = 122, h = 36;
    const QStringList rows = {QStringLiteral("Geçiş"), QStringLiteral("Üzerindeyken"),
                              QStringLiteral("Devre dışı")};
    auto* box = section(QStringLiteral("Renkler (GradientMode 0–4, HoverBackColor, HoverForeColor)"),
                        {kLabelWidth + 5 * col + 8, kTitle + kHeader + 3 * row + 4});
    for (int r = 0; r < 3; ++r)
        label(box, rows[r], QRect(6, kTitle + kHeader + r * row, kLabelWidth - 6, h));
    for (int mode = 0; mode < 5; ++mode) {
        const int x = kLabelWidth + mode * col;
        label(box, QStringLiteral("GradientMode %1").arg(mode), QRect(x, kTitle, col, kHeader));
        for (int r = 0; r < 3; ++r) {
            Button* b = make(box, QStringLiteral("Cmd_Gradient%1_%2").arg(mode).arg(r),
                             QStringLiteral("Geçiş %1").arg(mode), 0,
                             QRect(x, kTitle + kHeader + r * row, w, h), true);
            b->setBackColor(RGBColor(255, 250, 235));
            b->setGradientColor(RGBColor(230, 170, 90));
            b->setGradientMode(mode);
            if (r == 1) {
                b->setCaption(QStringLiteral("Üzerime gel"));
                b->setForeColor(RGBColor(0, 0, 150));
                b->setHoverForeColor(RGBColor(190, 0, 0));
                b->setHoverBackColor(RGBColor(255, 235, 120));
            }
            if (r == 2)
                b->setEnabled(false);
        }
    }
    return box;
}

// Picture alignments and sizes, bitmaps with a magenta key and an icon with its own alpha,
// enabled and disabled.
QWidget* ButtonPage::pictureTable()
{
    constexpr int col = 112, row = 62, w = 106, h = 56;
    const QStringList rows = {QStringLiteral("Hiza, bitmap"), QStringLiteral("Boy, simge"),
                              QStringLiteral("Devre dışı")};
    const QStringList aligns = {QStringLiteral("0 sol kenar"), QStringLiteral("1 yazı solu"),
                                QStringLiteral("2 sağ kenar"), QStringLiteral("3 yazı sağı"),
                                QStringLiteral("4 üstte"),     QStringLiteral("5 altta")};
    auto* box = section(QStringLiteral("Resimler (PictureAlign 0–5, PictureSize 16–48)"),
                        {kLabelWidth + 6 * col + 8, kTitle + kHeader + 3 * row + 4});
    for (int r = 0; r < 3; ++r)
        label(box, rows[r], QRect(6, kTitle + kHeader + r * row, kLabelWidth - 6, h));
    for (int a = 0; a < 6; ++a)
        label(box, aligns[a], QRect(kLabelWidth + a * col, kTitle, col, kHeader));
    const QImage disc = gallery::keyedDiscBitmap(32);
    const QImage star = gallery::starIcon(48);
    for (int a = 0; a < 6; ++a) {
        const int x = kLabelWidth + a * col;
        Button* b = make(box, QStringLiteral("Cmd_PictureAlign%1").arg(a), QStringLiteral("Resim"), 0,
                         QRect(x, kTitle + kHeader, w, h), true);
        b->setPicture(ButtonPicture::bitmap(disc));
        b->setPictureAlign(a);
    }
    // Sizes 16, 24 and 32 beside the caption; 40 fills the button, 48 fits into it.
    for (int size = 0; size < 5; ++size) {
        Button* b = make(box, QStringLiteral("Cmd_PictureSize%1").arg(size),
                         QStringLiteral("%1 px").arg((size + 2) * 8), 0,
                         QRect(kLabelWidth + size * col, kTitle + kHeader + row, w, h), true);
        b->setPicture(ButtonPicture::iconPicture(star));
        b->setPictureAlign(Button::PictureLeftOfCaption);
        b->setPictureSize(size);
    }
    Button* icon16 = make(box, QStringLiteral("Cmd_PictureIconTop"), QStringLiteral("Simge"), 0,
                          QRect(kLabelWidth + 5 * col, kTitle + kHeader + row, w, h), true);
    icon16->setPicture(ButtonPicture::iconPicture(star));
    icon16->setPictureAlign(Button::PictureTopCenter);
    icon16->setPictureSize(Button::PictureSize24);
    const struct {
        bool icon;
        int align;
        int size;
        int mode;
    } disabled[] = {{false, 0, 0, 0}, {false, 1, 2, 0}, {true, 1, 1, 0},
                    {true, 4, 0, 0},  {false, 4, 1, 1}, {false, 0, 4, 0}};
    for (int i = 0; i < 6; ++i) {
        Button* b = make(box, QStringLiteral("Cmd_PictureDisabled%1").arg(i),
                         disabled[i].icon ? QStringLiteral("Simge") : QStringLiteral("Bitmap"), 0,
                         QRect(kLabelWidth + i * col, kTitle + kHeader + 2 * row, w, h), true);
        b->setMode(disabled[i].mode);
        b->setPicture(disabled[i].icon ? ButtonPicture::iconPicture(star) : ButtonPicture::bitmap(disc));
        b->setPictureAlign(disabled[i].align);
        b->setPictureSize(disabled[i].size);
        b->setEnabled(false);
    }
    return box;
}

// Two option groups, check boxes, the form's default button and a button without focus rectangle.
QWidget* ButtonPage::groupTable()
{
    auto* box = section(QStringLiteral("Seçenek grupları, onay kutuları, varsayılan düğme (Enter), odak"),
                        {640, 160});
    constexpr int groupHeight = kTitle + 3 * 30 + 4;
    for (int g = 0; g < 2; ++g) {
        auto* group = new QGroupBox(g == 0 ? QStringLiteral("Grup A") : QStringLiteral("Grup B"), box);
        group->setGeometry(8 + g * 148, kTitle + 4, 140, groupHeight);
        for (int i = 0; i < 3; ++i) {
            Button* b = make(group, QStringLiteral("Opt_%1%2").arg(QChar(u'A' + g)).arg(i + 1),
                             QStringLiteral("Seçenek &%1").arg(g * 3 + i + 1), 0,
                             QRect(8, kTitle + i * 30, 120, 26), true);
            b->setMode(Button::ModeOption);
            b->setValue(i == g);
        }
    }
    auto* checks = new QGroupBox(QStringLiteral("Onay kutuları"), box);
    checks->setGeometry(8 + 2 * 148, kTitle + 4, 140, groupHeight);
    const QStringList names = {QStringLiteral("Kalın"), QStringLiteral("Eğik"),
                               QStringLiteral("Altı çizili")};
    for (int i = 0; i < 3; ++i) {
        Button* b = make(checks, QStringLiteral("Chk_%1").arg(i + 1), names[i], 0,
                         QRect(8, kTitle + i * 30, 120, 26), true);
        b->setMode(Button::ModeCheck);
        b->setValue(i == 0);
    }
    auto* plain = new QWidget(box);
    plain->setGeometry(8 + 3 * 148, kTitle + 4, 170, groupHeight);
    Button* def = make(plain, QStringLiteral("Cmd_Varsayilan"), QStringLiteral("&Varsayılan"), 0,
                       QRect(8, kTitle, 150, 26), true);
    ControlHost::running().setDefaultControl(def);
    Button* noFocus = make(plain, QStringLiteral("Cmd_OdakYok"), QStringLiteral("Odak dikdörtgeni yok"), 0,
                           QRect(8, kTitle + 30, 150, 26), true);
    noFocus->setShowFocusRect(false);
    // MouseIcon switches the pointer to 99, the custom cursor.
    Button* pointer = make(plain, QStringLiteral("Cmd_Imlec"), QStringLiteral("Yıldız imleci"), 0,
                           QRect(8, kTitle + 60, 150, 26), true);
    pointer->setMouseIcon(ButtonPicture::iconPicture(gallery::starIcon(32)));
    return box;
}

} // namespace ktv

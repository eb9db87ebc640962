// The wizard's font draws every Turkish letter as its base letter plus its mark, at the size the
// wizard uses and at twice that (a screen at scale 2), in the font the form really has.
#include "WizardFixture.h"

#include "ui/wizard/WizardFont.h"

#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>

#include <optional>
#include <ostream>

namespace ktv::test {
namespace {

enum class Mark { Above, Below };

struct LetterCase {
    const char* name;
    const char* marked;
    const char* base;
    Mark mark;
    qreal ratio; // device pixels per logical pixel
};

void PrintTo(const LetterCase& row, std::ostream* os) { *os << row.name; }

// The letter drawn at a fixed pen position, so two letters can be compared pixel by pixel.
QImage draw(const QFont& font, const QString& letter, qreal ratio)
{
    const int side = int(32 * ratio);
    QImage image(side, side, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(8, 22), letter);
    return image;
}

bool inkOnRow(const QImage& image, int y)
{
    for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) != qRgb(255, 255, 255))
            return true;
    return false;
}

std::optional<int> firstInkRow(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        if (inkOnRow(image, y))
            return y;
    return std::nullopt;
}

std::optional<int> lastInkRow(const QImage& image)
{
    for (int y = image.height() - 1; y >= 0; --y)
        if (inkOnRow(image, y))
            return y;
    return std::nullopt;
}

bool sameRows(const QImage& a, const QImage& b, int from, int to)
{
    for (int y = from; y < to; ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

class WizardLetters : public WizardTest, public ::testing::WithParamInterface<LetterCase> {};

TEST_P(WizardLetters, AreTheBaseLetterWithTheMark)
{
    open();
    const LetterCase& row = GetParam();
    // The font the captions are drawn in: the labels and frames take the form's font.
    const QFont font = c().Lbl_YeniFirmaKodu->font();
    const QImage marked = draw(font, QString::fromUtf8(row.marked), row.ratio);
    const QImage base = draw(font, QString::fromUtf8(row.base), row.ratio);
    if (row.mark == Mark::Above) {
        const std::optional<int> top = firstInkRow(base);
        ASSERT_TRUE(top);
        EXPECT_TRUE(sameRows(marked, base, *top, base.height()))
            << "the letter itself is drawn as its base letter";
        EXPECT_FALSE(sameRows(marked, base, 0, *top)) << "the mark shows above the base letter";
    } else {
        const std::optional<int> bottom = lastInkRow(base);
        ASSERT_TRUE(bottom);
        EXPECT_TRUE(sameRows(marked, base, 0, *bottom)) << "the letter itself is drawn as its base letter";
        EXPECT_FALSE(sameRows(marked, base, *bottom + 1, base.height()))
            << "the mark shows below the base letter";
    }
}

const LetterCase kLetters[] = {
    {"DottedCapitalI", "İ", "I", Mark::Above, 1}, {"DottedCapitalI_x2", "İ", "I", Mark::Above, 2},
    {"DotOfSmallI", "i", "ı", Mark::Above, 1},    {"DotOfSmallI_x2", "i", "ı", Mark::Above, 2},
    {"CapitalS", "Ş", "S", Mark::Below, 1},       {"CapitalS_x2", "Ş", "S", Mark::Below, 2},
    {"SmallS", "ş", "s", Mark::Below, 1},         {"SmallS_x2", "ş", "s", Mark::Below, 2},
    {"CapitalG", "Ğ", "G", Mark::Above, 1},       {"CapitalG_x2", "Ğ", "G", Mark::Above, 2},
    {"SmallG", "ğ", "g", Mark::Above, 1},         {"SmallG_x2", "ğ", "g", Mark::Above, 2},
    {"CapitalC", "Ç", "C", Mark::Below, 1},       {"CapitalC_x2", "Ç", "C", Mark::Below, 2},
    {"SmallC", "ç", "c", Mark::Below, 1},         {"SmallC_x2", "ç", "c", Mark::Below, 2},
    {"CapitalO", "Ö", "O", Mark::Above, 1},       {"CapitalO_x2", "Ö", "O", Mark::Above, 2},
    {"SmallO", "ö", "o", Mark::Above, 1},         {"SmallO_x2", "ö", "o", Mark::Above, 2},
    {"CapitalU", "Ü", "U", Mark::Above, 1},       {"CapitalU_x2", "Ü", "U", Mark::Above, 2},
    {"SmallU", "ü", "u", Mark::Above, 1},         {"SmallU_x2", "ü", "u", Mark::Above, 2},
};

INSTANTIATE_TEST_SUITE_P(TurkishLetters, WizardLetters, ::testing::ValuesIn(kLetters),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WizardTest, EveryCaptionIsDrawnInTheWizardFont)
{
    open();
    EXPECT_EQ(QFontInfo(form->font()).family(), WizardFontFamily());
    EXPECT_DOUBLE_EQ(form->font().pointSizeF(), 8.25);
    for (QWidget* w : form->findChildren<QWidget*>())
        EXPECT_EQ(QFontInfo(w->font()).family(), WizardFontFamily()) << w->objectName().toStdString();
}

} // namespace
} // namespace ktv::test

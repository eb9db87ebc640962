// The etched line: pixel rows and columns for every shape and position, at device pixel ratio 1 and
// 2, live moves, load and save, the designer host it reports to, what assistive technology sees,
// and the colour translation it draws with.
#include "ui/controls/line3d/Line3D.h"
#include "platform/qt/DesignerHost.h"
#include "platform/qt/MemoryPropertyBag.h"
#include "platform/qt/SystemColors.h"
#include "support/TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QMetaEnum>
#include <QMetaProperty>
#include <gtest/gtest.h>

namespace ktv {
namespace {

const QColor kBackground(200, 210, 220);
const QColor kLight(250, 250, 250);
const QColor kDark(128, 128, 128);

// Pins the application palette so system colours (and so pixels) do not depend on the platform.
class Line3DFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_oldPalette = QApplication::palette();
        QPalette palette(kBackground);
        palette.setColor(QPalette::Window, kBackground);
        palette.setColor(QPalette::Light, kLight);
        palette.setColor(QPalette::Dark, kDark);
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::Text, Qt::black);
        palette.setColor(QPalette::Button, QColor(192, 192, 192));
        palette.setColor(QPalette::ButtonText, QColor(1, 2, 3));
        QApplication::setPalette(palette);
    }
    void TearDown() override { QApplication::setPalette(m_oldPalette); }

    static QImage render(Line3D& line) { return line.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // The line painted onto a surface of the given device pixel ratio, as a screen of that
    // density shows it: the image has ratio times the pixels.
    static QImage render(Line3D& line, qreal ratio)
    {
        render(line); // delivers the pending resize
        QImage image(line.size() * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(kBackground);
        line.render(&image);
        return image;
    }

private:
    QPalette m_oldPalette;
};

struct PixelRow {
    const char* name;
    int width;
    int height;
    int32_t position;
    bool horizontal;
    int dark; // row (horizontal) or column (vertical) of the dark line; the light one follows it
};

const PixelRow kPixelRows[] = {
    {"WideMiddle", 200, 10, 0, true, 5},    {"WideEnd", 200, 10, 1, true, 8},
    {"WideStart", 200, 10, 2, true, 0},     {"WideUnknown", 200, 10, 7, true, 0},
    {"WideNegative", 200, 10, -1, true, 0}, {"TallMiddle", 10, 200, 0, false, 5},
    {"TallEnd", 10, 200, 1, false, 8},      {"TallStart", 10, 200, 2, false, 0},
    {"TallUnknown", 10, 200, 3, false, 0},  {"SquareMiddle", 20, 20, 0, false, 10},
    {"SquareEnd", 20, 20, 1, false, 18},    {"SquareStart", 20, 20, 2, false, 0},
    {"OddWideMiddle", 21, 9, 0, true, 4},   {"OddTallEnd", 9, 21, 1, false, 7},
};

class Line3DPixels : public Line3DFixture, public ::testing::WithParamInterface<PixelRow> {};

TEST_P(Line3DPixels, DrawsTheDarkAndLightLinesAtTheirRowsOrColumns)
{
    const PixelRow& row = GetParam();
    Line3D line;
    line.resize(row.width, row.height);
    line.setLinePosition(row.position);
    const QImage image = render(line);
    ASSERT_EQ(image.size(), QSize(row.width, row.height));
    int wrong = 0;
    for (int y = 0; y < row.height; ++y) {
        for (int x = 0; x < row.width; ++x) {
            const int across = row.horizontal ? y : x;
            const QColor expected = across == row.dark       ? kDark
                                    : across == row.dark + 1 ? kLight
                                                             : kBackground;
            if (image.pixelColor(x, y) != expected && wrong++ < 3)
                ADD_FAILURE() << "pixel " << x << "," << y << " is "
                              << image.pixelColor(x, y).name().toStdString() << ", expected "
                              << expected.name().toStdString();
        }
    }
    EXPECT_EQ(wrong, 0);
}

// At ratio 2 every logical pixel is two device pixels: each line covers both device rows (or
// columns) of its pixel and the light line follows the dark one without background between.
TEST_P(Line3DPixels, AtDevicePixelRatioTwoEachLineIsAWholeLogicalPixel)
{
    const PixelRow& row = GetParam();
    Line3D line;
    line.resize(row.width, row.height);
    line.setLinePosition(row.position);
    const QImage image = render(line, 2);
    ASSERT_EQ(image.size(), QSize(row.width * 2, row.height * 2));
    int wrong = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int across = (row.horizontal ? y : x) / 2;
            const QColor expected = across == row.dark       ? kDark
                                    : across == row.dark + 1 ? kLight
                                                             : kBackground;
            if (image.pixelColor(x, y) != expected && wrong++ < 3)
                ADD_FAILURE() << "device pixel " << x << "," << y << " is "
                              << image.pixelColor(x, y).name().toStdString() << ", expected "
                              << expected.name().toStdString();
        }
    }
    EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(ShapesAndPositions, Line3DPixels, ::testing::ValuesIn(kPixelRows),
                         [](const auto& info) { return std::string(info.param.name); });

// At a fractional ratio the lines still meet: no device row between them keeps the background,
// and neither line is lost.
class FractionalRatios : public Line3DFixture, public ::testing::WithParamInterface<qreal> {};

TEST_P(FractionalRatios, KeepTheLinesTouchingAndBothShown)
{
    const qreal ratio = GetParam();
    Line3D line;
    line.resize(40, 10);
    const QImage image = render(line, ratio);
    QList<QColor> column;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixelColor(10, y) != kBackground)
            column << image.pixelColor(10, y);
    ASSERT_GE(column.size(), 2);
    EXPECT_EQ(column.first(), kDark);
    EXPECT_EQ(column.last(), kLight);
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixelColor(10, y) != kBackground)
            last = y, first = first < 0 ? y : first;
    EXPECT_EQ(last - first + 1, column.size()) << "background between the lines";
}

INSTANTIATE_TEST_SUITE_P(Line3D, FractionalRatios, ::testing::Values(1.25, 1.5),
                         [](const auto& info) { return "Ratio" + std::to_string(int(info.param * 100)); });

TEST_F(Line3DFixture, LinePositionMovesTheLinesAtOnceAndResizeLaysOutAgain)
{
    Line3D line;
    line.resize(200, 10);
    render(line); // delivers the pending resize
    EXPECT_EQ(line.LineFonce(), QLine(0, 5, 200, 5));
    line.setLinePosition(Line3D::LinePositionEnd);
    EXPECT_EQ(line.LineFonce(), QLine(0, 8, 200, 8)); // no resize needed
    EXPECT_EQ(line.LineClair(), QLine(0, 9, 200, 9));

    line.resize(10, 200);
    render(line);
    EXPECT_EQ(line.LineFonce(), QLine(8, 0, 8, 200));
    EXPECT_EQ(line.LineClair(), QLine(9, 0, 9, 200));
}

TEST_F(Line3DFixture, CustomColoursAreDrawn)
{
    Line3D line;
    line.resize(30, 4);
    line.setColorDark(RGBColor(255, 0, 0));
    line.setColorLight(SystemColor(SysColorButtonText));
    const QImage image = render(line);
    EXPECT_EQ(image.pixelColor(3, 2), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(3, 3), QColor(1, 2, 3));
}

TEST_F(Line3DFixture, LoadsDefaultsFromAnEmptyStore)
{
    MemoryPropertyBag bag;
    bag.WriteProperty("LinePosition", 2, 0);
    Line3D line;
    line.setColorLight(RGBColor(1, 1, 1));
    line.ReadProperties(bag);
    EXPECT_EQ(line.LinePosition(), 2);
    EXPECT_EQ(line.ColorLight(), 0x80000014u);

    MemoryPropertyBag empty;
    line.ReadProperties(empty);
    EXPECT_EQ(line.ColorLight(), 0x80000014u);
    EXPECT_EQ(line.ColorDark(), 0x80000010u);
    EXPECT_EQ(line.LinePosition(), 0);
    line.resize(200, 10);
    const QImage image = render(line);
    EXPECT_EQ(image.pixelColor(100, 5), kDark);
    EXPECT_EQ(image.pixelColor(100, 6), kLight);
}

TEST_F(Line3DFixture, SavesOnlyWhatDiffersFromTheDefaultsAndLoadsItBack)
{
    Line3D line;
    MemoryPropertyBag bag;
    line.WriteProperties(bag);
    EXPECT_EQ(bag.count(), 0);

    line.setColorDark(RGBColor(10, 20, 30));
    line.setLinePosition(Line3D::LinePositionEnd);
    line.WriteProperties(bag);
    EXPECT_EQ(bag.count(), 2);
    EXPECT_TRUE(bag.contains("colordark"));
    EXPECT_FALSE(bag.contains("ColorLight"));

    Line3D copy;
    copy.ReadProperties(bag);
    EXPECT_EQ(copy.ColorDark(), RGBColor(10, 20, 30));
    EXPECT_EQ(copy.ColorLight(), Line3D::DefaultColorLight);
    EXPECT_EQ(copy.LinePosition(), 1);

    // Setting a value back to its default drops it from the store.
    line.setLinePosition(0);
    line.WriteProperties(bag);
    EXPECT_FALSE(bag.contains("LINEPOSITION"));
}

struct StoredColorRow {
    const char* name;
    QVariant stored;
    uint32_t expected;
};

class StoredColors : public Line3DFixture, public ::testing::WithParamInterface<StoredColorRow> {};

TEST_P(StoredColors, WrittenByOtherHostsAreRead)
{
    const StoredColorRow& row = GetParam();
    MemoryPropertyBag bag;
    bag.WriteProperty("COLORLIGHT", row.stored, QVariant());
    Line3D line;
    line.ReadProperties(bag);
    EXPECT_EQ(line.ColorLight(), row.expected);
}

const StoredColorRow kStoredColors[] = {
    {"SignedSystemColour", QVariant(int(-2147483628)), 0x80000014u}, // a signed 32-bit store
    {"WideSystemColour", QVariant(qint64(0x80000008)), 0x80000008u},
    {"NumberAsText", QVariant(QStringLiteral("255")), 255u},
    {"NoNumber", QVariant(QStringLiteral("kırmızı")), Line3D::DefaultColorLight}, // the default
    {"OutOfRange", QVariant(qint64(1) << 40), Line3D::DefaultColorLight},         // the default
};
INSTANTIATE_TEST_SUITE_P(Line3D, StoredColors, ::testing::ValuesIn(kStoredColors),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Line3DFixture, TellsTheHostWhichPropertyChanged)
{
    DesignerHost host;
    Line3D line(nullptr, &host);
    line.setColorLight(1);
    line.setColorDark(2);
    line.setLinePosition(1);
    EXPECT_EQ(host.changesOf(&line), (QStringList{"ColorLight", "ColorDark", "LinePosition"}));
}

TEST_F(Line3DFixture, TheDesignerPlacesSavesAndLoadsItLikeTheButton)
{
    DesignerHost host;
    QWidget form;
    auto* line = new Line3D(&form, &host);
    line->setColorLight(RGBColor(9, 9, 9));
    host.place(*line); // a new instance takes the defaults
    EXPECT_EQ(line->ColorLight(), Line3D::DefaultColorLight);
    EXPECT_EQ(host.displayName(line), QStringLiteral("Line3D1"));
    EXPECT_TRUE(host.controls().contains(line));

    line->setLinePosition(Line3D::LinePositionStart);
    line->setColorDark(RGBColor(10, 20, 30));
    const MemoryPropertyBag bag = host.save(*line);
    auto* copy = new Line3D(&form, &host);
    host.load(*copy, bag);
    EXPECT_EQ(copy->LinePosition(), Line3D::LinePositionStart);
    EXPECT_EQ(copy->ColorDark(), RGBColor(10, 20, 30));
    EXPECT_TRUE(host.changesOf(copy).isEmpty()) << "loading is no change";

    delete copy;
    EXPECT_FALSE(host.controls().contains(copy));
}

TEST_F(Line3DFixture, AssistiveTechnologySeesASeparator)
{
    Line3D line;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&line);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Separator);
}

TEST_F(Line3DFixture, ItsPropertiesAreListedByTheirStoredNames)
{
    QStringList names;
    const QMetaObject& meta = Line3D::staticMetaObject;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
        names << QString::fromLatin1(meta.property(i).name());
    EXPECT_EQ(names, (QStringList{"ColorLight", "ColorDark", "LinePosition"}));
    Line3D line;
    EXPECT_TRUE(line.setProperty("LinePosition", 1));
    EXPECT_EQ(line.LinePosition(), 1);
}

TEST_F(Line3DFixture, AboutShowsAnInformationBox)
{
    test::ScriptedMessageBoxes boxes;
    boxes.answer(MsgAnswer::Ok);
    Line3D line;
    line.About();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Information);
    EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::Ok);
    EXPECT_FALSE(boxes.shown[0].title.empty());
}

struct ColourValueRow {
    const char* name;
    uint32_t value;
    QColor expected;
};

class ColourValues : public Line3DFixture, public ::testing::WithParamInterface<ColourValueRow> {};

TEST_P(ColourValues, TranslateColorDecodesThem)
{
    EXPECT_EQ(TranslateColor(GetParam().value), GetParam().expected);
}

const ColourValueRow kColourValues[] = {
    {"Red", RGBColor(255, 0, 0), QColor(255, 0, 0)},
    {"PaleYellow", 0x00E1FFFFu, QColor(255, 255, 225)},
    {"RedInTheLowestByte", 0x00123456u, QColor(0x56, 0x34, 0x12)},
    {"TopBitIndexWithoutRole", 0xFF000000u | 0x00u, QColor(Qt::black)},
    {"Window", SystemColor(SysColorWindow), QColor(Qt::white)},
    {"WindowText", SystemColor(SysColorWindowText), QColor(Qt::black)},
    {"ButtonFace", SystemColor(SysColorButtonFace), QColor(192, 192, 192)},
    {"ButtonShadow", SystemColor(SysColorButtonShadow), kDark},
    {"ButtonText", SystemColor(SysColorButtonText), QColor(1, 2, 3)},
    {"ButtonHighlight", SystemColor(SysColorButtonHighlight), kLight},
    {"UnknownIndex", SystemColor(99), QColor(Qt::black)},
};
INSTANTIATE_TEST_SUITE_P(Line3D, ColourValues, ::testing::ValuesIn(kColourValues),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Line3DFixture, ColorToValuePutsRedInTheLowestByte)
{
    EXPECT_EQ(ColorToValue(QColor(255, 255, 225)), 0x00E1FFFFu);
}

// Every property the meta-object declares, written and read back through it: the colours in both
// encodings, and each position of LinePositionConstants; the position setter takes any number (an
// unknown one lies like the start), so nothing is refused.
class EveryLine3DProperty : public Line3DFixture, public ::testing::WithParamInterface<int> {};

TEST_P(EveryLine3DProperty, ReadsBackWhatIsWritten)
{
    const QMetaProperty p = Line3D::staticMetaObject.property(GetParam());
    ASSERT_TRUE(p.isReadable() && p.isWritable()) << p.name();
    DesignerHost host;
    Line3D line(nullptr, &host);
    switch (p.metaType().id()) {
    case QMetaType::UInt:
        for (const uint colour : {0x123456u, SystemColor(SysColorButtonShadow), 0u}) {
            EXPECT_TRUE(p.write(&line, colour));
            EXPECT_EQ(p.read(&line).toUInt(), colour) << p.name();
        }
        break;
    case QMetaType::Int: {
        ASSERT_STREQ(p.name(), "LinePosition") << "no values to try";
        const QMetaEnum keys = QMetaEnum::fromType<Line3D::LinePositionConstants>();
        for (int k = 0; k < keys.keyCount(); ++k) {
            EXPECT_TRUE(p.write(&line, keys.value(k)));
            EXPECT_EQ(p.read(&line).toInt(), keys.value(k)) << keys.key(k);
        }
        EXPECT_TRUE(p.write(&line, 7));
        EXPECT_EQ(p.read(&line).toInt(), 7);
        break;
    }
    default: ADD_FAILURE() << p.name() << ": no values to try for the type " << p.typeName();
    }
}

INSTANTIATE_TEST_SUITE_P(MetaObject, EveryLine3DProperty,
                         ::testing::Range(Line3D::staticMetaObject.propertyOffset(),
                                          Line3D::staticMetaObject.propertyCount()),
                         [](const auto& info) {
                             return std::string(Line3D::staticMetaObject.property(info.param).name());
                         });

} // namespace
} // namespace ktv

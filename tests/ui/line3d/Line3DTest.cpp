// The etched line: pixel rows and columns for every shape and position, live moves, load and save,
// host notification, and the colour translation it draws with.
#include "platform/qt/MemoryPropertyBag.h"
#include "platform/qt/SystemColors.h"
#include "support/TestSupport.h"
#include "ui/controls/line3d/Line3D.h"

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
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

    static QImage render(Line3D& line)
    {
        return line.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

private:
    QPalette m_oldPalette;
};

struct PixelRow {
    int width;
    int height;
    int32_t position;
    bool horizontal;
    int dark; // row (horizontal) or column (vertical) of the dark line; the light one follows it
};

const PixelRow kPixelRows[] = {
    {200, 10, 0, true, 5},  {200, 10, 1, true, 8},  {200, 10, 2, true, 0},  {200, 10, 7, true, 0},
    {200, 10, -1, true, 0}, {10, 200, 0, false, 5}, {10, 200, 1, false, 8}, {10, 200, 2, false, 0},
    {10, 200, 3, false, 0}, {20, 20, 0, false, 10}, {20, 20, 1, false, 18}, {20, 20, 2, false, 0},
    {21, 9, 0, true, 4},    {9, 21, 1, false, 7},
};

TEST_F(Line3DFixture, DrawsTheDarkAndLightLinesAtTheirRowsOrColumns)
{
    for (const auto& row : kPixelRows) {
        SCOPED_TRACE(std::to_string(row.width) + "x" + std::to_string(row.height) + " position " +
                     std::to_string(row.position));
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
}

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

TEST_F(Line3DFixture, ReadsStoresWrittenByOtherHosts)
{
    struct Row {
        QVariant stored;
        uint32_t expected;
    };
    const Row rows[] = {
        {QVariant(int(-2147483628)), 0x80000014u}, // a signed 32-bit store of a system colour
        {QVariant(qint64(0x80000008)), 0x80000008u},
        {QVariant(QStringLiteral("255")), 255u},
        {QVariant(QStringLiteral("kırmızı")), Line3D::DefaultColorLight}, // no number: the default
        {QVariant(qint64(1) << 40), Line3D::DefaultColorLight},         // out of range: the default
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stored.toString().toStdString());
        MemoryPropertyBag bag;
        bag.WriteProperty("COLORLIGHT", row.stored, QVariant());
        Line3D line;
        line.ReadProperties(bag);
        EXPECT_EQ(line.ColorLight(), row.expected);
    }
}

TEST_F(Line3DFixture, TellsTheHostWhichPropertyChanged)
{
    Line3D line;
    QSignalSpy spy(&line, &Line3D::propertyChanged);
    line.setColorLight(1);
    line.setColorDark(2);
    line.setLinePosition(1);
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("ColorLight"));
    EXPECT_EQ(spy.at(1).at(0).toString(), QStringLiteral("ColorDark"));
    EXPECT_EQ(spy.at(2).at(0).toString(), QStringLiteral("LinePosition"));
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

TEST_F(Line3DFixture, TranslateColorDecodesRgbAndSystemColours)
{
    struct Row {
        uint32_t value;
        QColor expected;
    };
    const Row rows[] = {
        {RGBColor(255, 0, 0), QColor(255, 0, 0)},
        {0x00E1FFFFu, QColor(255, 255, 225)},
        {0x00123456u, QColor(0x56, 0x34, 0x12)},
        {0xFF000000u | 0x00u, QColor(Qt::black)}, // top bit set, index 0 has no role here
        {SystemColor(SysColorWindow), QColor(Qt::white)},
        {SystemColor(SysColorWindowText), QColor(Qt::black)},
        {SystemColor(SysColorButtonFace), QColor(192, 192, 192)},
        {SystemColor(SysColorButtonShadow), kDark},
        {SystemColor(SysColorButtonText), QColor(1, 2, 3)},
        {SystemColor(SysColorButtonHighlight), kLight},
        {SystemColor(99), QColor(Qt::black)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(TranslateColor(row.value), row.expected);
    }
    EXPECT_EQ(ColorToValue(QColor(255, 255, 225)), 0x00E1FFFFu);
}

} // namespace
} // namespace ktv

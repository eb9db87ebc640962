// When the button runs its painter and what its window then shows: one painter run per change
// that reaches the screen, nothing while drawing is held back, and a custom shape whose picture
// is all key colour leaves no window behind.
#include "ButtonTestSupport.h"

#include <QApplication>
#include <QTest>

using namespace ktv;
using namespace ktv::test;

namespace {

class ButtonRedraw : public RunningForm {
protected:
    // Delivers the pending paints of the form, as the event loop does.
    void paintNow()
    {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.repaint();
    }
};

} // namespace

TEST_F(ButtonRedraw, EachChangeRunsThePainterOnceWhenItsPaintArrives)
{
    auto* b = place("Cmd");
    paintNow();
    const int runs = b->painterRuns();
    b->setBackColor(0x00FF00);
    EXPECT_EQ(b->painterRuns(), runs) << "the setter only asks for a repaint";
    paintNow();
    EXPECT_EQ(b->painterRuns(), runs + 1);
    b->setCaption(QStringLiteral("Bir"));
    b->setButtonStyle(4);
    paintNow();
    EXPECT_EQ(b->painterRuns(), runs + 2) << "changes before one paint make one painter run";
    b->update(); // uncovered: the last image is shown again
    paintNow();
    EXPECT_EQ(b->painterRuns(), runs + 2);
}

TEST_F(ButtonRedraw, ButtonSetUpWithHeldBackDrawingPaintsOnceWhenShown)
{
    // The sequence a form's button factory uses: every property while drawing is held back.
    auto* b = new qvButtons_H(&form, &host);
    b->InitProperties();
    b->DelayDrawing(true);
    b->setMode(qvButtons_H::ModeCommand);
    b->setButtonShape(0);
    b->setButtonStyle(2);
    b->setGradientMode(0);
    b->setCaptionStyle(qvButtons_H::CaptionEngraved);
    b->setCaptionAlign(qvButtons_H::CaptionCenter);
    b->setCaption(QStringLiteral("K&apat"));
    b->setGeometry(10, 10, 73, 39);
    b->DelayDrawing(false);
    EXPECT_EQ(b->painterRuns(), 0);
    b->show();
    paintNow();
    EXPECT_EQ(b->painterRuns(), 1);
    // What the window shows is that one image: the engraved caption on the shaded face.
    const QImage shown = b->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, b->surface().convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(b->painterRuns(), 1);
}

TEST_F(ButtonRedraw, ACustomShapeWhosePictureIsAllKeyColourShowsTheContainerAndTakesNoClicks)
{
    form.setAutoFillBackground(true);
    QPalette pal = form.palette();
    pal.setColor(QPalette::Window, QColor(10, 200, 30));
    form.setPalette(pal);
    auto* b = place("Cmd");
    b->setPicture(ButtonPicture::bitmap(filledImage(20, 20, qRgb(255, 0, 255)))); // all key colour
    b->setButtonShape(7);
    paintNow();
    const QPoint centre = b->geometry().center();
    EXPECT_EQ(form.childAt(centre), nullptr) << "the clicks go to what lies below";
    const QImage image = form.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(centre)), QColor(10, 200, 30)) << "no black rectangle";
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, centre);
    EXPECT_FALSE(log.take().contains(QStringLiteral("Cmd.Click")));

    // A picture with something in it brings the window back.
    QImage picture = filledImage(20, 20, qRgb(255, 0, 255));
    for (int y = 5; y < 15; ++y)
        for (int x = 5; x < 15; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 200));
    b->setPicture(ButtonPicture::bitmap(picture));
    b->Resize();
    paintNow();
    EXPECT_EQ(form.childAt(b->geometry().center()), b);
}

TEST_F(ButtonRedraw, PaintedOntoATwiceAsDenseSurfaceTheCaptionUsesItsPixels)
{
    auto* b = place("Cmd");
    b->setButtonStyle(2);
    b->setCaptionStyle(qvButtons_H::CaptionEngraved);
    b->setCaption(QStringLiteral("İleri >>"));
    b->resize(73, 39);
    QImage image(b->size() * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    b->render(&image);
    EXPECT_EQ(b->surface().devicePixelRatio(), 2) << "the button painted at the ratio it was shown at";
    // Scaled-up drawing is made of 2 x 2 blocks of one colour; drawing at ratio 2 is not.
    int split = 0;
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb c = image.pixel(x, y);
            if (image.pixel(x + 1, y) != c || image.pixel(x, y + 1) != c || image.pixel(x + 1, y + 1) != c)
                ++split;
        }
    EXPECT_GT(split, 20);
    // The dark blue outer ring of style 2 is two device pixels wide on the left side.
    EXPECT_EQ(QColor(image.pixel(0, 40)), QColor(image.pixel(1, 40)));
    EXPECT_EQ(QColor(image.pixel(0, 40)), QColor(0x00, 0x3C, 0x73));
}

namespace {

struct SetAgainRow {
    const char* name;
    void (*set)(qvButtons_H*);
    const char* notified; // the stored names the host hears of, comma-separated
};

void PrintTo(const SetAgainRow& row, std::ostream* os) { *os << row.name; }

const SetAgainRow kSetAgainRows[] = {
    {"ButtonStyle", [](qvButtons_H* b) { b->setButtonStyle(4); }, "BackStyle"},
    {"Caption", [](qvButtons_H* b) { b->setCaption(QStringLiteral("&Tamam")); }, "Caption"},
    {"CaptionAlign", [](qvButtons_H* b) { b->setCaptionAlign(qvButtons_H::CaptionLeft); }, "CapAlign"},
    {"CaptionStyle", [](qvButtons_H* b) { b->setCaptionStyle(qvButtons_H::CaptionEmbossed); }, "CapStyle"},
    {"PictureSize", [](qvButtons_H* b) { b->setPictureSize(qvButtons_H::PictureSize32); }, "ImgSize"},
    {"ForeColor", [](qvButtons_H* b) { b->setForeColor(0x0000FF); }, nullptr},
    {"BackColor", [](qvButtons_H* b) { b->setBackColor(0x00FF00); }, "cBack"},
    {"GradientColor",
     [](qvButtons_H* b) {
         b->setGradientMode(1);
         b->setGradientColor(0x00FFFF);
     },
     "Gradient,cGradient"},
    {"GradientMode", [](qvButtons_H* b) { b->setGradientMode(3); }, "Gradient"},
    {"PictureAlign", [](qvButtons_H* b) { b->setPictureAlign(qvButtons_H::PictureRightEdge); }, "ImgAlign"},
    {"ShowFocusRect", [](qvButtons_H* b) { b->setShowFocusRect(false); }, "Focus"},
    {"Mode", [](qvButtons_H* b) { b->setMode(qvButtons_H::ModeCheck); }, "Mode"},
    {"ButtonShape", [](qvButtons_H* b) { b->setButtonShape(2); }, "Shape"},
    {"Value",
     [](qvButtons_H* b) {
         b->setMode(qvButtons_H::ModeCheck);
         b->setValue(true);
     },
     "Mode,Value"},
    {"OptionValue",
     [](qvButtons_H* b) {
         b->setMode(qvButtons_H::ModeOption);
         b->setValue(true);
     },
     "Mode,Value"},
};

} // namespace

class ButtonSetAgain : public ButtonRedraw, public ::testing::WithParamInterface<SetAgainRow> {};

TEST_P(ButtonSetAgain, AValueSetAgainIsReportedButRepaintsNothing)
{
    DesignerHost designer;
    QWidget frame(&form); // goes before the host it was placed with
    frame.setGeometry(form.rect());
    frame.show();
    auto* b = new qvButtons_H(&frame, &designer);
    designer.place(*b);
    b->setGeometry(10, 10, 90, 26);
    b->show();
    GetParam().set(b);
    paintNow();
    designer.clearRecords();
    const int runs = b->painterRuns();
    GetParam().set(b);
    paintNow();
    EXPECT_EQ(designer.refreshCount(b), 0);
    EXPECT_EQ(b->painterRuns(), runs);
    if (GetParam().notified) {
        EXPECT_EQ(designer.changesOf(b), QString::fromLatin1(GetParam().notified).split(QLatin1Char(',')));
    }
}

INSTANTIATE_TEST_SUITE_P(Setters, ButtonSetAgain, ::testing::ValuesIn(kSetAgainRows),
                         [](const auto& info) { return std::string(info.param.name); });

// The window's outline is built when it is next needed (the paint, a resize, the show), once for
// all the changes before it, and not at all for a value set again.
TEST_F(ButtonRedraw, TheOutlineIsBuiltAtThePaintOncePerChange)
{
    auto* b = place("Cmd");
    paintNow();
    const int builds = b->regionBuilds();
    b->setButtonStyle(2);
    b->setButtonShape(1);
    EXPECT_EQ(b->regionBuilds(), builds) << "the setters only mark the outline out of date";
    paintNow();
    EXPECT_EQ(b->regionBuilds(), builds + 1);
    EXPECT_FALSE(b->mask().contains(QPoint(0, 25))) << "the slanted outline is the window's";
    b->setButtonStyle(2);
    b->setButtonShape(1);
    paintNow();
    EXPECT_EQ(b->regionBuilds(), builds + 1) << "nothing to build for the same values";
    b->resize(100, 26);
    EXPECT_EQ(b->regionBuilds(), builds + 2) << "a resize builds at once";
}

TEST_F(ButtonRedraw, ACustomShapeTakesItsOutlineFromThePictureAtThePaint)
{
    auto* b = place("Cmd");
    QImage picture = filledImage(20, 20, qRgb(255, 0, 255));
    for (int y = 5; y < 15; ++y)
        for (int x = 5; x < 15; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 200));
    b->setPicture(ButtonPicture::bitmap(picture));
    paintNow();
    const int builds = b->regionBuilds();
    b->setButtonShape(7);
    b->setPicture(ButtonPicture::bitmap(picture));
    EXPECT_EQ(b->regionBuilds(), builds);
    paintNow();
    EXPECT_EQ(b->regionBuilds(), builds + 1);
    EXPECT_FALSE(b->mask().contains(QPoint(0, 0))) << "the key colour is outside the window";
    EXPECT_EQ(form.childAt(b->geometry().center()), b);
}

TEST_F(ButtonRedraw, AHiddenButtonTakesItsOutlineWhenShown)
{
    auto* b = place("Cmd");
    b->hide();
    b->setButtonStyle(2);
    const int builds = b->regionBuilds();
    b->show();
    EXPECT_EQ(b->regionBuilds(), builds + 1);
    EXPECT_FALSE(b->mask().contains(QPoint(0, 0))) << "the rounded corners are cut off";
}

// A top or bottom picture set again still centres a caption moved off centre meanwhile.
TEST_F(ButtonRedraw, APictureAlignmentSetAgainStillCentresTheCaption)
{
    auto* b = place("Cmd");
    b->setPictureAlign(qvButtons_H::PictureTopCenter);
    b->setCaptionAlign(qvButtons_H::CaptionLeft); // allowed: there is no picture
    ASSERT_EQ(b->CaptionAlign(), qvButtons_H::CaptionLeft);
    paintNow();
    const int runs = b->painterRuns();
    b->setPictureAlign(qvButtons_H::PictureTopCenter);
    EXPECT_EQ(b->CaptionAlign(), qvButtons_H::CaptionCenter);
    paintNow();
    EXPECT_EQ(b->painterRuns(), runs + 1);
}

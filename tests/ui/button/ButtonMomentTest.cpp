// A redraw shows the state of the moment it was asked for, even when that state is gone by the
// time the paint arrives: Space held with the mouse elsewhere, the custom click's pushed look
// after its move, and the designer's one-off hover look of a custom-shaped default button.
#include "ButtonTestSupport.h"

#include "ui/controls/button/paint/ButtonPainter.h"

#include <QApplication>
#include <QTest>

using namespace ktv;
using namespace ktv::test;

namespace {

QImage shown(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }

// The button painted afresh from its current properties with the given run-time state.
QImage lookOf(const qvButtons_H* b, button::States flags, bool hovering)
{
    ButtonPaintState s = b->paintState();
    s.StateFlags = flags;
    s.Hovering = hovering;
    s.CustomClick = 0; // the look only, without the move
    ButtonResources r;
    ButtonPainter::BuildRegions(s, r);
    return ButtonPainter::RedrawButton(s, r).image.convertToFormat(QImage::Format_RGB32);
}

// A blue disc on the key colour: the outline of a custom shape.
QImage discPicture()
{
    QImage picture = filledImage(40, 30, qRgb(255, 0, 255));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            if ((x - 20) * (x - 20) + (y - 15) * (y - 15) < 13 * 13)
                picture.setPixel(x, y, qRgb(0, 0, 200));
    return picture;
}

constexpr button::States kPushed = qvButtons_H::StatePressed | qvButtons_H::StateHover;

} // namespace

class ButtonMoment : public RunningForm {
protected:
    void paintNow()
    {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.repaint();
    }
};

TEST_F(ButtonMoment, SpaceHeldWithTheMouseElsewhereShowsThePushedLookWithOnePainterRun)
{
    auto* b = place("Cmd");
    b->setButtonStyle(2);
    b->setCaption(QStringLiteral("İleri >>"));
    b->resize(73, 39);
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    b->setFocus();
    mouse.moveOver(nullptr);
    paintNow();
    const QImage atRest = shown(b);
    const int runs = b->painterRuns();

    QTest::keyPress(b, Qt::Key_Space);
    paintNow();
    EXPECT_EQ(b->painterRuns(), runs + 1);
    const QImage held = shown(b);
    EXPECT_NE(held, atRest);
    EXPECT_EQ(held, lookOf(b, b->stateFlags() | kPushed, false));
    EXPECT_EQ(b->painterRuns(), runs + 1) << "the paint only copies what the redraw painted";

    QTest::keyRelease(b, Qt::Key_Space);
    paintNow();
    EXPECT_EQ(shown(b), atRest);
}

TEST_F(ButtonMoment, ACustomClickButtonMovesAndShowsItsPushedLookWhileHeld)
{
    auto* b = place("Cmd");
    b->setPicture(ButtonPicture::bitmap(discPicture()));
    b->setButtonShape(8);
    b->setCustomClick(4); // down and right
    paintNow();
    const QPoint at = b->pos();
    const QImage atRest = shown(b);

    mouse.moveOver(b);
    QTest::mouseMove(b, b->rect().center());
    QTest::mousePress(b, Qt::LeftButton, {}, b->rect().center());
    paintNow();
    EXPECT_EQ(b->pos(), at + QPoint(1, 1));
    const QImage held = shown(b);
    EXPECT_NE(held, atRest);
    EXPECT_EQ(held, lookOf(b, b->stateFlags(), true));

    QTest::mouseRelease(b, Qt::LeftButton, {}, b->rect().center());
    paintNow();
    EXPECT_EQ(b->pos(), at);
}

TEST(ButtonDesignerMoment, ACustomShapedDefaultButtonShowsItsOneOffHoverLook)
{
    ScriptedMessageBoxes boxes{ScriptedMessageBoxes::Notices::Acknowledged};
    DesignerHost host;
    QWidget form;
    form.resize(200, 100);
    auto* b = new qvButtons_H(&form, &host);
    host.place(*b);
    b->setGeometry(10, 10, 60, 40);
    b->setPicture(ButtonPicture::bitmap(discPicture()));
    b->setButtonShape(7);
    b->setHoverBackColor(0x00FF00); // the hover frame has a colour of its own
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.repaint();

    host.setDefaultControl(b);
    form.repaint();
    EXPECT_FALSE(b->hovering()) << "only that redraw hovers";
    EXPECT_EQ(shown(b), lookOf(b, b->stateFlags(), true));
    EXPECT_NE(shown(b), lookOf(b, b->stateFlags(), false));
}

// The button under the mouse and the keyboard on a running form: event order, option groups,
// hover tracking on a fake clock and mouse, arrow keys, access keys.
#include "ButtonTestSupport.h"

#include "platform/qt/WindowProperties.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

using namespace ktv;
using namespace ktv::test;

namespace {

// Records the key presses a container receives.
class KeyCatcher : public QObject {
public:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            keys.append({k->key(), k->nativeScanCode()});
        }
        return false;
    }
    QList<QPair<int, quint32>> keys;
};

QObject* member(QWidget* container, int index)
{
    return GetProp(container, ("qv_Obj" + QByteArray::number(index)).constData()).value<QObject*>();
}

int groupSize(QWidget* container) { return GetProp(container, "qv_OptCount").toInt(); }

} // namespace

class ButtonRunning : public RunningForm {};

TEST_F(ButtonRunning, LeftClickClicksAndRightClickDoesNot)
{
    auto* b = place("Cmd");
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(log.take(), (QStringList{"Cmd.MouseDown(1)", "Cmd.MouseUp(1)", "Cmd.Click"}));
    QTest::mouseClick(b, Qt::RightButton);
    EXPECT_EQ(log.take(), (QStringList{"Cmd.MouseDown(2)", "Cmd.MouseUp(2)"}));
    EXPECT_EQ(b->lastMouseButton(), 2);
    EXPECT_FALSE(b->stateFlags() & qvButtons_H::StatePressed);
}

TEST_F(ButtonRunning, PressShowsPressedUntilReleaseAndReleaseOutsideIsNoClick)
{
    auto* b = place("Cmd");
    QTest::mousePress(b, Qt::LeftButton);
    EXPECT_TRUE(b->stateFlags() & qvButtons_H::StatePressed);
    EXPECT_TRUE(b->held());
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(200, 5));
    EXPECT_FALSE(b->stateFlags() & qvButtons_H::StatePressed);
    EXPECT_FALSE(b->held());
    EXPECT_EQ(log.take(), (QStringList{"Cmd.MouseDown(1)", "Cmd.MouseUp(1)"}));
}

TEST_F(ButtonRunning, CheckBoxTogglesAndOptionButtonsExcludeEachOther)
{
    auto* check = place("Chk", qvButtons_H::ModeCheck);
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_TRUE(check->Value());
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_FALSE(check->Value());
    EXPECT_EQ(log.take().filter(QStringLiteral("Click")).size(), 2);

    auto* a = place("A", qvButtons_H::ModeOption);
    auto* b = place("B", qvButtons_H::ModeOption);
    QTest::mouseClick(a, Qt::LeftButton);
    EXPECT_TRUE(a->Value());
    log.take();
    QTest::mouseClick(a, Qt::LeftButton); // already on: no event at all beyond the mouse
    EXPECT_EQ(log.take(), (QStringList{"A.MouseDown(1)", "A.MouseUp(1)"}));
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_TRUE(b->Value());
    EXPECT_FALSE(a->Value());
    EXPECT_TRUE(log.take().contains(QStringLiteral("B.Click")));
}

TEST_F(ButtonRunning, OptionGroupsBelongToTheirContainers)
{
    QWidget left(&form), right(&form);
    auto* l1 = place("L1", qvButtons_H::ModeOption, &left);
    auto* l2 = place("L2", qvButtons_H::ModeOption, &left);
    auto* r1 = place("R1", qvButtons_H::ModeOption, &right);
    EXPECT_EQ(groupSize(&left), 2);
    EXPECT_EQ(groupSize(&right), 1);
    l1->setValue(true);
    r1->setValue(true);
    EXPECT_TRUE(l1->Value());
    l2->setValue(true);
    EXPECT_FALSE(l1->Value());
    EXPECT_TRUE(r1->Value()); // another container, another group
}

TEST_F(ButtonRunning, LeavingTheGroupCompactsItAndDestroyedMembersLeaveToo)
{
    auto* a = place("A", qvButtons_H::ModeOption);
    auto* b = place("B", qvButtons_H::ModeOption);
    auto* c = place("C", qvButtons_H::ModeOption);
    ASSERT_EQ(groupSize(&form), 3);
    b->setMode(qvButtons_H::ModeCommand);
    EXPECT_EQ(groupSize(&form), 2);
    EXPECT_EQ(member(&form, 1), a);
    EXPECT_EQ(member(&form, 2), c);
    EXPECT_FALSE(member(&form, 3));
    b->setMode(qvButtons_H::ModeCommand); // not a member any more: nothing changes
    EXPECT_EQ(groupSize(&form), 2);

    delete a;
    EXPECT_EQ(groupSize(&form), 1);
    EXPECT_EQ(member(&form, 1), c);
    c->setValue(true); // walks the group: must not touch the destroyed button
    delete c;
    EXPECT_FALSE(GetProp(&form, "qv_OptCount").isValid());
}

TEST_F(ButtonRunning, SpaceClicksAPushButtonBeforeKeyUpButACheckBoxAfter)
{
    auto* cmd = place("Cmd");
    QTest::keyPress(cmd, Qt::Key_Space);
    EXPECT_TRUE(cmd->stateFlags() & qvButtons_H::StatePressed);
    EXPECT_FALSE(cmd->stateFlags() & qvButtons_H::StateHover); // the mouse is not over it
    QTest::keyRelease(cmd, Qt::Key_Space);
    EXPECT_EQ(log.take(), (QStringList{"Cmd.KeyDown(32)", "Cmd.KeyPress(32)", "Cmd.Click", "Cmd.KeyUp(32)"}));

    auto* chk = place("Chk", qvButtons_H::ModeCheck);
    QTest::keyClick(chk, Qt::Key_Space);
    EXPECT_EQ(log.take(), (QStringList{"Chk.KeyDown(32)", "Chk.KeyPress(32)", "Chk.KeyUp(32)", "Chk.Click"}));
    EXPECT_TRUE(chk->Value());
    EXPECT_EQ(chk->lastMouseButton(), 1);
}

TEST_F(ButtonRunning, EnterAsAccessKeyClicksOnlyPushButtons)
{
    auto* cmd = place("Cmd");
    auto* chk = place("Chk", qvButtons_H::ModeCheck);
    cmd->AccessKeyPress(13);
    chk->AccessKeyPress(13);
    chk->AccessKeyPress(27);
    EXPECT_EQ(log.take(), (QStringList{"Cmd.Click"}));
    EXPECT_FALSE(chk->Value());
    chk->AccessKeyPress('k');
    EXPECT_TRUE(chk->Value());
}

TEST_F(ButtonRunning, AccessKeyAndDefaultButtonReachTheButtonThroughShortcuts)
{
    auto* cmd = place("Cmd");
    cmd->setCaption(QStringLiteral("&Kaydet && Çık"));
    host.setDefaultControl(cmd);
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_K, Qt::AltModifier);
    QTest::keyClick(&form, Qt::Key_Return);
    EXPECT_EQ(log.take().filter(QStringLiteral("Click")).size(), 2);
}

TEST_F(ButtonRunning, HoverStartsOnceAndEndsOnTheFirstTickAwayFromTheButton)
{
    auto* b = place("Cmd");
    mouse.moveOver(b);
    QTest::mouseMove(b, QPoint(5, 5));
    QTest::mouseMove(b, QPoint(9, 7));
    EXPECT_EQ(log.take(), (QStringList{"Cmd.MouseOnButton(true)", "Cmd.MouseMove", "Cmd.MouseMove"}));
    EXPECT_TRUE(b->hovering());
    EXPECT_TRUE(b->stateFlags() & qvButtons_H::StateHover);
    EXPECT_TRUE(clock.isActive(b, 237));
    EXPECT_EQ(GetProp(b, "qv_TimerID").toInt(), 237);

    clock.advance(500); // still over the button: ticks change nothing
    EXPECT_TRUE(log.take().isEmpty());

    mouse.moveOver(&form);
    clock.advance(49);
    EXPECT_TRUE(b->hovering());
    clock.advance(1);
    EXPECT_EQ(log.take(), (QStringList{"Cmd.MouseOnButton(false)"}));
    EXPECT_FALSE(b->hovering());
    EXPECT_FALSE(b->stateFlags() & qvButtons_H::StateHover);
    EXPECT_EQ(clock.activeCount(), 0);
}

TEST_F(ButtonRunning, MoveWhileTheCursorIsElsewhereStartsNoHoverAndAHoveringButtonStopsItsTimerWhenDestroyed)
{
    auto* b = place("Cmd");
    mouse.moveOver(&form); // e.g. a move event that arrives after the mouse has left
    QTest::mouseMove(b, QPoint(5, 5));
    EXPECT_EQ(log.take(), (QStringList{"Cmd.MouseMove"}));
    EXPECT_FALSE(b->hovering());

    mouse.moveOver(b);
    QTest::mouseMove(b, QPoint(6, 5));
    ASSERT_EQ(clock.activeCount(), 1);
    delete b;
    EXPECT_EQ(clock.activeCount(), 0);
    clock.advance(100);
}

TEST_F(ButtonRunning, ArrowKeysGoToTheContainerAndTurnAnOptionOn)
{
    QWidget box(&form);
    KeyCatcher catcher;
    box.installEventFilter(&catcher);
    auto* a = place("A", qvButtons_H::ModeOption, &box);
    auto* cmd = place("Cmd", qvButtons_H::ModeCommand, &box);

    QTest::keyClick(cmd, Qt::Key_Right);
    QTest::keyClick(cmd, Qt::Key_Up);
    QCoreApplication::sendPostedEvents(&box, QEvent::KeyPress);
    ASSERT_EQ(catcher.keys.size(), 2);
    EXPECT_EQ(catcher.keys[0], (QPair<int, quint32>(Qt::Key_Right, 0x4D)));
    EXPECT_EQ(catcher.keys[1], (QPair<int, quint32>(Qt::Key_Up, 0x48)));

    QTest::keyClick(a, Qt::Key_Down);
    EXPECT_TRUE(a->Value());
    EXPECT_EQ(log.take(), (QStringList{"A.Click"})); // never KeyDown or KeyUp for an arrow
}

TEST_F(ButtonRunning, FocusIntoAnEmptyGroupSelectsTheFocusedOption)
{
    QWidget field(&form); // first in the focus chain, so activation focuses no option
    field.setFocusPolicy(Qt::StrongFocus);
    field.show();
    auto* a = place("A", qvButtons_H::ModeOption);
    auto* b = place("B", qvButtons_H::ModeOption);
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    b->setFocus();
    EXPECT_TRUE(b->Value());
    a->setFocus(); // the group already has a selection: focus alone changes nothing
    EXPECT_TRUE(b->Value());
    EXPECT_FALSE(a->Value());
}

TEST_F(ButtonRunning, DisabledButtonRaisesNothing)
{
    auto* b = place("Cmd", qvButtons_H::ModeCheck);
    b->setEnabled(false);
    mouse.moveOver(b);
    QTest::mouseClick(b, Qt::LeftButton);
    QTest::mouseMove(b, QPoint(3, 3));
    QTest::keyClick(b, Qt::Key_Space);
    b->AccessKeyPress('x');
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_FALSE(b->Value());
}

TEST_F(ButtonRunning, AButtonDisabledUnderTheMouseStillReportsThatTheMouseLeft)
{
    // The host heard "on the button"; it must hear "off" too, or it keeps a hover state forever.
    auto* b = place("Cmd");
    mouse.moveOver(b);
    QTest::mouseMove(b, QPoint(5, 5));
    b->setEnabled(false);
    mouse.moveOver(&form);
    clock.advance(50);
    EXPECT_EQ(log.take(),
              (QStringList{"Cmd.MouseOnButton(true)", "Cmd.MouseMove", "Cmd.MouseOnButton(false)"}));
    EXPECT_FALSE(b->hovering());
}

TEST_F(ButtonRunning, DoubleClickPressesAgainButIgnoresTheClickBeforeTheRelease)
{
    // The window's order: press, release (click), double click, release.
    auto* b = place("Chk", qvButtons_H::ModeCheck);
    QTest::mouseClick(b, Qt::LeftButton);
    QTest::mouseDClick(b, Qt::LeftButton);
    EXPECT_EQ(b->lastMouseButton(), -1);
    EXPECT_TRUE(b->stateFlags() & qvButtons_H::StatePressed);
    QTest::mouseRelease(b, Qt::LeftButton);
    EXPECT_EQ(log.take(), (QStringList{"Chk.MouseDown(1)", "Chk.MouseUp(1)", "Chk.Click",
                                       "Chk.DoubleClick(1)", "Chk.MouseDown(1)", "Chk.MouseUp(1)"}));
    EXPECT_TRUE(b->Value()); // toggled once
    EXPECT_EQ(b->lastMouseButton(), 1);
}

TEST_F(ButtonRunning, SpaceUnderTheHoveringMouseLooksPushedAndADraggedInPressIsHeld)
{
    auto* b = place("Cmd");
    mouse.moveOver(b);
    QTest::mouseMove(b, QPoint(4, 4));
    QTest::keyPress(b, Qt::Key_Space);
    EXPECT_EQ(b->stateFlags() & (qvButtons_H::StatePressed | qvButtons_H::StateHover),
              qvButtons_H::StatePressed | qvButtons_H::StateHover);
    EXPECT_TRUE(b->paintState().isPushed());
    QTest::keyRelease(b, Qt::Key_Space);
    EXPECT_FALSE(b->held());

    // Entering with the left button down (pressed elsewhere) counts as holding it.
    auto* other = place("Other");
    mouse.moveOver(other);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), other->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(other, &move);
    EXPECT_TRUE(other->hovering());
    EXPECT_TRUE(other->held());
}

TEST(ButtonWithoutHost, UsesTheRunningFormsHost)
{
    QWidget form;
    auto* b = new qvButtons_H(&form);
    b->setObjectName(QStringLiteral("Cmd_Ileri"));
    b->InitProperties();
    EXPECT_FALSE(b->host().designMode());
    EXPECT_EQ(b->Caption(), QStringLiteral("Cmd_Ileri"));
    int clicks = 0;
    QObject::connect(b, &qvButtons_H::Click, [&clicks] { ++clicks; });
    b->AccessKeyPress(13);
    EXPECT_EQ(clicks, 1);
}

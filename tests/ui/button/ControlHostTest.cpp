// The hosts the button relies on: the hand-moved clock, instance names, recorded changes, and
// the running form's default button following the focus.
#include "ButtonTestSupport.h"

#include <QApplication>
#include <QTest>

using namespace ktv;
using namespace ktv::test;

namespace {

std::vector<std::pair<int, unsigned>>* g_ticks = nullptr;
ManualTimers* g_clock = nullptr;

void recordTick(QWidget*, unsigned message, int id, unsigned time)
{
    EXPECT_EQ(message, kTimerMessage);
    g_ticks->push_back({id, time});
}

void stopAfterFirst(QWidget* window, unsigned, int id, unsigned time)
{
    g_ticks->push_back({id, time});
    g_clock->killTimer(window, id);
}

} // namespace

TEST(ManualTimersTest, FiresEveryDueTimerInTimeOrderAndStopsWhenKilledFromItsCallback)
{
    std::vector<std::pair<int, unsigned>> ticks;
    ManualTimers clock;
    g_ticks = &ticks;
    g_clock = &clock;
    QWidget window;
    clock.setTimer(&window, 1, 50, &recordTick);
    clock.setTimer(&window, 2, 30, &recordTick);
    clock.setTimer(&window, 3, 20, &stopAfterFirst);
    clock.advance(100);
    const std::vector<std::pair<int, unsigned>> expected{{3, 20}, {2, 30}, {1, 50},
                                                         {2, 60}, {2, 90}, {1, 100}};
    EXPECT_EQ(ticks, expected);
    EXPECT_FALSE(clock.isActive(&window, 3));
    EXPECT_TRUE(clock.isActive(&window, 1));

    // Restarting a timer starts its interval again; a destroyed window's timers are gone.
    ticks.clear();
    clock.setTimer(&window, 1, 50, &recordTick);
    clock.advance(49);
    ASSERT_EQ(ticks.size(), 1u); // timer 2 at 120; timer 1 restarted at 100 is due at 150
    EXPECT_EQ(ticks[0], (std::pair<int, unsigned>(2, 120)));
    {
        QWidget other;
        clock.setTimer(&other, 7, 10, &recordTick);
        EXPECT_EQ(clock.activeCount(), 3);
    }
    EXPECT_EQ(clock.activeCount(), 2);
    clock.advance(10);
    g_ticks = nullptr;
}

TEST(DesignerHostTest, NamesNewInstancesAndRecordsChangesPerControl)
{
    ScriptedMessageBoxes boxes;
    DesignerHost host;
    QWidget form;
    qvButtons_H a(&form, &host), b(&form, &host);
    host.place(a);
    host.place(b);
    EXPECT_EQ(a.Caption(), QStringLiteral("qvButtons_H1"));
    EXPECT_EQ(b.Caption(), QStringLiteral("qvButtons_H2"));
    host.clearRecords();
    b.setButtonStyle(3);
    b.setGradientMode(9); // ignored: nothing to record
    EXPECT_TRUE(host.changesOf(&a).isEmpty());
    EXPECT_EQ(host.changesOf(&b), QStringList{"BackStyle"});

    // A changed ambient back colour reaches every control.
    host.setAmbientBackColor(0x00FF00);
    EXPECT_EQ(a.containerBackRGB(), 0x00FF00u);
    EXPECT_EQ(b.containerBackRGB(), 0x00FF00u);
}

class RunningHost : public RunningForm {};

TEST_F(RunningHost, TheFocusedButtonDrawsAsDefaultAndTheDefaultOneOtherwise)
{
    QWidget field(&form);
    field.setFocusPolicy(Qt::StrongFocus);
    field.show();
    auto* ok = place("Ok");
    auto* other = place("Other");
    host.setDefaultControl(ok);
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    field.setFocus();
    EXPECT_TRUE(ok->stateFlags() & qvButtons_H::StateDefault);
    other->setFocus();
    EXPECT_TRUE(other->stateFlags() & qvButtons_H::StateDefault);
    EXPECT_FALSE(ok->stateFlags() & qvButtons_H::StateDefault);
    field.setFocus();
    EXPECT_FALSE(other->stateFlags() & qvButtons_H::StateDefault);
    EXPECT_TRUE(ok->stateFlags() & qvButtons_H::StateDefault);

    // Without ShowFocusRect a running button never takes the default look.
    ok->setShowFocusRect(false);
    host.notifyAmbientChanged(QStringLiteral("DisplayAsDefault"));
    EXPECT_FALSE(ok->stateFlags() & qvButtons_H::StateDefault);
}

TEST_F(RunningHost, EscapeClicksTheCancelButton)
{
    auto* cancel = place("Vazgec");
    host.setCancelControl(cancel);
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(log.take(), QStringList{"Vazgec.Click"});
}

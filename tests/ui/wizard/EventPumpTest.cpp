// The run's yield before every record: what the program posts is delivered at once, the
// window system and timers within the pump's interval, and asking the window system is
// rare however often the pump is called.
#include "ui/wizard/EventPump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace ktv::test {
namespace {

TEST(EventPump, WhatTheProgramPostsIsDeliveredAtEveryPump)
{
    EventPump pump(std::chrono::hours(1)); // the window system only at the first pump
    pump.pump();
    ASSERT_EQ(pump.windowSystemAsks(), 1);
    QObject receiver;
    int delivered = 0;
    for (int i = 1; i <= 3; ++i) {
        QMetaObject::invokeMethod(
            &receiver, [&] { ++delivered; }, Qt::QueuedConnection);
        pump.pump();
        EXPECT_EQ(delivered, i) << "a queued call waited for a later pump";
    }
    EXPECT_EQ(pump.windowSystemAsks(), 1);
    // A run begins: the window system is asked at the first pump again.
    pump.restart();
    pump.pump();
    EXPECT_EQ(pump.windowSystemAsks(), 2);
}

TEST(EventPump, ATimerFiresWithinTheIntervalWhileTheWindowSystemIsAskedRarely)
{
    EventPump pump; // half a millisecond
    QTimer timer;
    int fired = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++fired; });
    timer.start(5);
    QElapsedTimer clock;
    clock.start();
    long pumps = 0;
    while (fired < 3 && clock.elapsed() < 2000) {
        pump.pump();
        ++pumps;
    }
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    EXPECT_EQ(fired, 3) << "the timer did not fire through the pump";
    // Tens of thousands of pumps in those milliseconds, the window system asked about twice
    // a millisecond.
    EXPECT_GT(pumps, 10 * pump.windowSystemAsks());
    EXPECT_LE(pump.windowSystemAsks(), static_cast<long>(ms / 0.5) + 2);
}

} // namespace
} // namespace ktv::test

// Timer controls: their modes and periods on the virtual clock, and the
// rhythm of the production clock on Qt's real event loop.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "tests/doubles/doubles.h"
#include "framework/window.h"

namespace {

using Times = std::vector<std::int64_t>;

class TimerWindow : public fw::Window {};

class TimerModes : public ::testing::Test {
protected:
    void TearDown() override { fw::ReleaseWindows(); }

    // A timer on a fresh window that records the virtual time of every Action
    // and then runs `also` (if any) inside that Action.
    fw::Timer& MakeTimer(int mode, int period, std::function<void(fw::Timer&)> also = {}) {
        auto& w = fw::MakeWindow<TimerWindow>();
        auto& timer = static_cast<fw::Timer&>(
            w.NewControl({.name = "Timer1", .kind = fw::ControlKind::Timer, .mode = mode, .period = period}));
        timer.Action.Bind([this, also](fw::Timer& me) {
            fired.push_back(seam.clock.NowMs());
            if (also) also(me);
        });
        return timer;
    }

    fw::testing::TestSeam seam;  // installed before any timer is made
    Times fired;
};

TEST_F(TimerModes, ModeOneFiresOnceModeTwoEveryPeriodModeZeroNever) {
    // Mode 1 fires once a period after it is set and then reads 0; mode 2 fires every period; mode 0 never.
    std::vector<int> modeInAction;
    fw::Timer& timer = MakeTimer(0, 100, [&](fw::Timer& me) { modeInAction.push_back(me.Mode()); });
    seam.clock.Advance(1000);
    EXPECT_TRUE(fired.empty());

    seam.clock.Advance(30);  // now 1030
    timer.Mode(1);
    seam.clock.Advance(300);
    EXPECT_EQ(fired, (Times{1130}));
    EXPECT_EQ(modeInAction, (std::vector<int>{0}));
    EXPECT_EQ(timer.Mode(), 0);

    timer.Mode(2);  // now 1330
    seam.clock.Advance(350);
    EXPECT_EQ(fired, (Times{1130, 1430, 1530, 1630}));
    EXPECT_EQ(timer.Mode(), 2);
    timer.Mode(0);
    seam.clock.Advance(1000);
    EXPECT_EQ(fired.size(), 4u);

    // Made already running, a timer first fires a period after it is made;
    // gone with its window, it fires no more.
    fired.clear();
    MakeTimer(2, 50);
    seam.clock.Advance(120);
    EXPECT_EQ(fired, (Times{2730, 2780}));
    fw::ReleaseWindows();
    seam.clock.Advance(500);
    EXPECT_EQ(fired.size(), 2u);
}

TEST_F(TimerModes, ItsOwnActionCanStopRestartOrFail) {
    // Mode 0 set inside the Action ends the ticks; Mode 1 set inside a one-shot fires once more; a failing Action does not stop the ticks.
    fw::Timer& stopper = MakeTimer(2, 100, [](fw::Timer& me) { me.Mode(0); });
    seam.clock.Advance(1000);
    EXPECT_EQ(fired, (Times{100}));
    EXPECT_EQ(stopper.Mode(), 0);

    fired.clear();
    int again = 1;
    MakeTimer(1, 100, [&](fw::Timer& me) {
        if (again-- > 0) me.Mode(1);
    });
    seam.clock.Advance(1000);
    EXPECT_EQ(fired, (Times{1100, 1200}));

    fired.clear();
    MakeTimer(2, 100, [](fw::Timer&) { throw fw::NilObjectException("tick failed"); });
    ::testing::internal::CaptureStderr();
    seam.clock.Advance(300);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(fired, (Times{2100, 2200, 2300}));
    EXPECT_NE(err.find("NilObjectException"), std::string::npos) << err;
}

TEST_F(TimerModes, ANewPeriodSpacesLaterTicksAndModeTwoAgainRestartsTheWait) {
    // A new Period leaves the tick already due in place and spaces the later ones; setting Mode 2 again restarts the wait.
    fw::Timer& timer = MakeTimer(2, 100);
    seam.clock.Advance(150);
    timer.Period(40);
    EXPECT_EQ(timer.Period(), 40);
    seam.clock.Advance(130);  // now 280
    EXPECT_EQ(fired, (Times{100, 200, 240, 280}));

    seam.clock.Advance(25);  // now 305; 320 was due
    timer.Mode(2);
    seam.clock.Advance(40);
    EXPECT_EQ(fired, (Times{100, 200, 240, 280, 345}));
}

TEST(TimerQtClock, ModeTwoTicksEveryPeriodOnTheRealEventLoop) {
    // The production clock keeps a 50 ms timer's mean spacing within 3 ms of 50 ms; a one-shot fires once.
    class Plain : public fw::Window {};
    auto& timer = static_cast<fw::Timer&>(fw::MakeWindow<Plain>().NewControl(
        {.name = "Timer1", .kind = fw::ControlKind::Timer, .mode = 0, .period = 50}));
    QEventLoop loop;
    QElapsedTimer clock;
    std::vector<double> ticks;
    timer.Action.Bind([&](fw::Timer& me) {
        ticks.push_back(clock.nsecsElapsed() / 1e6);
        if (ticks.size() == 11) {
            me.Mode(0);
            loop.quit();
        }
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    clock.start();
    timer.Mode(2);
    loop.exec();

    ASSERT_EQ(ticks.size(), 11u);
    const double mean = (ticks.back() - ticks.front()) / 10.0;
    EXPECT_NEAR(mean, 50.0, 3.0);
    EXPECT_NEAR(ticks.front(), 50.0, 25.0);  // the first tick a period after the mode was set
    double worst = 0;
    for (std::size_t i = 1; i < ticks.size(); ++i) worst = std::max(worst, ticks[i] - ticks[i - 1]);
    EXPECT_LT(worst, 200.0);

    ticks.clear();
    timer.Mode(1);
    QTest::qWait(200);
    EXPECT_EQ(ticks.size(), 1u);
    EXPECT_EQ(timer.Mode(), 0);
    fw::ReleaseWindows();
}

}  // namespace

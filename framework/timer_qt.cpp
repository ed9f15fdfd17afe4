// Production clock: Qt's precise timers on the event loop. Qt's default
// coarse timers may fire up to 5% early, too loose for the play-back rhythm.

#include <QTimer>

#include <algorithm>
#include <chrono>

#include "framework/production.h"

namespace fw::production {

namespace {

class QtClockTimer : public ClockTimer {
public:
    explicit QtClockTimer(std::function<void()> fire) : fire_(std::move(fire)) {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { OnTimeout(); });
    }

    void Start(int periodMs, bool repeat) override {
        period_ = std::max(periodMs, 1);
        timer_.setSingleShot(!repeat);
        timer_.start(period_);
    }

    void Stop() override { timer_.stop(); }

    void SetPeriod(int periodMs) override { period_ = std::max(periodMs, 1); }

private:
    void OnTimeout() {
        // A new period takes effect from this tick on; the tick itself keeps its time.
        if (timer_.isActive() && timer_.interval() != period_) timer_.start(period_);
        fire_();
    }

    std::function<void()> fire_;
    QTimer timer_;
    int period_ = 1;
};

// The clock itself holds nothing of Qt: it lives in static storage, and its
// timers are owned by the controls that use them.
class QtElapsedClock : public Clock {
public:
    std::unique_ptr<ClockTimer> NewTimer(std::function<void()> fire) override {
        return std::make_unique<QtClockTimer>(std::move(fire));
    }
    std::int64_t NowMs() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_)
            .count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace

Clock& QtClock() {
    static QtElapsedClock clock;
    return clock;
}

}  // namespace fw::production

#include "tests/doubles/doubles.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace fw::testing {

struct VirtualClock::Entry {
    VirtualClock* clock;  // null once the clock is gone
    std::function<void()> fire;
    int period = 1;
    bool repeat = false;
    bool active = false;
    std::int64_t due = 0;
    std::uint64_t order = 0;  // breaks ties between fires due at the same time
};

class VirtualClock::Handle : public ClockTimer {
public:
    Handle(VirtualClock* clock, std::function<void()> fire) : entry_(std::make_unique<Entry>()) {
        entry_->clock = clock;
        entry_->fire = std::move(fire);
        id_ = ++clock->sequence_;
        clock->live_[id_] = entry_.get();
    }
    ~Handle() override {
        if (entry_->clock) entry_->clock->live_.erase(id_);
    }

    void Start(int periodMs, bool repeat) override {
        entry_->period = std::max(periodMs, 1);
        entry_->repeat = repeat;
        if (!entry_->clock) return;
        entry_->active = true;
        entry_->due = entry_->clock->now_ + entry_->period;
        entry_->order = ++entry_->clock->sequence_;
    }
    void Stop() override { entry_->active = false; }
    void SetPeriod(int periodMs) override { entry_->period = std::max(periodMs, 1); }

    static Entry* Earliest(const std::map<std::uint64_t, Entry*>& live) {
        Entry* best = nullptr;
        for (const auto& [id, entry] : live) {
            if (!entry->active) continue;
            if (!best || entry->due < best->due || (entry->due == best->due && entry->order < best->order))
                best = entry;
        }
        return best;
    }

private:
    std::unique_ptr<Entry> entry_;
    std::uint64_t id_ = 0;
};

VirtualClock::~VirtualClock() {
    // Timers may outlive the clock (an object kept past the test's seam); their
    // handles must then leave the clock alone.
    for (auto& [id, entry] : live_) {
        entry->clock = nullptr;
        entry->active = false;
    }
}

std::unique_ptr<ClockTimer> VirtualClock::NewTimer(std::function<void()> fire) {
    return std::make_unique<Handle>(this, std::move(fire));
}

bool VirtualClock::RunNext() {
    Entry* next = Handle::Earliest(live_);
    if (!next) return false;
    now_ = std::max(now_, next->due);
    // The next wait is settled before the fire runs, so a fire that stops or
    // restarts its own timer has the last word.
    if (next->repeat) {
        next->due += next->period;
        next->order = ++sequence_;
    } else {
        next->active = false;
    }
    // A fire may destroy its own timer; it runs from a copy so that is safe.
    auto fire = next->fire;
    if (fire) fire();
    return true;
}

void VirtualClock::Advance(std::int64_t ms) {
    const std::int64_t target = now_ + std::max<std::int64_t>(ms, 0);
    for (;;) {
        const Entry* next = Handle::Earliest(live_);
        if (!next || next->due > target) break;
        RunNext();
    }
    now_ = target;
}

std::int64_t VirtualClock::NextDue() const {
    const Entry* next = Handle::Earliest(live_);
    return next ? next->due : -1;
}

class ScriptedEngine : public RandomEngine {
public:
    explicit ScriptedEngine(ScriptedRandom* source) : source_(source) {}
    std::int32_t InRange(std::int32_t low, std::int32_t high) override { return source_->Next(low, high); }

private:
    ScriptedRandom* source_;
};

std::unique_ptr<RandomEngine> ScriptedRandom::NewEngine() { return std::make_unique<ScriptedEngine>(this); }

std::int32_t ScriptedRandom::Next(std::int32_t low, std::int32_t high) {
    // A reversed range still means "one of these"; the distribution itself
    // would be undefined for it.
    const std::int32_t lo = std::min(low, high);
    const std::int32_t hi = std::max(low, high);
    std::int32_t result;
    if (!queue_.empty()) {
        result = queue_.front();
        if (result < lo || result > hi) {
            throw std::logic_error("ScriptedRandom: queued value " + std::to_string(result) +
                                   " is outside the asked range [" + std::to_string(lo) + ", " +
                                   std::to_string(hi) + "]");
        }
        queue_.pop_front();
    } else {
        result = std::uniform_int_distribution<std::int32_t>(lo, hi)(generator_);
    }
    draws_.push_back({low, high, result});
    return result;
}

DialogChoice ScriptedDialogs::ShowModal(const DialogRequest& request) {
    requests.push_back(request);
    if (answers.empty()) return DialogChoice::None;
    const DialogChoice choice = answers.front();
    answers.pop_front();
    return choice;
}

void RecordingAudio::Play(const std::shared_ptr<const PcmData>& sound) {
    played.push_back(sound ? sound->name : "<nil>");
}

}  // namespace fw::testing

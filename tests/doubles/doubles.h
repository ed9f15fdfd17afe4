#pragma once
// Test doubles for the seam: a clock advanced by hand, chosen random draws,
// scripted dialog answers, sinks that record what was played or opened, and a
// bundle folder of the test's choosing. Only tests link them.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "framework/seam.h"

namespace fw::testing {

// Time moves only when a test calls Advance; due timers fire in time order.
class VirtualClock : public Clock {
public:
    ~VirtualClock() override;
    std::unique_ptr<ClockTimer> NewTimer(std::function<void()> fire) override;
    std::int64_t NowMs() const override { return now_; }

    // Moves time forward by `ms`, firing every timer that falls due on the way,
    // each at its own due time.
    void Advance(std::int64_t ms);
    // Moves to the next due fire (if any) and runs it; returns false when none.
    bool RunNext();
    // The time of the next due fire, or -1.
    std::int64_t NextDue() const;
    // Whether any timer is waiting.
    bool AnyPending() const { return NextDue() >= 0; }

private:
    struct Entry;
    class Handle;
    std::int64_t now_ = 0;
    std::uint64_t sequence_ = 0;
    std::map<std::uint64_t, Entry*> live_;
    friend class Handle;
};

// Gives the queued draws first (a queued value outside the asked range fails
// loudly), then seeded pseudo-random ones.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(std::uint32_t seed = 1) : generator_(seed) {}
    std::unique_ptr<RandomEngine> NewEngine() override;

    void Queue(std::int32_t value) { queue_.push_back(value); }
    void Queue(std::initializer_list<std::int32_t> values) {
        for (auto v : values) queue_.push_back(v);
    }
    std::size_t Queued() const { return queue_.size(); }
    // Every draw made, as (low, high, result).
    struct Draw { std::int32_t low, high, result; };
    const std::vector<Draw>& Draws() const { return draws_; }

private:
    friend class ScriptedEngine;
    std::int32_t Next(std::int32_t low, std::int32_t high);
    std::mt19937 generator_;
    std::deque<std::int32_t> queue_;
    std::vector<Draw> draws_;
};

// Answers dialogs from a script and records what they showed.
class ScriptedDialogs : public DialogPresenter {
public:
    DialogChoice ShowModal(const DialogRequest& request) override;
    void MessageBox(const std::string& text) override { messages.push_back(text); }
    void Problem(const std::string& title, const std::string& message) override {
        problems.push_back(title + ": " + message);
    }

    std::deque<DialogChoice> answers;  // taken in order; None when empty
    std::vector<DialogRequest> requests;
    std::vector<std::string> messages;
    std::vector<std::string> problems;
};

class RecordingAudio : public AudioOutput {
public:
    void Play(const std::shared_ptr<const PcmData>& sound) override;
    std::vector<std::string> played;  // file names, in order
};

class RecordingUrls : public UrlOpener {
public:
    void Open(const std::string& url) override { opened.push_back(url); }
    std::vector<std::string> opened;
};

// Makes `folder` the bundle (its media in folder/Resources) for the object's
// lifetime, so a test can add, remove or spoil media without touching the build.
class ScopedBundle : public BundleLocator {
public:
    explicit ScopedBundle(std::filesystem::path folder)
        : folder_(std::move(folder)), installed_(Seam{.bundle = this}) {}
    std::filesystem::path Folder() const override { return folder_; }

private:
    std::filesystem::path folder_;
    ScopedSeam installed_;
};

// All five doubles, installed for the object's lifetime.
struct TestSeam {
    VirtualClock clock;
    ScriptedRandom random;
    ScriptedDialogs dialogs;
    RecordingAudio audio;
    RecordingUrls urls;
    ScopedSeam installed{Seam{&clock, &random, &dialogs, &audio, &urls}};
};

}  // namespace fw::testing

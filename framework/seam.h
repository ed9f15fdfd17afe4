#pragma once
// What tests must control, behind one narrow interface each: the clock behind
// every Timer, the random source, modal dialogs, audio output, URL opening and
// the bundle folder. Production installs the Qt, entropy and executable-backed
// versions; tests install doubles of their own with ScopedSeam.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fw {

// One scheduled timer of a clock. `fire` runs on the event-loop thread.
class ClockTimer {
public:
    virtual ~ClockTimer() = default;
    // (Re)starts the wait: the first fire comes `periodMs` from now; with
    // `repeat` it comes again every period until Stop.
    virtual void Start(int periodMs, bool repeat) = 0;
    virtual void Stop() = 0;
    // Takes effect from the next wait on; the fire already due stays where it is.
    virtual void SetPeriod(int periodMs) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::unique_ptr<ClockTimer> NewTimer(std::function<void()> fire) = 0;
    virtual std::int64_t NowMs() const = 0;
};

// A source of random integers. Each framework Random object gets its own engine.
class RandomEngine {
public:
    virtual ~RandomEngine() = default;
    virtual std::int32_t InRange(std::int32_t low, std::int32_t high) = 0;
};

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual std::unique_ptr<RandomEngine> NewEngine() = 0;
};

// What a modal message dialog shows; the presenter answers which button was clicked.
struct DialogRequest {
    int icon = 0;  // 0 note, 1 caution, 2 stop, 3 question
    std::string message;
    std::string explanation;
    std::string actionCaption;
    bool actionVisible = true;
    std::string cancelCaption;
    bool cancelVisible = false;
};

enum class DialogChoice { Action, Cancel, None };

class DialogPresenter {
public:
    virtual ~DialogPresenter() = default;
    virtual DialogChoice ShowModal(const DialogRequest& request) = 0;
    virtual void MessageBox(const std::string& text) = 0;
    // A problem the player should see but that must not stop the program.
    virtual void Problem(const std::string& title, const std::string& message) = 0;
};

// Decoded sound, as the audio output plays it: interleaved 16-bit samples.
struct PcmData {
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;
    std::string name;  // the file's name, for reports and tests
};

class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Starts playing and returns at once; never blocks, silently does nothing
    // when no audio device is available.
    virtual void Play(const std::shared_ptr<const PcmData>& sound) = 0;
};

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void Open(const std::string& url) = 0;
};

// Where the program's bundle lies: the folder that holds Resources/ and lib/.
class BundleLocator {
public:
    virtual ~BundleLocator() = default;
    // Empty when there is none.
    virtual std::filesystem::path Folder() const = 0;
};

struct Seam {
    Clock* clock = nullptr;
    RandomSource* random = nullptr;
    DialogPresenter* dialogs = nullptr;
    AudioOutput* audio = nullptr;
    UrlOpener* urls = nullptr;
    BundleLocator* bundle = nullptr;
};

// The seam in force. Before anything is installed it holds the production parts.
Seam& CurrentSeam();

// Installs the given parts (null ones keep the current part) for its lifetime.
class ScopedSeam {
public:
    explicit ScopedSeam(const Seam& parts);
    ~ScopedSeam();
    ScopedSeam(const ScopedSeam&) = delete;
    ScopedSeam& operator=(const ScopedSeam&) = delete;

private:
    Seam saved_;
};

}  // namespace fw

// The game as the bench runs it: the program's own start-up, with hooks that
// report the first painted frame and, in the "run" mode, what the window costs
// while idle and during the play-back, how evenly the flashes come, and
// whether any picture is read again once loaded.
//
//   corvessan_probe            first frame, then quit
//   corvessan_probe run        first frame, then the measurements below
//
// Every result is one "key value" line on standard output.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <sys/inotify.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/first_frame.h"
#include "framework/files.h"
#include "framework/window.h"
#include "game_window/window1.h"
#include "shell/app.h"
#include "shell/media.h"

namespace {

constexpr int kSettleMs = 1000;       // start-up work that trails the first frame
constexpr int kIdleMs = 10'000;
constexpr int kPlayCpuMs = 10'000;
constexpr std::size_t kTicksWanted = 33;
constexpr int kGiveUpMs = 120'000;
constexpr int kRepaintRounds = 100;   // full-grid repaints per picture in the last phase

// CPU time and wake-ups (voluntary context switches) of every thread so far.
struct Usage {
    double cpuMs;
    long wakeUps;
};

Usage Now() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return {(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3,
            usage.ru_nvcsw};
}

void ReportSince(const char* what, const Usage& start) {
    const Usage end = Now();
    std::printf("%s-cpu-ms %.3f\n%s-wakeups %ld\n", what, end.cpuMs - start.cpuMs, what, end.wakeUps - start.wakeUps);
    std::fflush(stdout);
}

void Report(const char* key, double value) {
    std::printf("%s %.3f\n", key, value);
    std::fflush(stdout);
}

PicturePtr (*const kPictures[])() = {&white, &red,   &blue,  &green, &yellow, &two,  &three, &four,
                                     &five,  &six,   &seven, &eight, &nine,   &sad,  &star,  &grey};

class RunScenario {
public:
    explicit RunScenario(Window1& w) : w_(w) {}

    void Start() {
        QTimer::singleShot(kSettleMs, qApp, [this] {
            const Usage idleStart = Now();
            QTimer::singleShot(kIdleMs, qApp, [this, idleStart] {
                ReportSince("idle", idleStart);
                StartPlayBack();
            });
        });
    }

private:
    void StartPlayBack() {
        // First use of every picture and sound; from here on none may be read again.
        for (auto picture : kPictures) picture();
        Basso(), Ping(), Purr();
        WatchResources();

        w_.Timer1().Action.Bind([this](fw::Timer& t) { Tick(t); });
        w_.PushButton1().Action.Bind([this](fw::PushButton& b) {
            w_.PushButton1_Action(b);
            NoteArmed();
        });
        w_.PushButton3().Action.Bind([this](fw::PushButton& b) {
            w_.PushButton3_Action(b);
            NoteArmed();
        });

        // A play-back that stalls still ends the run, with what it has.
        QTimer::singleShot(kGiveUpMs, qApp, [this] { Finish(); });
        const Usage playStart = Now();
        QTimer::singleShot(kPlayCpuMs, qApp, [playStart] { ReportSince("play", playStart); });
        w_.PushButton1().Push();
    }

    // Timer1 was (re)started by the handler that just ran: its next tick is due one period from now.
    void NoteArmed() {
        armed_ = w_.Timer1().Mode() == 2;
        armedNs_ = bench::MonotonicNs();
    }

    void Tick(fw::Timer& t) {
        const std::int64_t now = bench::MonotonicNs();
        if (armed_) errorsMs_.push_back((now - armedNs_) / 1e6 - w_.Timer1().Period());
        armedNs_ = now;
        w_.Timer1_Action(t);
        if (w_.Timer1().Mode() != 0) return;
        armed_ = false;
        if (errorsMs_.size() >= kTicksWanted) QTimer::singleShot(0, qApp, [this] { Finish(); });
        else QTimer::singleShot(0, qApp, [this] { AnswerRound(); });
    }

    // Repeats the round just shown, as the player would: the wheel, then a click.
    void AnswerRound() {
        const std::string& s = w_.str1;
        const std::size_t bar = s.rfind('|');
        const std::string round = bar == std::string::npos ? s : s.substr(bar + 1);
        for (std::size_t i = 0; i + 1 < round.size(); i += 2) {
            fw::ImageWell& well = w_.ImageWell1(round[i] - '0');
            int dx = 0, dy = 0;
            switch (round[i + 1]) {
                case 'b': dy = 1; break;
                case 'r': dy = -1; break;
                case 'g': dx = 1; break;
                case 'y': dx = -1; break;
            }
            w_.ImageWell1_MouseWheel(well, 32, 32, dx, dy);
            w_.ImageWell1_MouseDown(well, 32, 32);
        }
    }

    void WatchResources() {
        const fw::FolderItemPtr folder = fw::BundleResources();
        inotify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (!folder || inotify_ < 0 ||
            inotify_add_watch(inotify_, folder->Path().c_str(), IN_OPEN | IN_ACCESS) < 0) {
            std::fprintf(stderr, "probe: cannot watch the Resources folder: %s\n", std::strerror(errno));
        }
    }

    int CountFileEvents() {
        if (inotify_ < 0) return -1;
        int count = 0;
        alignas(inotify_event) char buffer[8192];
        for (;;) {
            const ssize_t got = read(inotify_, buffer, sizeof buffer);
            if (got <= 0) break;
            for (ssize_t at = 0; at < got;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
                if (count < 5) std::fprintf(stderr, "probe: read again: %s\n", e->len ? e->name : "(the folder)");
                ++count;
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            }
        }
        close(inotify_);
        return count;
    }

    void Finish() {
        if (finished_) return;
        finished_ = true;
        std::vector<double> absolute;
        for (double e : errorsMs_) absolute.push_back(std::fabs(e));
        std::sort(absolute.begin(), absolute.end());
        Report("ticks", static_cast<double>(absolute.size()));
        if (!absolute.empty()) {
            Report("spacing-median-ms", absolute[absolute.size() / 2]);
            Report("spacing-worst-ms", absolute.back());
        }

        // Blanking and flashing many more times than a long game does.
        for (int round = 0; round < kRepaintRounds; ++round) {
            for (auto picture : kPictures) {
                for (int i = 0; i <= 8; ++i) w_.ImageWell1(i).Image(picture());
                w_.NativeWindow()->repaint();
            }
            w_.Clearit();
            w_.endit();
            Basso(), Ping(), Purr();
        }
        QCoreApplication::processEvents();
        Report("file-events", CountFileEvents());
        fw::Quit();
    }

    Window1& w_;
    bool finished_ = false;
    bool armed_ = false;
    std::int64_t armedNs_ = 0;
    std::vector<double> errorsMs_;
    int inotify_ = -1;
};

Window1* g_window = nullptr;

// The program's own start-up, step for step, keeping the window it makes.
void StartupKeepingWindow() {
    InitFileTypes();
    NewAppInstance();
    ApplicationAddMenuHandlers();
    g_window = &fw::MakeWindow<Window1>();
}

}  // namespace

int main(int argc, char** argv) {
    const bool run = argc > 1 && std::strcmp(argv[1], "run") == 0;
    std::unique_ptr<RunScenario> scenario;
    // The hook goes in before Main(), so the first frame is the program's own.
    auto hookedMain = [&] {
        auto* filter = new bench::FirstFrameFilter([&] {
            bench::PrintFirstFrame(bench::MonotonicNs());
            if (!run) return fw::Quit();
            scenario = std::make_unique<RunScenario>(*g_window);
            scenario->Start();
        });
        filter->setParent(qApp);
        qApp->installEventFilter(filter);
        if (run) fw::RunMain(StartupKeepingWindow);
        else Main();
    };
    return fw::RunProcess(argc, argv, hookedMain, Stop);
}

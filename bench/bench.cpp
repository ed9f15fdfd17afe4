// The benchmark driver: starts one Xvfb, runs the game probe and the
// reference window as real processes on it, and prints one table of what it
// measured beside the goals. It reports; a slow machine does not make it fail.
// Only a probe that crashes or never paints does.
//
//   corvessan_bench PROBE REFERENCE RESOURCES [RUNS]

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "bench/monotonic.h"

namespace {

constexpr double kStartupRatioGoal = 1.2;
constexpr double kRssGoalMiB = 10;
constexpr double kIdleCpuGoalMs = 5;
constexpr double kSpacingMedianGoalMs = 2;
constexpr double kSpacingWorstGoalMs = 15;

struct ChildResult {
    bool finished = false;       // exited by itself with status 0
    std::int64_t forkNs = 0;     // just before fork
    std::map<std::string, std::string> values;
    double maxRssMiB = 0;
    std::string how;             // how it ended, for the report when it failed
};

// Runs `args` with standard output captured and standard error appended to
// `logFd`; a child still running at the deadline is killed.
ChildResult Run(const std::vector<std::string>& args, int timeoutSeconds, int logFd) {
    ChildResult result;
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        result.how = std::strerror(errno);
        return result;
    }
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    result.forkNs = bench::MonotonicNs();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(logFd, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    if (pid < 0) {
        close(out[0]);
        result.how = std::strerror(errno);
        return result;
    }

    std::string text;
    const std::int64_t deadline = result.forkNs + std::int64_t{timeoutSeconds} * 1'000'000'000;
    bool killed = false;
    for (;;) {
        const std::int64_t left = (deadline - bench::MonotonicNs()) / 1'000'000;
        if (left <= 0) {
            kill(pid, SIGKILL);
            killed = true;
            break;
        }
        pollfd p{out[0], POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
        char buffer[4096];
        const ssize_t got = read(out[0], buffer, sizeof buffer);
        if (got <= 0) break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    close(out[0]);

    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {}
    result.maxRssMiB = usage.ru_maxrss / 1024.0;  // KiB on Linux
    result.finished = !killed && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (killed) result.how = "killed after " + std::to_string(timeoutSeconds) + " s";
    else if (WIFSIGNALED(status)) result.how = std::string("died of ") + strsignal(WTERMSIG(status));
    else result.how = "exit status " + std::to_string(WEXITSTATUS(status));

    std::istringstream lines(text);
    std::string key, value;
    while (lines >> key >> value) result.values[key] = value;
    return result;
}

// Milliseconds from the fork to the child's first frame, when it reported one.
std::optional<double> StartupMs(const ChildResult& r) {
    const auto it = r.values.find("first-frame-ns");
    if (!r.finished || it == r.values.end()) return std::nullopt;
    return (std::stoll(it->second) - r.forkNs) / 1e6;
}

std::optional<double> Value(const ChildResult& r, const std::string& key) {
    const auto it = r.values.find(key);
    if (it == r.values.end()) return std::nullopt;
    return std::stod(it->second);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// A helper process of the bench's own, ended with it.
struct Service {
    pid_t pid = -1;

    void Spawn(const std::vector<std::string>& args, int logFd, int keepFd = -1) {
        std::vector<char*> argv;
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        pid = fork();
        if (pid == 0) {
            if (keepFd >= 0) fcntl(keepFd, F_SETFD, 0);
            dup2(logFd, STDOUT_FILENO);
            dup2(logFd, STDERR_FILENO);
            execvp(argv[0], argv.data());
            _exit(127);
        }
    }

    ~Service() {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
};

// An Xvfb on whatever display number is free; the display name, or empty.
std::string StartXvfb(Service& xvfb, int logFd) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return {};
    xvfb.Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                "-noreset"},
               logFd, fds[1]);
    close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    char c;
    while (xvfb.pid > 0 && poll(&p, 1, 10'000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    return number.empty() ? std::string() : ":" + number;
}

// A private sound server with a null sink, as a desktop would have one; the
// game's sounds then really play. False when none could be started.
bool StartSoundServer(Service& server, const std::string& runtime, int logFd) {
    const std::string socket = runtime + "/pulse-native";
    server.Spawn({"pulseaudio", "-n", "-F", "/dev/null", "--daemonize=no", "--use-pid-file=no",
                  "--exit-idle-time=-1", "--log-target=stderr", "-L",
                  "module-native-protocol-unix socket=" + socket + " auth-anonymous=1", "-L", "module-null-sink"},
                 logFd);
    for (int i = 0; i < 100 && server.pid > 0; ++i) {
        struct stat st {};
        if (stat(socket.c_str(), &st) == 0) {
            setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
            return true;
        }
        if (waitpid(server.pid, nullptr, WNOHANG) == server.pid) break;
        usleep(50'000);
    }
    return false;
}

const char* Verdict(bool met) { return met ? "met" : "MISSED"; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s PROBE REFERENCE RESOURCES [RUNS]\n", argv[0]);
        return 2;
    }
    const std::string probe = argv[1], reference = argv[2], resources = argv[3];
    const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 11;

    const std::string logPath = std::filesystem::absolute("bench-children.log").string();
    const int logFd = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (logFd < 0) {
        std::perror(logPath.c_str());
        return 1;
    }
    Service xvfb, soundServer;
    const std::string display = StartXvfb(xvfb, logFd);
    if (display.empty()) {
        std::fprintf(stderr, "bench: Xvfb did not start (see %s)\n", logPath.c_str());
        return 1;
    }

    // A private data folder (the probe writes its high score there) and
    // runtime folder; the real platform plugin on our display.
    std::string scratch = (std::filesystem::temp_directory_path() / "corvessan-bench-XXXXXX").string();
    if (!mkdtemp(scratch.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string runtime = scratch + "/runtime";
    mkdir(runtime.c_str(), 0700);
    setenv("DISPLAY", display.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("XDG_DATA_HOME", scratch.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    const bool sound = StartSoundServer(soundServer, runtime, logFd);

    int failures = 0;
    auto note = [&](const char* what, const ChildResult& r) {
        ++failures;
        std::fprintf(stderr, "bench: %s run failed: %s\n", what, r.how.c_str());
    };

    // One unmeasured run of each fills the font and page caches both then use.
    Run({probe}, 60, logFd);
    Run({reference, resources}, 60, logFd);

    std::vector<double> gameMs, refMs, gameRss, refRss;
    for (int i = 0; i < runs; ++i) {
        const ChildResult g = Run({probe}, 60, logFd);
        if (const auto ms = StartupMs(g)) {
            gameMs.push_back(*ms);
            gameRss.push_back(g.maxRssMiB);
        } else {
            note("game start-up", g);
        }
        const ChildResult r = Run({reference, resources}, 60, logFd);
        if (const auto ms = StartupMs(r)) {
            refMs.push_back(*ms);
            refRss.push_back(r.maxRssMiB);
        } else {
            note("reference start-up", r);
        }
    }

    std::fprintf(stderr, "bench: %zu start-ups done; now 10 s idle and about 45 s of play-back\n", gameMs.size());
    const ChildResult play = Run({probe, "run"}, 300, logFd);
    if (!play.finished) note("game play-back", play);

    std::printf("\nCorvessan benchmark: Xvfb %s, %s, medians of %d runs each for start-up and RSS\n\n",
                display.c_str(), sound ? "sounds played to a null sink" : "no sound server (sounds silent)", runs);
    std::printf("%-44s %10s %10s %11s %-16s %s\n", "measure", "game", "reference", "game/ref", "goal", "verdict");
    std::printf("%s\n", std::string(104, '-').c_str());
    if (!gameMs.empty() && !refMs.empty()) {
        const double g = Median(gameMs), r = Median(refMs);
        std::printf("%-44s %10.1f %10.1f %10.2fx %-16s %s\n", "start-up to first painted frame (ms)", g, r, g / r,
                    "<= 1.2x", Verdict(g / r <= kStartupRatioGoal));
        const double gm = Median(gameRss), rm = Median(refRss);
        std::printf("%-44s %10.1f %10.1f %+7.1f MiB %-16s %s\n", "peak RSS to first frame (MiB)", gm, rm, gm - rm,
                    "<= +10 MiB", Verdict(gm - rm <= kRssGoalMiB));
    }
    // A figure of the play-back run, with its goal and verdict when it has one (met below `limit`).
    auto row = [&](const char* name, const char* key, const char* format, const char* goal = "",
                   std::optional<double> limit = std::nullopt) {
        const auto v = Value(play, key);
        char figure[32] = "-";
        if (v) std::snprintf(figure, sizeof figure, format, *v);
        const char* verdict = !v ? (limit ? "not measured" : "") : limit ? Verdict(*v < *limit) : "";
        std::printf("%-44s %10s %10s %11s %-16s %s\n", name, figure, "", "", goal, verdict);
    };
    row("CPU in 10 s idle after opening (ms)", "idle-cpu-ms", "%.2f", "< 5 ms", kIdleCpuGoalMs);
    row("wake-ups in those 10 s", "idle-wakeups", "%.0f");
    row("CPU in 10 s of play-back (ms)", "play-cpu-ms", "%.2f", "no polling");
    row("wake-ups in those 10 s", "play-wakeups", "%.0f");
    row("Timer1 ticks timed (period 1000 ms)", "ticks", "%.0f");
    row("flash spacing error, median (ms)", "spacing-median-ms", "%.2f", "< 2 ms", kSpacingMedianGoalMs);
    row("flash spacing error, worst (ms)", "spacing-worst-ms", "%.2f", "< 15 ms", kSpacingWorstGoalMs);
    row("media file opens/reads after first load", "file-events", "%.0f", "none", 0.5);
    if (play.finished)
        std::printf("%-44s %10.1f %10s %11s %-16s %s\n", "peak RSS over the play-back run (MiB)", play.maxRssMiB, "", "",
                    "", "");
    std::printf("\nIdle starts 1 s after the first frame. Start-up is fork to the end of the first painted frame.\n"
                "The programs' own messages: %s\n",
                logPath.c_str());

    std::error_code ec;
    std::filesystem::remove_all(scratch, ec);
    return failures ? 1 : 0;
}

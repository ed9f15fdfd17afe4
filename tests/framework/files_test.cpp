// Files and folders, and the line-based text streams (framework/files.h).

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cerrno>
#include <ctime>
#include <cstdlib>
#include <functional>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "framework/files.h"
#include "framework/runtime.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;
using corvessan_test::ReadFile;
using corvessan_test::TempDir;
using corvessan_test::WriteFile;
using fw::FolderItem;
using fw::FolderItemPtr;
using fw::TextInputStream;
using fw::TextOutputStream;

FolderItemPtr Item(const fs::path& path) { return std::make_shared<FolderItem>(path); }

// The file's first `count` lines as ReadLine gives them; past the end it gives "".
std::vector<std::string> ReadLines(const fs::path& path, std::size_t count) {
    auto in = TextInputStream::Open(Item(path));
    std::vector<std::string> lines;
    while (lines.size() < count) lines.push_back(in->ReadLine());
    return lines;
}

// The file reads as `expected`, and then as empty lines only.
void ExpectLines(const fs::path& path, std::vector<std::string> expected) {
    expected.insert(expected.end(), {"", ""});
    EXPECT_EQ(ReadLines(path, expected.size()), expected);
}

// Sets a file's modification time `age` into the past, as if written then.
void AgeBy(const fs::path& path, std::chrono::seconds age) {
    struct timespec times[2] = {};
    times[0].tv_sec = times[1].tv_sec = std::time(nullptr) - age.count();
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

// The names in a folder, sorted.
std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

mode_t ModeOf(const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return 0;
    return st.st_mode & 07777;
}

// Runs `body` in a forked child and returns its exit status (or -signal).
int RunInChild(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        int code = 99;
        try {
            code = body();
        } catch (...) {
            code = 98;
        }
        ::_exit(code);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

// Sets (or unsets) an environment variable for its lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        if (old) saved_ = old;
        if (value) ::setenv(name, value, 1);
        else ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (had_) ::setenv(name_.c_str(), saved_.c_str(), 1);
        else ::unsetenv(name_.c_str());
    }

private:
    std::string name_, saved_;
    bool had_;
};

// ------------------------------------------------------------------ FolderItem

// Parent is nil at the root; Child names an item whether it exists or not.
TEST(FolderItemTest, ParentChildExists) {
    TempDir dir;
    FolderItem folder(dir.Path());
    auto child = folder.Child("missing.txt");
    EXPECT_EQ(child->Path(), dir.Path() / "missing.txt");
    EXPECT_EQ(child->Name(), "missing.txt");
    EXPECT_FALSE(child->Exists());
    WriteFile(child->Path(), "x");
    EXPECT_TRUE(child->Exists());
    ASSERT_NE(child->Parent(), nullptr);
    EXPECT_EQ(child->Parent()->Path(), dir.Path());
    EXPECT_EQ(FolderItem("/").Parent(), nullptr);
    ASSERT_NE(FolderItem("/usr").Parent(), nullptr);
    EXPECT_EQ(FolderItem("/usr").Parent()->Path(), fs::path("/"));
}

// Visible(false) lists the name in ".hidden" once, keeping the other entries in order.
TEST(FolderItemTest, HidingAddsNameOnceKeepingOthers) {
    TempDir dir;
    WriteFile(dir.Path() / ".hidden", "alpha\nbeta");  // no final line end
    FolderItem item(dir.Path() / "scores.txt");
    WriteFile(item.Path(), "1\n");
    EXPECT_TRUE(item.Visible());
    item.Visible(false);
    item.Visible(false);
    EXPECT_EQ(ReadFile(dir.Path() / ".hidden"), "alpha\nbeta\nscores.txt\n");
    EXPECT_FALSE(item.Visible());
    EXPECT_EQ(ModeOf(dir.Path() / ".hidden") & 0777, 0644u);
    // Only the list itself is left in the folder: no temporary file.
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{".hidden", "scores.txt"}));

    item.Visible(true);
    EXPECT_EQ(ReadFile(dir.Path() / ".hidden"), "alpha\nbeta\n");
    EXPECT_TRUE(item.Visible());
}

// Visible(false) makes ".hidden" when missing; a dot name is never visible; never throws.
TEST(FolderItemTest, HidingIsBestEffort) {
    TempDir dir;
    FolderItem item(dir.Path() / "a.txt");
    item.Visible(false);
    EXPECT_EQ(ReadFile(dir.Path() / ".hidden"), "a.txt\n");
    EXPECT_FALSE(FolderItem(dir.Path() / ".dotted").Visible());
    // A folder that does not exist, or one under a regular file: no throw, no list.
    FolderItem lost(dir.Path() / "nowhere" / "b.txt");
    EXPECT_NO_THROW(lost.Visible(false));
    FolderItem under(dir.Path() / "a.txt" / "c.txt");
    EXPECT_NO_THROW(under.Visible(false));
    EXPECT_FALSE(fs::exists(dir.Path() / "nowhere"));
    // Showing an item that is not listed leaves no list behind.
    TempDir other;
    FolderItem(other.Path() / "d.txt").Visible(true);
    EXPECT_FALSE(fs::exists(other.Path() / ".hidden"));
}

// ExecutableFile is this program; BundleResources is <exe>/../../Resources, whatever the current folder.
TEST(FilesTest, ExecutableAndBundleResources) {
    auto exe = fw::ExecutableFile();
    ASSERT_NE(exe, nullptr);
    EXPECT_TRUE(exe->Exists());
    EXPECT_EQ(exe->Name(), "framework_tests");
    const fs::path saved = fs::current_path();
    fs::current_path("/");
    auto resources = fw::BundleResources();
    fs::current_path(saved);
    ASSERT_NE(resources, nullptr);
    EXPECT_EQ(resources->Path(), exe->Path().parent_path().parent_path() / "Resources");
}

// ApplicationData is made with its parents, mode 0700, when missing.
TEST(FilesTest, ApplicationDataIsMadeWhenMissing) {
    TempDir dir;
    const fs::path data = dir.Path() / "new" / "data";
    corvessan_test::ScopedDataHome home(data);
    auto folder = fw::SpecialFolder::ApplicationData();
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->Path(), data);
    EXPECT_TRUE(fs::is_directory(data));
    EXPECT_EQ(ModeOf(data), 0700u);
    EXPECT_EQ(ModeOf(dir.Path() / "new"), 0700u);
    // An existing folder is returned as it is.
    auto again = fw::SpecialFolder::ApplicationData();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->Path(), data);
}

// A relative XDG_DATA_HOME is ignored: $HOME/.local/share instead.
TEST(FilesTest, ApplicationDataIgnoresRelativeXdg) {
    TempDir home;
    ScopedEnv xdg("XDG_DATA_HOME", "relative/data");
    ScopedEnv homeVar("HOME", home.Path().c_str());
    auto folder = fw::SpecialFolder::ApplicationData();
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->Path(), home.Path() / ".local" / "share");
    EXPECT_TRUE(fs::is_directory(home.Path() / ".local" / "share"));
    EXPECT_FALSE(fs::exists("relative"));
    ScopedEnv empty("XDG_DATA_HOME", "");
    auto fallback = fw::SpecialFolder::ApplicationData();
    ASSERT_NE(fallback, nullptr);
    EXPECT_EQ(fallback->Path(), home.Path() / ".local" / "share");
}

// ApplicationData is nil when it cannot be made (it would lie under a regular file) or is a file.
TEST(FilesTest, ApplicationDataNilWhenItCannotBeMade) {
    TempDir dir;
    WriteFile(dir.Path() / "file", "x");
    {
        corvessan_test::ScopedDataHome home(dir.Path() / "file" / "data");
        EXPECT_EQ(fw::SpecialFolder::ApplicationData(), nullptr);
    }
    {
        corvessan_test::ScopedDataHome home(dir.Path() / "file");
        EXPECT_EQ(fw::SpecialFolder::ApplicationData(), nullptr);
    }
}

// ------------------------------------------------------------- TextInputStream

// Line ends are "\n", "\r\n" and a lone "\r"; the last line needs no end.
TEST(TextInputStreamTest, LineEnds) {
    TempDir dir;
    WriteFile(dir.Path() / "t", "a\nb\r\nc\rd\r\r\ne\n\nf");
    ExpectLines(dir.Path() / "t", (std::vector<std::string>{"a", "b", "c", "d", "", "e", "", "f"}));
    // A final line end only ends the last line.
    WriteFile(dir.Path() / "u", "x\r\ny\r\n");
    ExpectLines(dir.Path() / "u", (std::vector<std::string>{"x", "y"}));
    WriteFile(dir.Path() / "v", "last\r");
    ExpectLines(dir.Path() / "v", (std::vector<std::string>{"last"}));
}

// An empty file is at its end at once; reading at the end gives "" and stays at the end.
TEST(TextInputStreamTest, EmptyFileAndReadingPastTheEnd) {
    TempDir dir;
    WriteFile(dir.Path() / "empty", "");
    auto in = TextInputStream::Open(Item(dir.Path() / "empty"));
    EXPECT_EQ(in->ReadLine(), "");
    EXPECT_EQ(in->ReadLine(), "");

    WriteFile(dir.Path() / "one", "only");
    auto one = TextInputStream::Open(Item(dir.Path() / "one"));
    EXPECT_EQ(one->ReadLine(), "only");
    EXPECT_EQ(one->ReadLine(), "");
    EXPECT_EQ(one->ReadLine(), "");
}

// "\r\n" counts once even when the read buffer ends between "\r" and "\n"
// (tried for every power-of-two buffer size from 512 bytes to 1 MiB).
TEST(TextInputStreamTest, CrLfAcrossBufferBoundary) {
    TempDir dir;
    for (std::size_t boundary = 512; boundary <= (1u << 20); boundary *= 2) {
        SCOPED_TRACE(boundary);
        // Short lines (kept whole) with a "\r" at byte boundary - 1.
        const std::size_t first = (boundary - 1) % 12;
        std::string text(first, 'f');
        std::vector<std::string> expected{text};
        text += "\r\n";
        while (text.size() < boundary - 1) {
            text += "0123456789\r\n";
            expected.push_back("0123456789");
        }
        ASSERT_EQ(text[boundary - 1], '\r');
        text += "end\r\n";
        expected.push_back("end");
        WriteFile(dir.Path() / "short", text);
        ExpectLines(dir.Path() / "short", expected);

        // One long line (cut to kMaxLineBytes) whose "\r" is at boundary - 1.
        WriteFile(dir.Path() / "long", std::string(boundary - 1, 'x') + "\r\nnext\r\n");
        ExpectLines(dir.Path() / "long", (std::vector<std::string>{std::string(TextInputStream::kMaxLineBytes, 'x'), "next"}));
    }
}

// A 5 MB line is cut to kMaxLineBytes and skipped quickly; the next line reads correctly.
TEST(TextInputStreamTest, HugeLineIsBounded) {
    TempDir dir;
    std::string text(5 * 1024 * 1024, 'y');
    text[0] = 'a';
    text += "\nsecond\n";
    WriteFile(dir.Path() / "huge", text);
    const auto start = std::chrono::steady_clock::now();
    auto in = TextInputStream::Open(Item(dir.Path() / "huge"));
    const std::string first = in->ReadLine();
    EXPECT_EQ(first.size(), TextInputStream::kMaxLineBytes);
    EXPECT_EQ(first, "a" + std::string(TextInputStream::kMaxLineBytes - 1, 'y'));
    EXPECT_EQ(in->ReadLine(), "second");
    EXPECT_EQ(in->ReadLine(), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    // The first line of a sparse 8 GiB line comes back without the rest being read (tens of seconds).
    WriteFile(dir.Path() / "sparse", "");
    ASSERT_EQ(::truncate((dir.Path() / "sparse").c_str(), off_t{8} << 30), 0);
    EXPECT_EQ(TextInputStream::Open(Item(dir.Path() / "sparse"))->ReadLine().size(), TextInputStream::kMaxLineBytes);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

// Bytes come back as they are: invalid UTF-8 and NUL bytes included.
TEST(TextInputStreamTest, BytesPassThrough) {
    TempDir dir;
    const std::string odd("\xff\xfe\x00z\xc3(\x80", 7);
    WriteFile(dir.Path() / "bin", odd + "\n" + std::string(3, '\0'));
    ExpectLines(dir.Path() / "bin", (std::vector<std::string>{odd, std::string(3, '\0')}));
}

// Open: nil → NilObjectException; missing → IOException(ENOENT); folder → IOException(EISDIR).
TEST(TextInputStreamTest, OpenFailures) {
    TempDir dir;
    EXPECT_THROW(TextInputStream::Open(nullptr), fw::NilObjectException);
    try {
        TextInputStream::Open(Item(dir.Path() / "missing"));
        ADD_FAILURE() << "no exception";
    } catch (const fw::IOException& e) {
        EXPECT_EQ(e.ErrorNumber(), ENOENT);
    }
    try {
        TextInputStream::Open(Item(dir.Path()));
        ADD_FAILURE() << "no exception";
    } catch (const fw::IOException& e) {
        EXPECT_EQ(e.ErrorNumber(), EISDIR);
    }
}

// Close is idempotent; a closed stream reads "" at its end.
TEST(TextInputStreamTest, CloseTwice) {
    TempDir dir;
    WriteFile(dir.Path() / "t", "a\nb\n");
    auto in = TextInputStream::Open(Item(dir.Path() / "t"));
    EXPECT_EQ(in->ReadLine(), "a");
    in->Close();
    in->Close();
    EXPECT_EQ(in->ReadLine(), "");
}

// ------------------------------------------------------------ TextOutputStream

// Close replaces the target whole; no temporary file is left; a new file is 0644.
TEST(TextOutputStreamTest, WritesAndReplaces) {
    TempDir dir;
    const fs::path target = dir.Path() / "scores.txt";
    auto out = TextOutputStream::Create(Item(target));
    out->WriteLine("first");
    out->WriteLine("");
    out->WriteLine("third");
    EXPECT_FALSE(fs::exists(target));  // nothing shows until Close
    out->Close();
    out->Close();  // a second Close does nothing
    EXPECT_EQ(ReadFile(target), "first\n\nthird\n");
    EXPECT_EQ(ModeOf(target), 0644u);
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"scores.txt"}));

    // An existing target keeps its mode.
    ::chmod(target.c_str(), 0600);
    auto again = TextOutputStream::Create(Item(target));
    again->WriteLine("new");
    again->Close();
    EXPECT_EQ(ReadFile(target), "new\n");
    EXPECT_EQ(ModeOf(target), 0600u);
}

// A stream that goes away without Close is committed, unless an exception
// drops it: then the write may be unfinished, and the old file stays.
TEST(TextOutputStreamTest, DestructorCommitsOnlyAFinishedWrite) {
    TempDir dir;
    const fs::path target = dir.Path() / "t";
    WriteFile(target, "old\n");
    {
        auto out = TextOutputStream::Create(Item(target));
        out->WriteLine("kept");
    }
    EXPECT_EQ(ReadFile(target), "kept\n");
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"t"}));

    try {
        auto out = TextOutputStream::Create(Item(target));
        out->WriteLine("half");
        throw std::runtime_error("the writer failed midway");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(ReadFile(target), "kept\n");
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"t"}));
}

// Create: nil → NilObjectException; missing folder, folder under a file, or a folder as target → IOException.
TEST(TextOutputStreamTest, CreateFailures) {
    TempDir dir;
    EXPECT_THROW(TextOutputStream::Create(nullptr), fw::NilObjectException);
    try {
        TextOutputStream::Create(Item(dir.Path() / "nowhere" / "t"));
        ADD_FAILURE() << "no exception";
    } catch (const fw::IOException& e) {
        EXPECT_EQ(e.ErrorNumber(), ENOENT);
    }
    WriteFile(dir.Path() / "file", "x");
    try {
        TextOutputStream::Create(Item(dir.Path() / "file" / "t"));
        ADD_FAILURE() << "no exception";
    } catch (const fw::IOException& e) {
        EXPECT_EQ(e.ErrorNumber(), ENOTDIR);
    }
    fs::create_directory(dir.Path() / "folder");
    try {
        TextOutputStream::Create(Item(dir.Path() / "folder"));
        ADD_FAILURE() << "no exception";
    } catch (const fw::IOException& e) {
        EXPECT_EQ(e.ErrorNumber(), EISDIR);
    }
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"file", "folder"}));
}

// Atomic replace: a Close that fails (its temporary file gone) throws and leaves the old file whole.
TEST(TextOutputStreamTest, FailedCloseKeepsOldFile) {
    TempDir dir;
    const fs::path target = dir.Path() / "t";
    WriteFile(target, "old\ncontent\n");
    auto out = TextOutputStream::Create(Item(target));
    out->WriteLine("new");
    for (const auto& name : Names(dir.Path()))
        if (name != "t") fs::remove(dir.Path() / name);
    try {
        out->Close();
        ADD_FAILURE() << "no exception";
    } catch (const fw::IOException& e) {
        EXPECT_EQ(e.ErrorNumber(), ENOENT);
    }
    EXPECT_EQ(ReadFile(target), "old\ncontent\n");
    EXPECT_NO_THROW(out->Close());  // already closed
}

// Atomic replace: a rename that fails (target now a non-empty folder) throws, leaves the folder alone and no temp file.
TEST(TextOutputStreamTest, FailedRenameRemovesTemporaryFile) {
    TempDir dir;
    const fs::path target = dir.Path() / "t";
    WriteFile(target, "old\n");
    auto out = TextOutputStream::Create(Item(target));
    out->WriteLine("new");
    fs::remove(target);
    fs::create_directory(target);
    WriteFile(target / "inside", "keep");
    EXPECT_THROW(out->Close(), fw::IOException);
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"t"}));
    EXPECT_EQ(ReadFile(target / "inside"), "keep");
}

// Atomic replace: a write that fails midway (file size limit, like a full disk) leaves the old file whole.
TEST(TextOutputStreamTest, FailedWriteKeepsOldFile) {
    TempDir dir;
    const fs::path target = dir.Path() / "t";
    const std::string old = "old line 1\nold line 2\n";
    WriteFile(target, old);
    const int status = RunInChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {1000, 1000};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
        auto out = TextOutputStream::Create(Item(target));
        for (int i = 0; i < 1000; ++i) out->WriteLine("a new line that is long enough");
        try {
            out->Close();
        } catch (const fw::IOException& e) {
            return e.ErrorNumber() == EFBIG ? 0 : 11;
        }
        return 12;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFile(target), old);
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"t"}));
}

// Atomic replace: a writer killed before Close leaves the old file whole.
TEST(TextOutputStreamTest, KilledBeforeCloseKeepsOldFile) {
    TempDir dir;
    const fs::path target = dir.Path() / "t";
    WriteFile(target, "old\ncontent\n");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::shared_ptr<TextOutputStream> out;
        try {
            out = TextOutputStream::Create(Item(target));
            for (int i = 0; i < 100; ++i) out->WriteLine("new");
        } catch (...) {
            ::_exit(1);
        }
        // The stream is still open: tell the parent, then wait to be killed.
        if (::write(ready[1], "r", 1) != 1) ::_exit(1);
        for (;;) ::pause();
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    // The child's stream is mid-write; its destructor never runs.
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(ReadFile(target), "old\ncontent\n");
}

// The text of value k: several lines, so that a part of it is recognisably not whole.
std::string Value(long k) {
    std::string text;
    for (int line = 0; line < 64; ++line) text += std::to_string(k) + ":" + std::to_string(line) + ":padding-padding\n";
    return text;
}

// Atomic replace: a writer loop killed at random moments 200 times; the target is always one whole value.
TEST(TextOutputStreamTest, KilledWriterLoopAlwaysLeavesWholeValue) {
    TempDir dir;
    const fs::path target = dir.Path() / "scores.txt";
    WriteFile(target, Value(0));
    std::mt19937 random(12345);
    std::set<long> seen;
    for (int round = 1; round <= 200; ++round) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            try {
                for (long k = round * 100000L;; ++k) {
                    auto out = TextOutputStream::Create(Item(target));
                    const std::string text = Value(k);
                    std::size_t start = 0;
                    while (start < text.size()) {
                        const std::size_t end = text.find('\n', start);
                        out->WriteLine(text.substr(start, end - start));
                        start = end + 1;
                    }
                    out->Close();
                }
            } catch (...) {
            }
            ::_exit(1);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 4000));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed on its own";

        const std::string text = ReadFile(target);
        const long k = std::atol(text.c_str());
        ASSERT_EQ(text, Value(k)) << "round " << round;
        seen.insert(k);
    }
    // The kills came both before and after commits.
    EXPECT_GT(seen.size(), 10u);
    // Only the target and temporary files of killed writers (".scores.txt.XXXXXX") are left.
    std::size_t leftovers = 0;
    for (const auto& name : Names(dir.Path())) {
        if (name != "scores.txt") {
            EXPECT_EQ(name.rfind(".scores.txt.", 0), 0u) << name;
            AgeBy(dir.Path() / name, std::chrono::minutes(2));
            ++leftovers;
        }
    }
    EXPECT_GT(leftovers, 0u) << "no kill came between a temporary file and its rename";

    // Once they are old, the next whole write takes them away.
    auto out = TextOutputStream::Create(Item(target));
    out->WriteLine("7");
    out->Close();
    EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"scores.txt"});
    EXPECT_EQ(ReadFile(target), "7\n");
}

// A write removes only its own target's temporaries, and only those a minute
// old: a younger one may be another copy's write in flight.
TEST(TextOutputStreamTest, RemovesOnlyStaleTemporariesOfItsTarget) {
    TempDir dir;
    const fs::path folder = dir.Path();
    const std::set<std::string> kept{
        ".scores.txt.Fresh1",    // too young
        ".scores.txt.Old12",     // five characters, not six
        ".scores.txt.Old1234",   // seven
        ".scores.txt.Old-12",    // not a letter or a digit
        "scores.txt.Old123",     // not hidden
        ".other.txt.Old123",     // another target's
        ".scores.txt.Folder",    // a folder
        ".scores.txt.Linked",    // a link, whose target stays too
        "linked-to",
    };
    for (const auto& name : kept)
        if (name != ".scores.txt.Folder" && name != ".scores.txt.Linked") WriteFile(folder / name, "x");
    fs::create_directory(folder / ".scores.txt.Folder");
    fs::create_symlink(folder / "linked-to", folder / ".scores.txt.Linked");
    for (const auto& name : {".scores.txt.Old123", ".scores.txt.aB3xYz"}) WriteFile(folder / name, "stale");
    for (const auto& name : Names(folder))
        if (name != ".scores.txt.Fresh1") AgeBy(folder / name, std::chrono::minutes(5));

    auto out = TextOutputStream::Create(Item(folder / "scores.txt"));
    out->WriteLine("42");
    out->Close();
    std::set<std::string> expected = kept;
    expected.insert("scores.txt");
    EXPECT_EQ(Names(folder), expected);
    EXPECT_EQ(ReadFile(folder / "scores.txt"), "42\n");
    EXPECT_EQ(ReadFile(folder / "linked-to"), "x");
}

}  // namespace

// Opening the window with the stored high score, and resetting it: the file
// "plovt.txt" in the application-data folder is the only state kept between runs.

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "framework/files.h"
#include "tests/game/game_fixture.h"

namespace fs = std::filesystem;
using corvessan_test::ReadFile;
using corvessan_test::WriteFile;
using fw::DialogChoice;

namespace {

class OpeningTest : public GameTest {
protected:
    // The window opens in each test, once its data folder is ready.
    void SetUp() override { ResetMediaCaches(); }

    void Open() {
        fw::ReleaseWindows();
        ResetMediaCaches();
        window = &fw::MakeWindow<Window1>();
    }

    fs::path File() const { return HighScorePath(data); }
    std::string Stored() const { return ReadFile(File()); }

    // How often the file is named on the folder's hidden list.
    int TimesHidden() const {
        const std::string list = ReadFile(data.Path() / ".hidden");
        int times = 0;
        for (std::size_t at = 0; (at = list.find("plovt.txt\n", at)) != std::string::npos; ++at)
            times += at == 0 || list[at - 1] == '\n';
        return times;
    }

    // The folder holds the file and its hidden list, nothing half-written.
    void ExpectNoLeftovers() const {
        for (const auto& entry : fs::directory_iterator(data.Path())) {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(name == "plovt.txt" || name == ".hidden") << name;
        }
    }

    void Reset(DialogChoice answer) {
        seam.dialogs.answers.push_back(answer);
        Click(w().PushButton7());
    }

    // START still begins a game: a play-back of two flashes, then the player's turn.
    void ExpectStartWorks() {
        Click(w().PushButton1());
        PlayBack();
        EXPECT_EQ(CurrentRound().size(), 4u);
        EXPECT_TRUE(w().Label4().Visible());
        EXPECT_TRUE(w().ImageWell1(0).Enabled());
    }
};

}  // namespace

// The first start makes the file with the single line "20", hides it, and shows a blank, disabled grid.
TEST_F(OpeningTest, FirstStartMakesTheFile) {
    Open();
    EXPECT_EQ(Stored(), "20\n");
    EXPECT_EQ(TimesHidden(), 1);
    EXPECT_EQ(w().Label26().Text(), "20");
    EXPECT_TRUE(GridShows(white()));
    for (int i = 0; i <= 8; ++i) EXPECT_FALSE(w().ImageWell1(i).Enabled());
    EXPECT_TRUE(seam.dialogs.problems.empty());
    ExpectNoLeftovers();

    // The next run reads it and lists it no second time.
    Open();
    EXPECT_EQ(Stored(), "20\n");
    EXPECT_EQ(TimesHidden(), 1);
}

// The first line is shown exactly as stored, without its line end; the file is never rewritten.
TEST_F(OpeningTest, FirstLineShownAsStored) {
    const struct {
        const char* content;
        const char* shown;
    } kCases[] = {
        {"57\nmore\n", "57"}, {"abc", "abc"},  {"42\r\n", "42"}, {"", ""}, {"\n99\n", ""},
        {" 7 \n", " 7 "},     {"8\r9\n", "8"}, {"\xC3\x28\xFF\xFE" "3\n", "\xC3\x28\xFF\xFE" "3"},
        {"<img src=x>\n", "<img src=x>"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.content);
        WriteFile(File(), c.content);
        Open();
        EXPECT_EQ(w().Label26().Text(), c.shown);
        EXPECT_EQ(Stored(), c.content);
        // Shown as text, never interpreted as markup.
        EXPECT_EQ(static_cast<QLabel*>(w().Label26().NativeWidget())->textFormat(), Qt::PlainText);
    }
    EXPECT_TRUE(seam.dialogs.problems.empty());
}

// A huge first line is cut to a bounded label text, quickly.
TEST_F(OpeningTest, HugeFirstLineIsBounded) {
    const std::string content = std::string(5 * 1024 * 1024, '7') + "\n8\n";
    WriteFile(File(), content);
    const auto start = std::chrono::steady_clock::now();
    Open();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(w().Label26().Text(), std::string(fw::TextInputStream::kMaxLineBytes, '7'));
    EXPECT_EQ(Stored().size(), content.size());
}

// A high-score "file" that is a folder, a pipe nobody writes to, or a link to
// an endless device is reported at once, left alone, and the game plays with 20.
TEST_F(OpeningTest, UnreadableFileStillOpens) {
    for (const std::function<void()>& make : std::vector<std::function<void()>>{
             [&] { fs::create_directories(File() / "inside"); }, [&] { ASSERT_EQ(::mkfifo(File().c_str(), 0600), 0); },
             [&] { fs::create_symlink("/dev/zero", File()); }}) {
        fs::remove_all(File());
        seam.dialogs.problems.clear();
        make();
        const auto type = fs::symlink_status(File()).type();
        testing::internal::CaptureStderr();
        Open();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(w().Label26().Text(), "20");
        ASSERT_EQ(seam.dialogs.problems.size(), 1u);
        EXPECT_NE(seam.dialogs.problems[0].find("plovt.txt"), std::string::npos);
        EXPECT_NE(err.find("plovt.txt"), std::string::npos);
        EXPECT_EQ(fs::symlink_status(File()).type(), type);
        EXPECT_TRUE(GridShows(white()));
        ExpectStartWorks();
    }
}

// An application-data folder that cannot be made, or a file that cannot be made in it, is reported; the game plays.
TEST_F(OpeningTest, UnusableDataFolderStillOpens) {
    WriteFile(data.Path() / "file", "x");
    {
        corvessan_test::ScopedDataHome impossible(data.Path() / "file" / "share");
        Open();
        EXPECT_EQ(w().Label26().Text(), "20");
        EXPECT_EQ(seam.dialogs.problems.size(), 1u);
        ExpectStartWorks();
        Reset(DialogChoice::Action);
        EXPECT_EQ(seam.dialogs.problems.size(), 2u);
        EXPECT_EQ(w().Label26().Text(), "20");
    }
    EXPECT_EQ(ReadFile(data.Path() / "file"), "x");
    // A folder where nothing can be created, even by root.
    corvessan_test::ScopedDataHome readOnly("/proc/self");
    Open();
    EXPECT_EQ(w().Label26().Text(), "20");
    EXPECT_EQ(seam.dialogs.problems.size(), 3u);
    ExpectStartWorks();
}

// "Yes" writes and shows "20" whatever was stored, also when the file is gone; the question is exact.
TEST_F(OpeningTest, ConfirmedResetWritesDefault) {
    WriteFile(File(), "57\nold\n");
    Open();
    ASSERT_EQ(w().Label26().Text(), "57");
    Reset(DialogChoice::Action);
    ASSERT_EQ(seam.dialogs.requests.size(), 1u);
    const fw::DialogRequest& asked = seam.dialogs.requests[0];
    EXPECT_EQ(asked.icon, 3);
    EXPECT_EQ(asked.actionCaption, "Yes");
    EXPECT_TRUE(asked.cancelVisible);
    EXPECT_EQ(asked.message, "Are you sure you want to reset the high score to the default score of 20?");
    EXPECT_EQ(asked.explanation, "If you don't want to do this click cancel. ");
    EXPECT_EQ(asked.explanation.size(), 43u);
    EXPECT_EQ(Stored(), "20\n");
    EXPECT_EQ(TimesHidden(), 1);
    EXPECT_EQ(w().Label26().Text(), "20");

    fs::remove(File());
    Reset(DialogChoice::Action);
    EXPECT_EQ(Stored(), "20\n");
    EXPECT_EQ(TimesHidden(), 1);

    // A stored score below the default is reset all the same.
    WriteFile(File(), "5\n");
    Open();
    ASSERT_EQ(w().Label26().Text(), "5");
    Reset(DialogChoice::Action);
    EXPECT_EQ(w().Label26().Text(), "20");
    EXPECT_EQ(Stored(), "20\n");
    EXPECT_TRUE(seam.dialogs.problems.empty());
    ExpectNoLeftovers();
}

// Cancel, or a dialog closed without an answer, changes nothing and the button stays usable.
TEST_F(OpeningTest, CancelledResetKeepsEverything) {
    WriteFile(File(), "57\n");
    Open();
    for (DialogChoice answer : {DialogChoice::Cancel, DialogChoice::None}) {
        Reset(answer);
        EXPECT_EQ(Stored(), "57\n");
        EXPECT_EQ(w().Label26().Text(), "57");
        ASSERT_NE(w().ControlByName("PushButton7"), nullptr);
        EXPECT_TRUE(w().PushButton7().NativeWidget()->isVisible());
        EXPECT_TRUE(w().PushButton7().Enabled());
    }
    Reset(DialogChoice::Action);
    EXPECT_EQ(seam.dialogs.requests.size(), 3u);
    EXPECT_EQ(Stored(), "20\n");
    EXPECT_EQ(w().Label26().Text(), "20");
}

// A reset during a game leaves the game running; its game over then compares with 20.
TEST_F(OpeningTest, ResetDuringGameKeepsPlaying) {
    WriteFile(File(), "30\n");
    Open();
    Click(w().PushButton1());
    seam.clock.RunNext();
    const std::string computer = w().str1;
    ASSERT_FALSE(computer.empty());
    Reset(DialogChoice::Action);
    EXPECT_EQ(w().Label26().Text(), "20");
    EXPECT_EQ(w().str1, computer);
    EXPECT_EQ(w().Label2().Text(), "0");
    EXPECT_EQ(w().Timer1().Mode(), 2);

    // 2, 4, 6, 8 with two squares, 11 to 20 with three, then 24: below the old 30.
    for (int round = 0; round < 12 && w().Label2().Text() != "24"; ++round) {
        PlayBack();
        Answer(CurrentRound());
    }
    ASSERT_EQ(w().Label2().Text(), "24");
    Click(w().PushButton2());
    EXPECT_EQ(w().Label26().Text(), "24");
    EXPECT_EQ(Stored(), "24\n");
}

// A reset that cannot write the file reports it and keeps the shown high score.
TEST_F(OpeningTest, ResetThatCannotWriteIsReported) {
    WriteFile(File(), "57\n");
    Open();
    fs::remove(File());
    fs::create_directories(File() / "inside");
    testing::internal::CaptureStderr();
    Reset(DialogChoice::Action);
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(seam.dialogs.problems.size(), 1u);
    EXPECT_NE(err.find("plovt.txt"), std::string::npos);
    EXPECT_EQ(w().Label26().Text(), "57");
    EXPECT_TRUE(fs::is_directory(File() / "inside"));
    ExpectNoLeftovers();
}

// Rounds at their edges: the rating ladder, "END ?" at any moment, clicks at
// awkward times, the levels and sound modes, the blanking timer, and the
// failures a player may meet (a missing sound, a high score that cannot be kept).

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "tests/game/game_fixture.h"

namespace {

constexpr const char* kLetters = "brgy";  // in the order of the drawn colour index

class RoundsTest : public GameTest {
protected:
    // Scripts the draws of the next flash ticks so they show `round` ("4b0r").
    void QueueFlashes(const std::string& round) {
        for (std::size_t i = 0; i + 1 < round.size(); i += 2) {
            const auto colour = static_cast<std::int32_t>(std::string(kLetters).find(round[i + 1]));
            seam.random.Queue({colour, round[i] - '0'});
        }
    }
    // Plays one scripted round's flashes to the player's turn.
    void ShowRound(const std::string& round) {
        QueueFlashes(round);
        PlayBack();
        ASSERT_EQ(CurrentRound(), round);
    }
    // A game of one right round (score 2) and one wrong one.
    void PlayOneRightThenWrong() {
        Click(w().PushButton1());
        PlayBack();
        Answer(CurrentRound());
        ASSERT_EQ(w().Label2().Text(), "2");
        ShowRound("1g2y");
        Answer("1g2b");
    }
    int Count(const std::string& sound) const {
        return static_cast<int>(std::count(seam.audio.played.begin(), seam.audio.played.end(), sound));
    }
    bool SquaresEnabled() const {
        for (int i = 0; i <= 8; ++i)
            if (!window->ImageWell1(i).Enabled()) return false;
        return true;
    }
};

struct RatingCase {
    const char* score;
    const char* rating;
    const char* stars;
};

class RatingTest : public RoundsTest, public ::testing::WithParamInterface<RatingCase> {};

}  // namespace

// Each final score just above a threshold (or at it) gets its rating and its stars, the rest stay grey.
TEST_P(RatingTest, FinalScoreRating) {
    const RatingCase& c = GetParam();
    Click(w().PushButton1());
    w().Label2().Text(c.score);
    Click(w().PushButton2());
    EXPECT_EQ(w().Label3().Text(), std::string("Final Score: ") + c.score);
    EXPECT_TRUE(w().Label28().Visible());
    EXPECT_EQ(w().Label28().Text(), c.rating);
    EXPECT_EQ(StarSlots(), c.stars);

    // END ? again, on the game-over screen: the stars go with the old rating.
    Click(w().PushButton2());
    EXPECT_EQ(w().Label28().Text(), "Keep Trying");
    EXPECT_EQ(StarSlots(), ".....");
}

INSTANTIATE_TEST_SUITE_P(
    Ladder, RatingTest,
    ::testing::Values(RatingCase{"209", "UNBELIEVABLE", "*****"}, RatingCase{"200", "You are a PRO", "****."},
                      RatingCase{"151", "You are a PRO", "****."}, RatingCase{"116", "Excellent", "....."},
                      RatingCase{"86", "Superior", "***.."}, RatingCase{"66", "Great", "....."},
                      RatingCase{"36", "Very Good", "**..."}, RatingCase{"20", "Good", "*...."},
                      RatingCase{"11", "On the track", "....."}, RatingCase{"10", "Keep Trying", "....."},
                      RatingCase{"8", "Keep Trying", "....."}),
    [](const ::testing::TestParamInfo<RatingCase>& info) { return std::string("Score") + info.param.score; });

// Only a score above the high score shown is stored; a tie leaves the file and the label alone.
// A score that another copy of the game stored meanwhile is kept, and shown, unless beaten.
TEST_F(RoundsTest, HighScoreKeptOnlyWhenBeaten) {
    corvessan_test::WriteFile(HighScorePath(data), "untouched\n");
    w().Label2().Text("20");
    Click(w().PushButton2());
    EXPECT_EQ(corvessan_test::ReadFile(HighScorePath(data)), "untouched\n");
    EXPECT_EQ(w().Label26().Text(), "20");

    w().Label2().Text("24");
    Click(w().PushButton2());
    EXPECT_EQ(corvessan_test::ReadFile(HighScorePath(data)), "24\n");
    EXPECT_EQ(w().Label26().Text(), "24");

    for (const auto& [stored, score, kept] : {std::tuple{"40\r\nmore", "30", true}, {"45\n", "45", true},
                                              {"50\n", "51", false}}) {
        corvessan_test::WriteFile(HighScorePath(data), stored);
        w().Label2().Text(score);
        Click(w().PushButton2());
        EXPECT_EQ(corvessan_test::ReadFile(HighScorePath(data)), kept ? stored : score + std::string("\n"));
        EXPECT_EQ(w().Label26().Text(), std::to_string(std::max(std::stoi(stored), std::stoi(score))));
    }
    EXPECT_TRUE(seam.dialogs.problems.empty());
}

// "END ?" with no game running ends an empty game and leaves the last-round lines as they were.
TEST_F(RoundsTest, EndWithoutAGame) {
    Click(w().PushButton2());
    EXPECT_TRUE(GridShows(sad()));
    EXPECT_FALSE(SquaresEnabled());
    EXPECT_EQ(w().Label3().Text(), "Final Score: 0");
    EXPECT_EQ(w().Label28().Text(), "Keep Trying");
    EXPECT_EQ(StarSlots(), ".....");
    EXPECT_EQ(w().Label18().Text(), "");
    EXPECT_EQ(w().Label19().Text(), "");
    EXPECT_TRUE(w().PushButton1().Visible());
    EXPECT_EQ(w().PushButton1().Caption(), "New Game");
    EXPECT_EQ(Count("Basso.aiff"), 1);
    EXPECT_EQ(corvessan_test::ReadFile(HighScorePath(data)), "20\n");

    // A lost game sets the lines; two more presses keep them.
    Click(w().PushButton1());
    ShowRound("4b0r");
    Answer("4b0g");
    EXPECT_EQ(w().Label19().Text(), "4b0g");
    for (int press = 0; press < 2; ++press) {
        Click(w().PushButton2());
        EXPECT_EQ(w().Label18().Text(), "4b0r");
        EXPECT_EQ(w().Label19().Text(), "4b0g");
        EXPECT_EQ(w().Label3().Text(), "Final Score: 0");
        EXPECT_EQ(w().Label28().Text(), "Keep Trying");
        EXPECT_EQ(w().Label2().Text(), "0");
    }
    EXPECT_EQ(Count("Basso.aiff"), 4);
}

// "END ?" in mid-game shows only the last judged round and stops the play-back for good.
TEST_F(RoundsTest, EndDuringAGame) {
    // In the first round's play-back: nothing judged yet.
    Click(w().PushButton1());
    QueueFlashes("4b");
    seam.clock.Advance(1000);
    Click(w().PushButton2());
    EXPECT_EQ(w().Label18().Text(), "");
    EXPECT_EQ(w().Label19().Text(), "");
    EXPECT_EQ(w().Label3().Text(), "Final Score: 0");

    // In the second round's play-back.
    Click(w().PushButton1());
    ShowRound("4b0r");
    Answer("4b0r");
    QueueFlashes("1g");
    seam.clock.Advance(1000);
    ASSERT_EQ(CurrentRound(), "1g");
    Click(w().PushButton2());
    EXPECT_EQ(w().Label18().Text(), "4b0r");
    EXPECT_EQ(w().Label19().Text(), "4b0r");
    EXPECT_EQ(w().Label3().Text(), "Final Score: 2");
    EXPECT_EQ(w().Timer1().Mode(), 0);
    seam.clock.Advance(5000);
    EXPECT_TRUE(GridShows(sad()));
    EXPECT_EQ(w().str1, "");
    EXPECT_EQ(Count("Purr.aiff"), 1);

    // In the player's turn, one square of the round entered.
    Click(w().PushButton1());
    ShowRound("3y5b");
    Answer("3y5b");
    ShowRound("6r7g");
    Answer("6r");
    Click(w().PushButton2());
    EXPECT_EQ(w().Label18().Text(), "3y5b");
    EXPECT_EQ(w().Label19().Text(), "3y5b");
    EXPECT_EQ(w().Label3().Text(), "Final Score: 2");
    seam.clock.Advance(1000);
    EXPECT_TRUE(GridShows(sad()));
}

// A wrong third round is shown as flashed and as entered; only the first two rounds score.
TEST_F(RoundsTest, WrongThirdRound) {
    Click(w().PushButton1());
    ShowRound("4b0r");
    Answer("4b0r");
    ShowRound("1g2y");
    Answer("1g2y");
    ShowRound("3y5b");
    Answer("3y5g");
    EXPECT_EQ(w().Label18().Text(), "3y5b");
    EXPECT_EQ(w().Label19().Text(), "3y5g");
    EXPECT_EQ(w().Label3().Text(), "Final Score: 4");
    EXPECT_EQ(w().Label28().Text(), "Keep Trying");
    EXPECT_EQ(seam.audio.played.back(), "Basso.aiff");
    EXPECT_EQ(Count("Ping.aiff"), 2);
}

// The round's last click before its last flash ends the game, even when it matches what will be shown.
TEST_F(RoundsTest, AnswerBeforeTheLastFlash) {
    Click(w().PushButton1());
    QueueFlashes("4b6r");
    seam.clock.Advance(1000);
    EXPECT_EQ(w().ImageWell1(4).Image(), blue());
    Answer("4b6r");
    EXPECT_EQ(w().Label18().Text(), "4b");
    EXPECT_EQ(w().Label19().Text(), "4b6r");
    EXPECT_EQ(w().Label3().Text(), "Final Score: 0");
    seam.clock.Advance(3000);
    EXPECT_TRUE(GridShows(sad()));
    EXPECT_EQ(Count("Purr.aiff"), 0);
    EXPECT_EQ(seam.random.Queued(), 2u);
}

// An answer between the round's last flash and its closing tick is judged as usual, with no "Your Turn" or Purr.
TEST_F(RoundsTest, AnswerBeforeTheClosingTick) {
    Click(w().PushButton1());
    QueueFlashes("4b6r");
    seam.clock.Advance(2000);
    ASSERT_EQ(CurrentRound(), "4b6r");
    Answer("4b6r");
    EXPECT_EQ(w().Label2().Text(), "2");
    EXPECT_FALSE(w().Label4().Visible());

    // The tick that would have closed the round shows the next round's first flash.
    QueueFlashes("1g2y");
    seam.clock.Advance(1000);
    EXPECT_EQ(CurrentRound(), "1g");
    EXPECT_FALSE(w().Label4().Visible());
    EXPECT_EQ(seam.audio.played, std::vector<std::string>{"Ping.aiff"});
    PlayBack();
    EXPECT_TRUE(w().Label4().Visible());
    EXPECT_EQ(seam.audio.played, (std::vector<std::string>{"Ping.aiff", "Purr.aiff"}));
}

// A click after a round is judged and before the next flash is the next round's first entry.
TEST_F(RoundsTest, EarlyClickCountsInTheNextRound) {
    Click(w().PushButton1());
    ShowRound("4b0r");
    Answer("4b0r");
    Answer("3r");
    EXPECT_EQ(w().kk, 1);
    EXPECT_EQ(w().str2, "4b0r|3r");
    ShowRound("3r7g");
    EXPECT_EQ(w().kk, 1);
    Answer("7g");
    EXPECT_EQ(w().Label2().Text(), "4");
    EXPECT_EQ(w().str2, "4b0r|3r7g|");
}

// A draw of the previous flash's square shows nothing, runs START again unseen, and the round goes on.
TEST_F(RoundsTest, SameSquareDrawnTwice) {
    Click(w().PushButton1());
    QueueFlashes("4b4r5r");
    seam.clock.Advance(1000);
    EXPECT_EQ(w().ImageWell1(4).Image(), blue());
    seam.clock.Advance(1000);
    EXPECT_EQ(w().str1, "4b");
    EXPECT_EQ(w().jj, 2);
    EXPECT_EQ(w().last, 4);
    EXPECT_TRUE(GridShows(white()));
    EXPECT_TRUE(SquaresEnabled());
    EXPECT_FALSE(w().PushButton1().Visible());
    EXPECT_FALSE(w().Label3().Visible());
    EXPECT_FALSE(w().Label4().Visible());
    EXPECT_FALSE(w().Label28().Visible());
    EXPECT_EQ(w().Label2().Text(), "0");
    EXPECT_EQ(StarSlots(), ".....");
    EXPECT_EQ(w().Timer1().Mode(), 2);

    seam.clock.Advance(1000);
    EXPECT_EQ(w().str1, "4b5r");
    EXPECT_EQ(w().ImageWell1(5).Image(), red());
    seam.clock.Advance(1000);
    EXPECT_EQ(w().Timer1().Mode(), 0);
    EXPECT_TRUE(w().Label4().Visible());
    EXPECT_EQ(seam.audio.played, std::vector<std::string>{"Purr.aiff"});
    Answer("4b5r");
    EXPECT_EQ(w().Label2().Text(), "2");
}

// Level easy flashes only blue and red from the next tick on; the wheel still offers all four colours.
TEST_F(RoundsTest, LevelEasy) {
    ClickRadio(w().RadioButton4());
    ASSERT_TRUE(w().RadioButton4().Value());
    Click(w().PushButton1());
    for (int round = 0; round < 6; ++round) {
        PlayBack();
        Answer(CurrentRound());
    }
    EXPECT_EQ(w().Label2().Text(), "14");
    EXPECT_EQ(w().str1.find_first_of("gy"), std::string::npos);
    for (const auto& draw : seam.random.Draws()) EXPECT_TRUE(draw.high == 1 || draw.high == 8) << draw.high;

    Choose(0, 'g');
    EXPECT_EQ(w().ImageWell1(0).Image(), green());
    Choose(0, 'y');
    EXPECT_EQ(w().ImageWell1(0).Image(), yellow());

    // Back to normal in mid play-back: the next tick draws among four.
    ClickRadio(w().RadioButton3());
    seam.clock.Advance(1000);
    EXPECT_EQ(seam.random.Draws()[seam.random.Draws().size() - 2].high, 3);
}

// With "silent" chosen, nothing sounds: no Purr, no Ping, no Basso.
TEST_F(RoundsTest, SilentMode) {
    ClickRadio(w().RadioButton2());
    ASSERT_FALSE(w().RadioButton1().Value());
    PlayOneRightThenWrong();
    EXPECT_TRUE(w().PushButton1().Visible());
    EXPECT_TRUE(seam.audio.played.empty());
}

// A click blanks the grid 500 ms later; a game over in between cancels that, so the sad faces stay.
TEST_F(RoundsTest, BlankingAfterAClick) {
    Click(w().PushButton1());
    ShowRound("4b0r");
    Choose(2, 'g');
    Answer("4b");
    EXPECT_EQ(w().ImageWell1(4).Image(), blue());
    EXPECT_EQ(w().ImageWell1(2).Image(), green());
    seam.clock.Advance(499);
    EXPECT_EQ(w().ImageWell1(4).Image(), blue());
    seam.clock.Advance(1);
    EXPECT_TRUE(GridShows(white()));
    EXPECT_EQ(w().Timer2().Mode(), 0);

    Answer("0y");  // wrong: the game ends on this click
    EXPECT_TRUE(GridShows(sad()));
    seam.clock.Advance(1000);
    EXPECT_TRUE(GridShows(sad()));
    EXPECT_EQ(w().Timer2().Mode(), 0);
}

// Leaving a square blanks it during the play-back; in the player's turn the chosen colour stays.
TEST_F(RoundsTest, LeavingASquare) {
    Click(w().PushButton1());
    QueueFlashes("4b0r");
    seam.clock.Advance(1000);
    EXPECT_EQ(w().ImageWell1(4).Image(), blue());
    Leave(w().ImageWell1(4));
    EXPECT_EQ(w().ImageWell1(4).Image(), white());
    Choose(7, 'g');
    EXPECT_EQ(w().ImageWell1(7).Image(), green());
    Leave(w().ImageWell1(7));
    EXPECT_EQ(w().ImageWell1(7).Image(), white());

    PlayBack();
    Choose(2, 'y');
    Leave(w().ImageWell1(2));
    EXPECT_EQ(w().ImageWell1(2).Image(), yellow());
}

// The wheel colours only enabled squares; a vertical turn wins over a horizontal one, a zero turn does nothing.
TEST_F(RoundsTest, WheelChoices) {
    WheelDown(w().ImageWell1(0));
    EXPECT_EQ(w().ImageWell1(0).Image(), white());
    EXPECT_EQ(w().color1, "");

    Click(w().PushButton1());
    fw::ImageWell& square = w().ImageWell1(1);
    Wheel(square, 120, -120);  // left and down at once
    EXPECT_EQ(square.Image(), blue());
    EXPECT_EQ(w().color1, "b");
    Wheel(square, -120, 120);  // right and up at once
    EXPECT_EQ(square.Image(), red());
    EXPECT_EQ(w().color1, "r");
    Wheel(square, 0, 0);
    EXPECT_EQ(square.Image(), red());
    EXPECT_EQ(w().color1, "r");
    WheelRight(square);
    EXPECT_EQ(w().color1, "g");
    WheelLeft(square);
    EXPECT_EQ(square.Image(), yellow());
    EXPECT_EQ(w().color1, "y");

    Click(w().PushButton2());
    WheelUp(square);
    EXPECT_EQ(square.Image(), sad());
    EXPECT_EQ(w().color1, "y");
}

// A click before any wheel choice enters the bare square number and loses; the last choice outlives a game over.
TEST_F(RoundsTest, ColourOfAClick) {
    Click(w().PushButton1());
    ShowRound("4b0r");
    Click(w().ImageWell1(4));
    Click(w().ImageWell1(0));
    EXPECT_EQ(w().Label19().Text(), "40");
    EXPECT_EQ(w().Label3().Text(), "Final Score: 0");

    // One choice, made on another square, serves every later click.
    Click(w().PushButton1());
    ShowRound("2y5y");
    Choose(8, 'y');
    Click(w().ImageWell1(2));
    Click(w().ImageWell1(5));
    EXPECT_EQ(w().Label2().Text(), "2");
    Click(w().PushButton2());

    Click(w().PushButton1());
    ShowRound("6y7y");
    Click(w().ImageWell1(6));
    Click(w().ImageWell1(7));
    EXPECT_EQ(w().Label2().Text(), "2");
}

// A sound that cannot be loaded stays silent and the game goes on to its end.
TEST_F(RoundsTest, MissingSound) {
    corvessan_test::BundleCopy media;
    std::filesystem::remove(media.Resources() / "Ping.aiff");
    fw::testing::ScopedBundle bundle(media.Path());
    ResetMediaCaches();
    ::testing::internal::CaptureStderr();

    PlayOneRightThenWrong();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Ping.aiff"), std::string::npos) << err;
    EXPECT_EQ(seam.audio.played, (std::vector<std::string>{"Purr.aiff", "Purr.aiff", "Basso.aiff"}));
    EXPECT_EQ(w().Label3().Text(), "Final Score: 2");
    EXPECT_TRUE(w().PushButton1().Visible());
    EXPECT_TRUE(GridShows(sad()));
}

// A high score that cannot be stored is reported; the game over still completes and the new best still shows.
TEST_F(RoundsTest, HighScoreCannotBeStored) {
    std::filesystem::remove(HighScorePath(data));
    std::filesystem::create_directory(HighScorePath(data));
    corvessan_test::WriteFile(HighScorePath(data) / "keep", "x");
    Click(w().PushButton1());
    w().Label2().Text("24");
    ::testing::internal::CaptureStderr();
    Click(w().PushButton2());
    const std::string err = ::testing::internal::GetCapturedStderr();

    ASSERT_EQ(seam.dialogs.problems.size(), 1u);
    EXPECT_NE(seam.dialogs.problems[0].find("24"), std::string::npos) << seam.dialogs.problems[0];
    EXPECT_NE(err.find("High score not saved"), std::string::npos) << err;
    EXPECT_EQ(w().Label26().Text(), "24");
    EXPECT_EQ(w().Label3().Text(), "Final Score: 24");
    EXPECT_FALSE(SquaresEnabled());
    EXPECT_EQ(w().Label2().Text(), "0");
    EXPECT_TRUE(w().PushButton1().Visible());
    EXPECT_TRUE(std::filesystem::is_directory(HighScorePath(data)));
    EXPECT_EQ(corvessan_test::ReadFile(HighScorePath(data) / "keep"), "x");
}

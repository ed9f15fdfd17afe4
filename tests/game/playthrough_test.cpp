// One whole game through real input only: every level up to a score past 200,
// then a lost round, the game-over screen and the next game's start.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/utils.h"
#include "tests/game/game_fixture.h"

namespace {

struct LevelUp {
    int score;
    PicturePtr (*picture)();
    int squares;
    int period;  // play-back period from this score on
};

const LevelUp kLevelUps[] = {
    {8, &three, 3, 1000},  {20, &four, 4, 1000},  {36, &five, 5, 1000}, {86, &six, 6, 1000},
    {116, &seven, 7, 900}, {151, &eight, 8, 800}, {191, &nine, 9, 700},
};

using PlaythroughTest = GameTest;

}  // namespace

// A perfect player climbs every level on time, then one wrong round ends the game with a full reset.
TEST_F(PlaythroughTest, PerfectGamePastTwoHundredThenOneWrongRound) {
    EXPECT_EQ(corvessan_test::ReadFile(HighScorePath(data)), "20\n");
    Click(w().PushButton1());
    EXPECT_FALSE(w().PushButton1().Visible());
    EXPECT_TRUE(GridShows(two()));
    EXPECT_EQ(w().monit, "0");

    int score = 0, squares = 2, period = 1000;
    std::size_t levelUps = 0;
    std::vector<std::string> sounds;
    std::int64_t roundStart = seam.clock.NowMs();

    // Runs one play-back to its closing tick, checking the spacing of its ticks.
    auto playBack = [&] {
        std::vector<std::int64_t> flashTicks;
        std::size_t draws = seam.random.Draws().size();
        for (int guard = 0; guard < 200 && w().Timer1().Mode() != 0; ++guard) {
            ASSERT_TRUE(seam.clock.RunNext());
            // Only a flash tick draws; a tick that draws the previous square also counts.
            if (seam.random.Draws().size() != draws) flashTicks.push_back(seam.clock.NowMs());
            draws = seam.random.Draws().size();
        }
        ASSERT_EQ(w().Timer1().Mode(), 0);
        ASSERT_GE(flashTicks.size(), static_cast<std::size_t>(squares));
        EXPECT_EQ(flashTicks.front() - roundStart, period);
        for (std::size_t i = 1; i < flashTicks.size(); ++i) EXPECT_EQ(flashTicks[i] - flashTicks[i - 1], period);
        EXPECT_EQ(seam.clock.NowMs() - flashTicks.back(), period);
        EXPECT_EQ(CurrentRound().size(), static_cast<std::size_t>(2 * squares));
        EXPECT_TRUE(w().Label4().Visible());
        sounds.push_back("Purr.aiff");
        EXPECT_EQ(seam.audio.played, sounds);
    };

    while (score < 209) {
        SCOPED_TRACE("score " + std::to_string(score));
        playBack();
        if (HasFatalFailure()) return;
        Answer(CurrentRound());
        roundStart = seam.clock.NowMs();
        score += squares;
        ASSERT_EQ(w().Label2().Text(), fw::Str(score));
        EXPECT_FALSE(w().Label4().Visible());
        EXPECT_EQ(w().kk, 0);
        sounds.push_back("Ping.aiff");
        EXPECT_EQ(seam.audio.played, sounds);
        if (levelUps < std::size(kLevelUps) && score == kLevelUps[levelUps].score) {
            const LevelUp& up = kLevelUps[levelUps++];
            EXPECT_TRUE(GridShows(up.picture()));
            squares = up.squares;
            period = up.period;
        }
        EXPECT_EQ(w().numb2, squares);
        EXPECT_EQ(w().Timer1().Period(), period);
        EXPECT_EQ(w().Timer1().Mode(), 2);
    }
    EXPECT_EQ(levelUps, std::size(kLevelUps));

    // The next round goes wrong in its last colour only.
    playBack();
    const std::string shown = CurrentRound();
    std::string answered = shown;
    answered.back() = answered.back() == 'b' ? 'r' : 'b';
    Answer(answered);
    sounds.push_back("Basso.aiff");
    EXPECT_EQ(seam.audio.played, sounds);

    EXPECT_EQ(w().Label18().Text(), shown);
    EXPECT_EQ(w().Label19().Text(), answered);
    EXPECT_TRUE(w().Label3().Visible());
    EXPECT_EQ(w().Label3().Text(), "Final Score: 209");
    EXPECT_TRUE(w().Label28().Visible());
    EXPECT_EQ(w().Label28().Text(), "UNBELIEVABLE");
    EXPECT_EQ(StarSlots(), "*****");
    EXPECT_EQ(corvessan_test::ReadFile(HighScorePath(data)), "209\n");
    EXPECT_EQ(w().Label26().Text(), "209");
    EXPECT_TRUE(seam.dialogs.problems.empty());

    EXPECT_EQ(w().Label2().Text(), "0");
    EXPECT_EQ(w().numb2, 2);
    EXPECT_EQ(w().jj, 1);
    EXPECT_EQ(w().kk, 0);
    EXPECT_EQ(w().last, 10);
    EXPECT_EQ(w().str1, "");
    EXPECT_EQ(w().str2, "");
    EXPECT_EQ(w().monit, "3");
    EXPECT_TRUE(w().PushButton1().Visible());
    EXPECT_EQ(w().PushButton1().Caption(), "New Game");
    EXPECT_FALSE(w().Label4().Visible());
    EXPECT_TRUE(GridShows(sad()));
    for (int i = 0; i <= 8; ++i) EXPECT_FALSE(w().ImageWell1(i).Enabled()) << "square " << i;
    EXPECT_EQ(w().Timer1().Mode(), 0);
    EXPECT_EQ(w().Timer2().Mode(), 0);
    EXPECT_EQ(w().Timer1().Period(), 1000);

    // Nothing runs on after the game: the sad faces stay.
    seam.clock.Advance(5000);
    EXPECT_TRUE(GridShows(sad()));
    EXPECT_EQ(seam.audio.played, sounds);

    // "New Game" starts over at the first level, its speed included, with the stars emptied.
    Click(w().PushButton1());
    EXPECT_TRUE(GridShows(two()));
    EXPECT_EQ(StarSlots(), ".....");
    EXPECT_FALSE(w().Label3().Visible());
    EXPECT_FALSE(w().Label28().Visible());
    EXPECT_EQ(w().Label28().Text(), "");
    EXPECT_EQ(w().Label18().Text(), "");
    EXPECT_EQ(w().Label19().Text(), "");
    for (int i = 0; i <= 8; ++i) EXPECT_TRUE(w().ImageWell1(i).Enabled()) << "square " << i;
    score = 0;
    squares = 2;
    period = 1000;
    roundStart = seam.clock.NowMs();
    playBack();
}

// A long random session of real input on the virtual clock: whatever the
// player does and whenever, the game state stays consistent.

#include <QTabWidget>

#include <algorithm>
#include <random>
#include <set>
#include <string>

#include "framework/utils.h"
#include "tests/game/game_fixture.h"

namespace {

struct Level {
    int from;  // the score at which this level begins
    int squares;
    int period;
};

constexpr Level kLevels[] = {{0, 2, 1000},   {8, 3, 1000},   {20, 4, 1000},  {36, 5, 1000},
                             {86, 6, 1000},  {116, 7, 900},  {151, 8, 800},  {191, 9, 700}};

const Level& LevelAt(int score) {
    const Level* level = &kLevels[0];
    for (const Level& l : kLevels)
        if (score >= l.from) level = &l;
    return *level;
}

// Every score a game can reach: 0, 2, 4, 6, 8, 11, ... then by 9 from 191.
std::set<std::string> ReachableScores() {
    std::set<std::string> scores;
    for (int score = 0; score < 100000; score += LevelAt(score).squares) scores.insert(fw::Str(score));
    return scores;
}

// Entries of a square digit followed by a colour letter (optional for the
// player's, who may click before choosing one), rounds closed by '|'.
// Returns the number of entries in the round under way, or -1 if malformed.
int OpenEntries(const std::string& history, bool letterOptional) {
    int entries = 0;
    for (std::size_t i = 0; i < history.size();) {
        const char c = history[i];
        if (c == '|') {
            entries = 0;
            ++i;
            continue;
        }
        if (c < '0' || c > '8') return -1;
        ++entries;
        ++i;
        const bool letter = i < history.size() && std::string("brgy").find(history[i]) != std::string::npos;
        if (letter) ++i;
        else if (!letterOptional) return -1;
    }
    return entries;
}

using SoakTest = GameTest;

}  // namespace

// Random wheel turns, clicks, START, "END ?", tab and option changes and waits never break the game's invariants.
TEST_F(SoakTest, RandomSessionKeepsTheGameConsistent) {
    const std::set<std::string> scores = ReachableScores();
    std::mt19937 rng(20261207);
    auto chance = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    auto* tabs = static_cast<QTabWidget*>(w().TabPanel1().NativeWidget());
    bool careful = false;  // a careful player makes no stray clicks and always answers right
    int games = 0, maxScore = 0;
    std::string action;

    auto violation = [&]() -> std::string {
        Window1& g = w();
        const std::string& score = g.Label2().Text();
        if (!scores.count(score)) return "score " + score + " is not reachable";
        const Level& level = LevelAt(std::stoi(score));
        const bool playing = !g.PushButton1().Visible();
        if (g.numb2 != level.squares) return "numb2 " + fw::Str(g.numb2) + " at score " + score;
        if (g.Timer1().Period() != level.period) return "period " + fw::Str(g.Timer1().Period()) + " at score " + score;
        if (g.jj < 1 || g.jj > g.numb2 + 1) return "jj " + fw::Str(g.jj);
        if (g.kk < 0 || g.kk >= g.numb2) return "kk " + fw::Str(g.kk);
        if (g.last != 10 && (g.last < 0 || g.last > 8)) return "last " + fw::Str(g.last);
        const int shown = OpenEntries(g.str1, false), entered = OpenEntries(g.str2, true);
        if (shown < 0) return "str1 malformed: " + g.str1;
        if (entered < 0) return "str2 malformed: " + g.str2;
        if (std::count(g.str1.begin(), g.str1.end(), '|') != std::count(g.str2.begin(), g.str2.end(), '|'))
            return "rounds differ: " + g.str1 + " / " + g.str2;
        if (shown != g.jj - 1) return "str1 " + g.str1 + " with jj " + fw::Str(g.jj);
        if (entered != g.kk) return "str2 " + g.str2 + " with kk " + fw::Str(g.kk);
        for (int i = 0; i <= 8; ++i)
            if (g.ImageWell1(i).Enabled() != playing) return "square " + fw::Str(i) + " enabled out of a game";
        if (!playing && (g.Timer1().Mode() != 0 || !g.str1.empty() || !g.str2.empty() || score != "0"))
            return "game state left over after the game";
        if (g.Label4().Visible() != (playing && g.Timer1().Mode() == 0)) return "\"Your Turn\" out of turn";
        return "";
    };

    for (int step = 0; step < 20000; ++step) {
        const int roll = chance(100);
        fw::ImageWell& square = w().ImageWell1(chance(9));
        if (roll < 25) {
            action = "wheel";
            const int amount = chance(2) ? 120 : -120;
            if (chance(2)) Wheel(square, amount, 0);
            else Wheel(square, chance(3) ? 0 : amount, amount);
        } else if (roll < 45) {
            action = "click on a square";
            if (!careful) Click(square);
        } else if (roll < 50) {
            action = "START";
            if (w().PushButton1().Visible()) {
                careful = chance(3) == 0;
                ++games;
                Click(w().PushButton1());
            }
        } else if (roll < 52) {
            action = "END ?";
            if (!careful || chance(20) == 0) Click(w().PushButton2());
        } else if (roll < 55) {
            action = "tab";
            const int page = chance(tabs->count());
            if (chance(2)) SelectPage(page);
            else w().TabPanel1().Value(page);
        } else if (roll < 57) {
            action = "option";
            fw::RadioButton* options[] = {&w().RadioButton1(), &w().RadioButton2(), &w().RadioButton3(),
                                          &w().RadioButton4()};
            fw::RadioButton& option = *options[chance(4)];
            if (option.Shown()) ClickRadio(option);
        } else if (roll < 75) {
            action = "answer";
            if (!w().PushButton1().Visible() && w().Timer1().Mode() == 0 && w().kk == 0) Answer(CurrentRound());
        } else {
            action = "wait";
            seam.clock.Advance(1 + chance(2500));
        }
        const std::string broken = violation();
        ASSERT_EQ(broken, "") << "after step " << step << " (" << action << ")";
        maxScore = std::max(maxScore, std::stoi(w().Label2().Text()));
    }
    // The session must have reached the fast levels and played many games to mean anything.
    EXPECT_GE(maxScore, 200);
    EXPECT_GE(games, 20);
}

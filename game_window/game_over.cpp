// The end of a game: sad faces, the last evaluated round, the final score, the
// rating with its stars, and the high score.

#include <initializer_list>
#include <vector>

#include "framework/files.h"
#include "framework/utils.h"
#include "game_window/high_score_file.h"
#include "game_window/window1.h"

namespace {

struct Rating {
    double above;  // the score must be greater than this
    const char* text;
    int stars;     // slots set to the star, from the left
};

constexpr Rating kRatings[] = {
    {200, "UNBELIEVABLE", 5}, {150, "You are a PRO", 4}, {115, "Excellent", 0}, {85, "Superior", 3},
    {65, "Great", 0},         {35, "Very Good", 2},      {19, "Good", 1},      {10, "On the track", 0},
};

}  // namespace

void Window1::PushButton2_Action(fw::PushButton&) {
    Timer1().Mode(0);
    Timer2().Mode(0);
    Clearit();
    if (RadioButton1().Value()) PlayIfLoaded(Basso());
    endit();

    // The element before the last is the last evaluated round.
    const std::vector<std::string> mine = fw::Split(str1, "|");
    const std::vector<std::string> yours = fw::Split(str2, "|");
    const std::size_t upper1 = mine.size() - 1;
    const std::size_t upper2 = yours.size() - 1;
    if (upper1 > 0 && upper2 > 0) {
        Label18().Text(mine[upper1 - 1]);
        Label19().Text(yours[upper2 - 1]);
    }

    Label3().Visible(true);
    Label3().Text("Final Score: " + Label2().Text());
    Label28().Visible(true);

    const double score = fw::Val(Label2().Text());
    Label28().Text("Keep Trying");
    int stars = 0;
    for (const Rating& r : kRatings) {
        if (score > r.above) {
            Label28().Text(r.text);
            stars = r.stars;
            break;
        }
    }
    // The slots a rating leaves out go grey, so an earlier game's stars never
    // stand beside this rating (END ? again on the game-over screen).
    fw::ImageWell* slots[] = {&ImageWell3(), &ImageWell4(), &ImageWell5(), &ImageWell6(), &ImageWell7()};
    for (int i = 0; i < 5; ++i) slots[i]->Image(i < stars ? star() : grey());

    Highscore();
    DISABLEIT();

    Label2().Text("0");
    numb2 = 2;
    kk = 0;
    jj = 1;
    str1.clear();
    str2.clear();
    last = 10;
    Label4().Text("Your Turn");
    Label4().Visible(false);
    PushButton1().Caption("New Game");
    PushButton1().Visible(true);
    monit = "3";
    // Every game starts at the first level's speed.
    Timer1().Period(1000);
}

void Window1::endit() {
    for (std::int32_t i = 0; i <= 8; ++i) ImageWell1(i).Image(sad());
}

void Window1::Highscore() {
    const double best = fw::Val(Label26().Text());
    const double score = fw::Val(Label2().Text());
    if (!(best < score)) return;
    // Another copy of the game may have stored a better score since this one
    // opened; it is kept, and shown.
    if (const auto stored = RereadHighScore(); stored && !(fw::Val(*stored) < score)) {
        Label26().Text(*stored);
        return;
    }
    // The new best shows for the rest of the run even when it cannot be stored.
    Label26().Text(Label2().Text());
    WriteHighScore(Label2().Text());
}

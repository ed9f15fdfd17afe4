// The player's side of a round: the wheel chooses a colour, a click enters a
// square with it, and the round's last click has the round judged.

#include "framework/utils.h"
#include "game_window/window1.h"

namespace {

struct LevelUp {
    const char* score;
    PicturePtr (*picture)();
    std::int32_t squares;
    int period;  // 0: unchanged
};

constexpr LevelUp kLevelUps[] = {
    {"8", &three, 3, 0},     {"20", &four, 4, 0},     {"36", &five, 5, 0},     {"86", &six, 6, 0},
    {"116", &seven, 7, 900}, {"151", &eight, 8, 800}, {"191", &nine, 9, 700},
};

}  // namespace

bool Window1::ImageWell1_MouseWheel(fw::ImageWell& me, int, int, int deltaX, int deltaY) {
    if (!me.Enabled()) return false;
    if (const Colour* colour = ColourForWheel(deltaX, deltaY)) {
        me.Image(colour->picture());
        color1 = colour->letter;
    }
    return false;
}

bool Window1::ImageWell1_MouseDown(fw::ImageWell& me, int, int) {
    str2 += fw::Str(me.Index());
    str2 += color1;
    kk += 1;
    Timer2().Mode(1);
    if (kk == numb2) PushButton3().Push();
    return false;
}

void Window1::ImageWell1_MouseEnter(fw::ImageWell&) {}

void Window1::ImageWell1_MouseExit(fw::ImageWell& me) {
    if (Timer1().Mode() != 0) me.Image(white());
}

void Window1::Timer2_Action(fw::Timer&) {
    Clearit();
    Timer2().Mode(0);
}

void Window1::PushButton3_Action(fw::PushButton&) {
    str1 += "|";
    str2 += "|";
    if (fw::StrComp(str1, str2, 1) == 0) {
        Label2().Text(fw::Str(fw::Val(Label2().Text()) + numb2));
        if (RadioButton1().Value()) PlayIfLoaded(Ping());
        Label4().Visible(false);
        for (const LevelUp& up : kLevelUps) {
            if (Label2().Text() == up.score) {
                Fillit(up.picture());
                numb2 = up.squares;
                if (up.period) Timer1().Period(up.period);
                break;
            }
        }
        kk = 0;
        last = 10;
        jj = 1;
        Timer1().Mode(2);
    } else {
        PushButton2().Push();
    }
}

// The tab pages: the practice square, the sound tests and the links.

#include "framework/dialogs.h"
#include "framework/utils.h"
#include "game_window/window1.h"

namespace {
constexpr const char* kHomePage = "https://www.example.com/";
constexpr const char* kMailAddress = "mailto:mirel@example.com";
constexpr const char* kProductPage = "https://www.example.com/corvessan/";
}  // namespace

bool Window1::ImageWell2_MouseWheel(fw::ImageWell& me, int, int, int deltaX, int deltaY) {
    if (const Colour* colour = ColourForWheel(deltaX, deltaY)) {
        me.Image(colour->picture());
        color2 = colour->word;
    }
    return false;
}

void Window1::ImageWell2_MouseExit(fw::ImageWell& me) { me.Image(white()); }

bool Window1::ImageWell2_MouseDown(fw::ImageWell&, int, int) {
    fw::MsgBox("You chose " + color2);
    return false;
}

void Window1::PushButton4_Action(fw::PushButton&) {
    if (RadioButton1().Value()) PlayIfLoaded(Purr());
}

void Window1::PushButton5_Action(fw::PushButton&) {
    if (RadioButton1().Value()) PlayIfLoaded(Ping());
}

void Window1::PushButton6_Action(fw::PushButton&) {
    if (RadioButton1().Value()) PlayIfLoaded(Basso());
}

bool Window1::Label7_MouseDown(fw::Label&, int, int) {
    fw::ShowURL(kHomePage);
    return false;
}

bool Window1::Label8_MouseDown(fw::Label&, int, int) {
    fw::ShowURL(kMailAddress);
    return false;
}

bool Window1::Label22_MouseDown(fw::Label&, int, int) {
    fw::ShowURL(kProductPage);
    return false;
}

// The grid methods, START, and the play-back of a round, one flash per tick.

#include <vector>

#include "framework/utils.h"
#include "game_window/window1.h"

const Colour* ColourForWheel(int deltaX, int deltaY) {
    for (const Colour& c : kColours) {
        const bool matches = (c.wheel == WheelDirection::Down && deltaY > 0) ||
                             (c.wheel == WheelDirection::Up && deltaY < 0) ||
                             (c.wheel == WheelDirection::Right && deltaX > 0) ||
                             (c.wheel == WheelDirection::Left && deltaX < 0);
        if (matches) return &c;
    }
    return nullptr;
}

const Colour& ColourForCode(std::int32_t code) {
    for (const Colour& c : kColours)
        if (c.code == code) return c;
    throw fw::RuntimeException("no colour with code " + fw::Str(code));
}

void Window1::PlayIfLoaded(const SoundPtr& sound) {
    if (sound) sound->Play();
}

void Window1::Clearit() {
    for (std::int32_t i = 0; i <= 8; ++i) ImageWell1(i).Image(white());
}

void Window1::Fillit(const PicturePtr& p) {
    if (Label2().Text() == monit) return;
    monit = Label2().Text();
    for (std::int32_t i = 0; i <= 8; ++i) ImageWell1(i).Image(p);
}

void Window1::DISABLEIT() {
    for (std::int32_t i = 0; i <= 8; ++i) ImageWell1(i).Enabled(false);
}

void Window1::enableit() {
    for (std::int32_t i = 0; i <= 8; ++i) ImageWell1(i).Enabled(true);
}

void Window1::PushButton1_Action(fw::PushButton&) {
    enableit();
    Clearit();
    Label4().Visible(false);
    PushButton1().Visible(false);
    Label3().Visible(false);
    Label28().Visible(false);
    Label28().Text("");
    // A new game never shows the last game's stars.
    for (fw::ImageWell* slot : {&ImageWell3(), &ImageWell4(), &ImageWell5(), &ImageWell6(), &ImageWell7()})
        slot->Image(grey());
    if (Label2().Text() == "0") Fillit(two());
    Label18().Text("");
    Label19().Text("");
    Timer1().Mode(2);
}

void Window1::PushButton1_MouseExit(fw::PushButton&) {}

void Window1::Timer1_Action(fw::Timer&) {
    fw::Random random;
    if (jj <= numb2) {
        Clearit();
        std::vector<std::int32_t> codes = {1, 2};
        if (!RadioButton4().Value()) codes = {1, 2, 3, 4};
        // Every allowed colour is possible on every flash.
        const Colour& colour =
            ColourForCode(codes[random.InRange(0, static_cast<std::int32_t>(codes.size()) - 1)]);
        const std::int32_t square = random.InRange(0, 8);
        if (square != last) {
            last = square;
            str1 += fw::Str(square);
            ImageWell1(square).Image(colour.picture());
            str1 += colour.letter;
            jj += 1;
        } else {
            // Two flashes in a row never share a square: draw again at the next tick.
            PushButton1().Push();
        }
    } else {
        Timer1().Mode(0);
        Clearit();
        Label4().Visible(true);
        if (RadioButton1().Value()) PlayIfLoaded(Purr());
    }
}

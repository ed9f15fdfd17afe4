#pragma once
// The game window: the grid of nine squares, the game state, and the handlers
// of its controls.

#include <cstdint>
#include <string>

#include "framework/controls.h"
#include "framework/window.h"
#include "shell/media.h"

// The four colours. The play-back draws a code, the histories hold the letter,
// the practice square reports the word, and the wheel chooses by direction.
enum class WheelDirection { Down, Up, Right, Left };

struct Colour {
    std::int32_t code;
    const char* letter;
    const char* word;
    PicturePtr (*picture)();
    WheelDirection wheel;
};

// In code order; the wheel table tests its directions in this order too.
inline constexpr Colour kColours[] = {
    {1, "b", "blue", &blue, WheelDirection::Down},
    {2, "r", "red", &red, WheelDirection::Up},
    {3, "g", "green", &green, WheelDirection::Right},
    {4, "y", "yellow", &yellow, WheelDirection::Left},
};

// The colour a wheel turn chooses: down, up, right, left, first match wins
// (only the signs count); nullptr when both amounts are 0.
const Colour* ColourForWheel(int deltaX, int deltaY);
// The colour of a drawn code, 1 to 4.
const Colour& ColourForCode(std::int32_t code);

// Every control name of the window but the squares, with its class.
#define WINDOW1_CONTROLS(X)                                                                        \
    X(PushButton, PushButton1) X(PushButton, PushButton2) X(Timer, Timer1) X(PushButton, PushButton3) \
    X(Label, Label1) X(Label, Label2) X(Label, Label3) X(Timer, Timer2) X(Label, Label4)             \
    X(TabPanel, TabPanel1) X(Label, Label10) X(Label, Label11) X(Label, Label12) X(Label, Label7)    \
    X(Label, Label6) X(Label, Label9) X(Label, Label8) X(ImageWell, ImageWell2) X(Label, Label20)    \
    X(Label, Label21) X(Label, Label22) X(PushButton, PushButton4) X(PushButton, PushButton5)        \
    X(PushButton, PushButton6) X(Label, Label24) X(GroupBox, GroupBox1) X(RadioButton, RadioButton1) \
    X(RadioButton, RadioButton2) X(GroupBox, GroupBox2) X(RadioButton, RadioButton3)                \
    X(RadioButton, RadioButton4) X(Label, Label27) X(PushButton, PushButton7) X(Label, Label15)     \
    X(Label, Label16) X(Label, Label17) X(Label, Label18) X(Label, Label19) X(Label, Label25)        \
    X(Label, Label26) X(Label, Label28) X(ImageWell, ImageWell3) X(ImageWell, ImageWell4)           \
    X(ImageWell, ImageWell5) X(ImageWell, ImageWell6) X(ImageWell, ImageWell7)

class Window1 : public fw::Window {
public:
    // ---- Game state ------------------------------------------------------
    std::int32_t last = 10;    // square of the round's previous flash; 10: none
    std::string str1;          // the computer's history of this game
    std::string str2;          // the player's history of this game
    std::int32_t jj = 1;       // number of the round's next flash, from 1
    std::int32_t kk = 0;       // clicks in this round
    std::int32_t numb2 = 2;    // squares (flashes) per round
    std::string color1;        // colour letter last chosen on the grid
    std::string monit = "\"3\"";  // the score at which the grid last showed a number picture
    std::string color2;        // colour word last chosen on the practice square

    // ---- Controls --------------------------------------------------------
    fw::ImageWell& ImageWell1(std::int32_t index) const;
#define WINDOW1_ACCESSOR(Class, Name) fw::Class& Name() const;
    WINDOW1_CONTROLS(WINDOW1_ACCESSOR)
#undef WINDOW1_ACCESSOR

    // ---- Handlers --------------------------------------------------------
    bool ImageWell1_MouseDown(fw::ImageWell& me, int X, int Y);
    void ImageWell1_MouseEnter(fw::ImageWell& me);
    bool ImageWell1_MouseWheel(fw::ImageWell& me, int X, int Y, int deltaX, int deltaY);
    void ImageWell1_MouseExit(fw::ImageWell& me);
    void PushButton1_Action(fw::PushButton& me);
    void PushButton1_MouseExit(fw::PushButton& me);
    void PushButton2_Action(fw::PushButton& me);
    void Timer1_Action(fw::Timer& me);
    void PushButton3_Action(fw::PushButton& me);
    void Timer2_Action(fw::Timer& me);
    bool Label7_MouseDown(fw::Label& me, int X, int Y);
    bool Label8_MouseDown(fw::Label& me, int X, int Y);
    bool ImageWell2_MouseWheel(fw::ImageWell& me, int X, int Y, int deltaX, int deltaY);
    void ImageWell2_MouseExit(fw::ImageWell& me);
    bool ImageWell2_MouseDown(fw::ImageWell& me, int X, int Y);
    bool Label22_MouseDown(fw::Label& me, int X, int Y);
    void PushButton4_Action(fw::PushButton& me);
    void PushButton5_Action(fw::PushButton& me);
    void PushButton6_Action(fw::PushButton& me);
    void PushButton7_Action(fw::PushButton& me);

    // ---- Methods ---------------------------------------------------------
    void Clearit();
    void Fillit(const PicturePtr& p);
    void DISABLEIT();
    void enableit();
    void Highscore();
    void endit();
    void Event_Open();

protected:
    void Layout() override;
    void CreateControls() override;
    void Open() override { Event_Open(); }

private:
    // Plays a sound that loaded; one that could not be loaded stays silent
    // (its accessor has already said so on standard error).
    static void PlayIfLoaded(const SoundPtr& sound);
};

// The window's face: its own settings, its 55 controls and the binding of
// their events to the window's handlers.

#include <variant>

#include "game_window/window1.h"
#include "shell/app.h"

namespace {

using fw::ControlKind;
using fw::ControlSpec;
using fw::TextAlign;

constexpr fw::Color kLinkColour{0x66, 0x66, 0xFF};
constexpr fw::Color kResultColour{0xFF, 0x00, 0x80};
constexpr fw::Color kTurnColour{0xDD, 0x00, 0x00};
constexpr double kLargeText = 18;

constexpr int kAbout = 1;         // the tab panel's first page
constexpr int kInstructions = 2;  // its second page

constexpr const char* kInstructionsText =
    "Repeat what Mirel does!\r"
    "For example, when Mirel flashes red in the upper left square and, about one second later, "
    "blue in the lower right square, put the mouse over the upper left square, scroll to red and "
    "click, then do the same with blue over the lower right square. Mirel starts with two colours "
    "in two different squares and grows to nine flashes of red, green, blue and yellow in any or "
    "all of the nine squares: rounds change from two squares to three at a score of 8, from three "
    "to four at a score of 20, and so on. After you click START it is your turn whenever the bell "
    "rings. A right answer beeps and starts the next round of flashes; a wrong one buzzes and the "
    "error is shown at the bottom. There the line of Mirel (\"Me\") lists each flash as the "
    "square's number followed by the colour's letter: 0r2b8g is red in the upper left, blue in "
    "the upper right and green in the lower right. The squares are numbered 0 1 2 across the top, "
    "5 4 3 across the middle and 7 6 8 across the bottom. Your incorrect response stands below it.";

constexpr const char* kPracticeText =
    "You can practice on the left. Put the cursor over the square and scroll. "
    "Up is red. Down is blue. Left is yellow. Right is green. When the colour you want shows, "
    "click to select it.\r"
    "With a wheel mouse you may have to click the wheel to switch from vertical to horizontal "
    "scrolling; a mouse with a scroll ball, such as Apple's, a Magic Mouse and touchpads need no "
    "change.\r"
    "     ";

// The window's own settings.
const fw::WindowSettings kWindowSettings = {
    .width = 762,
    .height = 602,
    .title = "Corvessan",
    .hasBackColor = true,
    .backColor = {0xCC, 0xCC, 0xCC},
    .visible = true,
    .closeButton = false,
    .resizeable = false,
    .maximizeButton = false,
    .minimizeButton = true,
};

ControlSpec Square(int index, int left, int top) {
    return {.name = "ImageWell1", .kind = ControlKind::ImageWell, .index = index, .left = left, .top = top,
            .width = 64, .height = 64, .tabIndex = index};
}

// Every control, in creation order, with every value that differs from the
// common ones. Places are window content coordinates, also on the tab pages.
const ControlSpec kControls[] = {
    Square(0, 80, 156), Square(1, 146, 156), Square(2, 212, 156),
    Square(3, 212, 222), Square(4, 146, 222), Square(5, 80, 222),
    Square(6, 146, 288), Square(7, 80, 288), Square(8, 212, 288),
    {.name = "PushButton1", .kind = ControlKind::PushButton, .left = 69, .top = 378, .width = 91, .height = 20,
     .tabIndex = 9, .text = "START", .isDefault = true},
    {.name = "PushButton2", .kind = ControlKind::PushButton, .left = 183, .top = 380, .width = 93, .height = 20,
     .tabIndex = 10, .text = "END ?"},
    {.name = "Timer1", .kind = ControlKind::Timer, .mode = 0, .period = 1000},
    {.name = "PushButton3", .kind = ControlKind::PushButton, .left = 141, .top = 538, .width = 80, .height = 20,
     .tabIndex = 11, .text = "doit", .visible = false},
    {.name = "Label1", .kind = ControlKind::Label, .left = 58, .top = 422, .width = 49, .height = 20,
     .tabIndex = 12, .text = "SCORE:"},
    {.name = "Label2", .kind = ControlKind::Label, .left = 123, .top = 422, .width = 57, .height = 20,
     .tabIndex = 13, .text = "0"},
    {.name = "Label3", .kind = ControlKind::Label, .left = 91, .top = 57, .width = 172, .height = 20,
     .tabIndex = 14, .visible = false, .align = TextAlign::Right, .textColor = kResultColour, .bold = true,
     .textSize = kLargeText},
    {.name = "Timer2", .kind = ControlKind::Timer, .mode = 0, .period = 500},
    {.name = "Label4", .kind = ControlKind::Label, .left = 58, .top = 119, .width = 194, .height = 25,
     .tabIndex = 15, .text = "Your Turn", .visible = false, .align = TextAlign::Center,
     .textColor = kTurnColour, .bold = true, .textSize = kLargeText},
    {.name = "TabPanel1", .kind = ControlKind::TabPanel, .left = 304, .top = 14, .width = 418, .height = 512,
     .tabIndex = 21, .text = "About\rInstructions", .value = 0},
    {.name = "Label10", .kind = ControlKind::Label, .left = 310, .top = 49, .width = 394, .height = 279,
     .tabIndex = 0, .page = kInstructions, .parent = "TabPanel1", .text = kInstructionsText, .multiline = true},
    {.name = "Label11", .kind = ControlKind::Label, .left = 411, .top = 81, .width = 114, .height = 31,
     .tabIndex = 0, .page = kAbout, .parent = "TabPanel1", .text = "Corvessan", .align = TextAlign::Center,
     .bold = true, .textSize = kLargeText},
    {.name = "Label12", .kind = ControlKind::Label, .left = 365, .top = 119, .width = 201, .height = 20,
     .tabIndex = 1, .page = kAbout, .parent = "TabPanel1", .text = "V 2.1.0", .align = TextAlign::Center},
    {.name = "Label7", .kind = ControlKind::Label, .left = 439, .top = 142, .width = 135, .height = 20,
     .tabIndex = 2, .page = kAbout, .parent = "TabPanel1", .text = "www.example.com",
     .textColor = kLinkColour, .underline = true},
    {.name = "Label6", .kind = ControlKind::Label, .left = 328, .top = 142, .width = 100, .height = 20,
     .tabIndex = 3, .page = kAbout, .parent = "TabPanel1", .text = "From", .align = TextAlign::Right},
    {.name = "Label9", .kind = ControlKind::Label, .left = 362, .top = 213, .width = 76, .height = 20,
     .tabIndex = 4, .page = kAbout, .parent = "TabPanel1", .text = "\xC2\xA9 2026", .align = TextAlign::Right},
    {.name = "Label8", .kind = ControlKind::Label, .left = 445, .top = 213, .width = 205, .height = 20,
     .tabIndex = 5, .page = kAbout, .parent = "TabPanel1", .text = "mirel@example.com",
     .textColor = kLinkColour, .underline = true},
    {.name = "ImageWell2", .kind = ControlKind::ImageWell, .left = 319, .top = 351, .width = 66, .height = 74,
     .tabIndex = 1, .page = kInstructions, .parent = "TabPanel1"},
    {.name = "Label20", .kind = ControlKind::Label, .left = 397, .top = 334, .width = 315, .height = 149,
     .tabIndex = 2, .page = kInstructions, .parent = "TabPanel1", .text = kPracticeText, .multiline = true},
    {.name = "Label21", .kind = ControlKind::Label, .left = 349, .top = 174, .width = 79, .height = 20,
     .tabIndex = 6, .page = kAbout, .parent = "TabPanel1", .text = "Web Site", .align = TextAlign::Right},
    {.name = "Label22", .kind = ControlKind::Label, .left = 439, .top = 174, .width = 261, .height = 20,
     .tabIndex = 7, .page = kAbout, .parent = "TabPanel1", .text = "www.example.com/corvessan",
     .textColor = kLinkColour, .underline = true},
    {.name = "PushButton4", .kind = ControlKind::PushButton, .left = 418, .top = 495, .width = 80, .height = 20,
     .tabIndex = 3, .page = kInstructions, .parent = "TabPanel1", .text = "ring"},
    {.name = "PushButton5", .kind = ControlKind::PushButton, .left = 510, .top = 495, .width = 80, .height = 20,
     .tabIndex = 4, .page = kInstructions, .parent = "TabPanel1", .text = "beep"},
    {.name = "PushButton6", .kind = ControlKind::PushButton, .left = 617, .top = 495, .width = 80, .height = 20,
     .tabIndex = 5, .page = kInstructions, .parent = "TabPanel1", .text = "buzz"},
    {.name = "Label24", .kind = ControlKind::Label, .left = 341, .top = 495, .width = 65, .height = 20,
     .tabIndex = 6, .page = kInstructions, .parent = "TabPanel1", .text = "TRY:", .align = TextAlign::Right,
     .bold = true},
    {.name = "GroupBox1", .kind = ControlKind::GroupBox, .left = 379, .top = 462, .width = 284, .height = 44,
     .tabIndex = 9, .page = kAbout, .parent = "TabPanel1", .text = "MODE"},
    {.name = "RadioButton1", .kind = ControlKind::RadioButton, .left = 392, .top = 480, .width = 100, .height = 20,
     .tabIndex = 0, .page = kAbout, .parent = "GroupBox1", .text = "normal", .value = 1},
    {.name = "RadioButton2", .kind = ControlKind::RadioButton, .left = 536, .top = 480, .width = 100, .height = 20,
     .tabIndex = 1, .page = kAbout, .parent = "GroupBox1", .text = "silent", .value = 0},
    {.name = "GroupBox2", .kind = ControlKind::GroupBox, .left = 379, .top = 386, .width = 284, .height = 49,
     .tabIndex = 10, .page = kAbout, .parent = "TabPanel1", .text = "Level"},
    {.name = "RadioButton3", .kind = ControlKind::RadioButton, .left = 392, .top = 410, .width = 100, .height = 20,
     .tabIndex = 0, .page = kAbout, .parent = "GroupBox2", .text = "normal", .value = 1},
    {.name = "RadioButton4", .kind = ControlKind::RadioButton, .left = 536, .top = 410, .width = 100, .height = 20,
     .tabIndex = 1, .page = kAbout, .parent = "GroupBox2", .text = "\"easy\"", .value = 0},
    {.name = "Label27", .kind = ControlKind::Label, .left = 308, .top = 344, .width = 396, .height = 30,
     .tabIndex = 11, .page = kAbout, .parent = "TabPanel1",
     .text = "NOTE: If your mouse only has vertical scrolling choose \"easy\" below.", .multiline = true},
    {.name = "PushButton7", .kind = ControlKind::PushButton, .left = 324, .top = 302, .width = 153, .height = 20,
     .tabIndex = 12, .page = kAbout, .parent = "TabPanel1", .text = "Reset High Score"},
    {.name = "Label15", .kind = ControlKind::Label, .left = 58, .top = 449, .width = 100, .height = 20,
     .tabIndex = 22, .text = "Final Round:"},
    {.name = "Label16", .kind = ControlKind::Label, .left = 58, .top = 474, .width = 64, .height = 20,
     .tabIndex = 23, .text = "Me:", .align = TextAlign::Right},
    {.name = "Label17", .kind = ControlKind::Label, .left = 58, .top = 506, .width = 64, .height = 20,
     .tabIndex = 24, .text = "You:", .align = TextAlign::Right},
    {.name = "Label18", .kind = ControlKind::Label, .left = 141, .top = 474, .width = 144, .height = 20,
     .tabIndex = 25},
    {.name = "Label19", .kind = ControlKind::Label, .left = 144, .top = 506, .width = 124, .height = 20,
     .tabIndex = 26},
    {.name = "Label25", .kind = ControlKind::Label, .left = 78, .top = 32, .width = 100, .height = 20,
     .tabIndex = 28, .text = "High Score:", .align = TextAlign::Center},
    {.name = "Label26", .kind = ControlKind::Label, .left = 221, .top = 32, .width = 42, .height = 20,
     .tabIndex = 29, .text = "20", .align = TextAlign::Right, .bold = true},
    {.name = "Label28", .kind = ControlKind::Label, .left = 96, .top = 81, .width = 172, .height = 20,
     .tabIndex = 30, .visible = false, .align = TextAlign::Right, .textColor = kResultColour, .bold = true,
     .textSize = kLargeText},
    {.name = "ImageWell3", .kind = ControlKind::ImageWell, .left = 91, .top = 14, .width = 16, .height = 16,
     .tabIndex = 31},
    {.name = "ImageWell4", .kind = ControlKind::ImageWell, .left = 107, .top = 14, .width = 16, .height = 16,
     .tabIndex = 32},
    {.name = "ImageWell5", .kind = ControlKind::ImageWell, .left = 123, .top = 14, .width = 16, .height = 16,
     .tabIndex = 33},
    {.name = "ImageWell6", .kind = ControlKind::ImageWell, .left = 139, .top = 14, .width = 16, .height = 16,
     .tabIndex = 34},
    {.name = "ImageWell7", .kind = ControlKind::ImageWell, .left = 155, .top = 14, .width = 16, .height = 16,
     .tabIndex = 35},
};

// The star slots start with the empty-slot picture.
constexpr const char* kStarSlots[] = {"ImageWell3", "ImageWell4", "ImageWell5", "ImageWell6", "ImageWell7"};

// ---- Event bindings ------------------------------------------------------

enum class Ev { MouseDown, MouseEnter, MouseExit, MouseWheel, Action };

using Handler = std::variant<bool (Window1::*)(fw::ImageWell&, int, int),
                             void (Window1::*)(fw::ImageWell&),
                             bool (Window1::*)(fw::ImageWell&, int, int, int, int),
                             void (Window1::*)(fw::PushButton&),
                             void (Window1::*)(fw::Timer&),
                             bool (Window1::*)(fw::Label&, int, int)>;

struct Binding {
    const char* control;
    Ev event;
    Handler handler;
};

// In the order the bindings are made; every square gets the four square ones.
const Binding kBindings[] = {
    {"ImageWell1", Ev::MouseDown, &Window1::ImageWell1_MouseDown},
    {"ImageWell1", Ev::MouseEnter, &Window1::ImageWell1_MouseEnter},
    {"ImageWell1", Ev::MouseWheel, &Window1::ImageWell1_MouseWheel},
    {"ImageWell1", Ev::MouseExit, &Window1::ImageWell1_MouseExit},
    {"PushButton1", Ev::Action, &Window1::PushButton1_Action},
    {"PushButton1", Ev::MouseExit, &Window1::PushButton1_MouseExit},
    {"PushButton2", Ev::Action, &Window1::PushButton2_Action},
    {"Timer1", Ev::Action, &Window1::Timer1_Action},
    {"PushButton3", Ev::Action, &Window1::PushButton3_Action},
    {"Timer2", Ev::Action, &Window1::Timer2_Action},
    {"Label7", Ev::MouseDown, &Window1::Label7_MouseDown},
    {"Label8", Ev::MouseDown, &Window1::Label8_MouseDown},
    {"ImageWell2", Ev::MouseWheel, &Window1::ImageWell2_MouseWheel},
    {"ImageWell2", Ev::MouseExit, &Window1::ImageWell2_MouseExit},
    {"ImageWell2", Ev::MouseDown, &Window1::ImageWell2_MouseDown},
    {"Label22", Ev::MouseDown, &Window1::Label22_MouseDown},
    {"PushButton4", Ev::Action, &Window1::PushButton4_Action},
    {"PushButton5", Ev::Action, &Window1::PushButton5_Action},
    {"PushButton6", Ev::Action, &Window1::PushButton6_Action},
    {"PushButton7", Ev::Action, &Window1::PushButton7_Action},
};

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

void Bind(Window1& window, fw::Control& control, const Binding& b) {
    std::visit(Overloaded{
                   [&](bool (Window1::*m)(fw::ImageWell&, int, int)) {
                       fw::BindMethod(dynamic_cast<fw::ImageWell&>(control).MouseDown, &window, m);
                   },
                   [&](void (Window1::*m)(fw::ImageWell&)) {
                       auto& well = dynamic_cast<fw::ImageWell&>(control);
                       fw::BindMethod(b.event == Ev::MouseEnter ? well.MouseEnter : well.MouseExit, &window, m);
                   },
                   [&](bool (Window1::*m)(fw::ImageWell&, int, int, int, int)) {
                       fw::BindMethod(dynamic_cast<fw::ImageWell&>(control).MouseWheel, &window, m);
                   },
                   [&](void (Window1::*m)(fw::PushButton&)) {
                       auto& button = dynamic_cast<fw::PushButton&>(control);
                       fw::BindMethod(b.event == Ev::Action ? button.Action : button.MouseExit, &window, m);
                   },
                   [&](void (Window1::*m)(fw::Timer&)) {
                       fw::BindMethod(dynamic_cast<fw::Timer&>(control).Action, &window, m);
                   },
                   [&](bool (Window1::*m)(fw::Label&, int, int)) {
                       fw::BindMethod(dynamic_cast<fw::Label&>(control).MouseDown, &window, m);
                   },
               },
               b.handler);
}

}  // namespace

void Window1::Layout() {
    MenuBar(::MenuBar1());
    Apply(kWindowSettings);
}

void Window1::CreateControls() {
    for (const ControlSpec& spec : kControls) {
        fw::Control& control = NewControl(spec);
        for (const char* slot : kStarSlots)
            if (control.Name() == slot) dynamic_cast<fw::ImageWell&>(control).Image(grey());
        for (const Binding& b : kBindings)
            if (control.Name() == b.control) Bind(*this, control, b);
    }
}

// ---- Control accessors ---------------------------------------------------

fw::ImageWell& Window1::ImageWell1(std::int32_t index) const { return ControlAs<fw::ImageWell>("ImageWell1", index); }

#define WINDOW1_ACCESSOR(Class, Name) \
    fw::Class& Window1::Name() const { return ControlAs<fw::Class>(#Name); }
WINDOW1_CONTROLS(WINDOW1_ACCESSOR)
#undef WINDOW1_ACCESSOR

// The window's face: every control where the player expects it, the pages of
// the tab panel, the window's own settings, and texts that fit their controls.

#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include <filesystem>
#include <string>
#include <vector>

#include "shell/app.h"
#include "tests/game/game_fixture.h"

namespace {

using K = fw::ControlKind;
constexpr int kNo = fw::kNoIndex;

struct Row {
    const char* name;
    int index;
    K kind;
    int left, top, width, height;
    int page;            // 0 the window, 1 "About", 2 "Instructions"
    const char* parent;  // "" the window
    bool visible;
    const char* text;    // text or caption; nullptr: checked elsewhere
};

// In creation order.
const Row kRows[] = {
    {"ImageWell1", 0, K::ImageWell, 80, 156, 64, 64, 0, "", true, ""},
    {"ImageWell1", 1, K::ImageWell, 146, 156, 64, 64, 0, "", true, ""},
    {"ImageWell1", 2, K::ImageWell, 212, 156, 64, 64, 0, "", true, ""},
    {"ImageWell1", 3, K::ImageWell, 212, 222, 64, 64, 0, "", true, ""},
    {"ImageWell1", 4, K::ImageWell, 146, 222, 64, 64, 0, "", true, ""},
    {"ImageWell1", 5, K::ImageWell, 80, 222, 64, 64, 0, "", true, ""},
    {"ImageWell1", 6, K::ImageWell, 146, 288, 64, 64, 0, "", true, ""},
    {"ImageWell1", 7, K::ImageWell, 80, 288, 64, 64, 0, "", true, ""},
    {"ImageWell1", 8, K::ImageWell, 212, 288, 64, 64, 0, "", true, ""},
    {"PushButton1", kNo, K::PushButton, 69, 378, 91, 20, 0, "", true, "START"},
    {"PushButton2", kNo, K::PushButton, 183, 380, 93, 20, 0, "", true, "END ?"},
    {"Timer1", kNo, K::Timer, 0, 0, 0, 0, 0, "", true, ""},
    {"PushButton3", kNo, K::PushButton, 141, 538, 80, 20, 0, "", false, "doit"},
    {"Label1", kNo, K::Label, 58, 422, 49, 20, 0, "", true, "SCORE:"},
    {"Label2", kNo, K::Label, 123, 422, 57, 20, 0, "", true, "0"},
    {"Label3", kNo, K::Label, 91, 57, 172, 20, 0, "", false, ""},
    {"Timer2", kNo, K::Timer, 0, 0, 0, 0, 0, "", true, ""},
    {"Label4", kNo, K::Label, 58, 119, 194, 25, 0, "", false, "Your Turn"},
    {"TabPanel1", kNo, K::TabPanel, 304, 14, 418, 512, 0, "", true, "About|Instructions"},
    {"Label10", kNo, K::Label, 310, 49, 394, 279, 2, "TabPanel1", true, nullptr},
    {"Label11", kNo, K::Label, 411, 81, 114, 31, 1, "TabPanel1", true, "Corvessan"},
    {"Label12", kNo, K::Label, 365, 119, 201, 20, 1, "TabPanel1", true, "V 2.1.0"},
    {"Label7", kNo, K::Label, 439, 142, 135, 20, 1, "TabPanel1", true, "www.example.com"},
    {"Label6", kNo, K::Label, 328, 142, 100, 20, 1, "TabPanel1", true, "From"},
    {"Label9", kNo, K::Label, 362, 213, 76, 20, 1, "TabPanel1", true, "\xC2\xA9 2026"},
    {"Label8", kNo, K::Label, 445, 213, 205, 20, 1, "TabPanel1", true, "mirel@example.com"},
    {"ImageWell2", kNo, K::ImageWell, 319, 351, 66, 74, 2, "TabPanel1", true, ""},
    {"Label20", kNo, K::Label, 397, 334, 315, 149, 2, "TabPanel1", true, nullptr},
    {"Label21", kNo, K::Label, 349, 174, 79, 20, 1, "TabPanel1", true, "Web Site"},
    {"Label22", kNo, K::Label, 439, 174, 261, 20, 1, "TabPanel1", true, "www.example.com/corvessan"},
    {"PushButton4", kNo, K::PushButton, 418, 495, 80, 20, 2, "TabPanel1", true, "ring"},
    {"PushButton5", kNo, K::PushButton, 510, 495, 80, 20, 2, "TabPanel1", true, "beep"},
    {"PushButton6", kNo, K::PushButton, 617, 495, 80, 20, 2, "TabPanel1", true, "buzz"},
    {"Label24", kNo, K::Label, 341, 495, 65, 20, 2, "TabPanel1", true, "TRY:"},
    {"GroupBox1", kNo, K::GroupBox, 379, 462, 284, 44, 1, "TabPanel1", true, "MODE"},
    {"RadioButton1", kNo, K::RadioButton, 392, 480, 100, 20, 1, "GroupBox1", true, "normal"},
    {"RadioButton2", kNo, K::RadioButton, 536, 480, 100, 20, 1, "GroupBox1", true, "silent"},
    {"GroupBox2", kNo, K::GroupBox, 379, 386, 284, 49, 1, "TabPanel1", true, "Level"},
    {"RadioButton3", kNo, K::RadioButton, 392, 410, 100, 20, 1, "GroupBox2", true, "normal"},
    {"RadioButton4", kNo, K::RadioButton, 536, 410, 100, 20, 1, "GroupBox2", true, "\"easy\""},
    {"Label27", kNo, K::Label, 308, 344, 396, 30, 1, "TabPanel1", true,
     "NOTE: If your mouse only has vertical scrolling choose \"easy\" below."},
    {"PushButton7", kNo, K::PushButton, 324, 302, 153, 20, 1, "TabPanel1", true, "Reset High Score"},
    {"Label15", kNo, K::Label, 58, 449, 100, 20, 0, "", true, "Final Round:"},
    {"Label16", kNo, K::Label, 58, 474, 64, 20, 0, "", true, "Me:"},
    {"Label17", kNo, K::Label, 58, 506, 64, 20, 0, "", true, "You:"},
    {"Label18", kNo, K::Label, 141, 474, 144, 20, 0, "", true, ""},
    {"Label19", kNo, K::Label, 144, 506, 124, 20, 0, "", true, ""},
    {"Label25", kNo, K::Label, 78, 32, 100, 20, 0, "", true, "High Score:"},
    {"Label26", kNo, K::Label, 221, 32, 42, 20, 0, "", true, "20"},
    {"Label28", kNo, K::Label, 96, 81, 172, 20, 0, "", false, ""},
    {"ImageWell3", kNo, K::ImageWell, 91, 14, 16, 16, 0, "", true, ""},
    {"ImageWell4", kNo, K::ImageWell, 107, 14, 16, 16, 0, "", true, ""},
    {"ImageWell5", kNo, K::ImageWell, 123, 14, 16, 16, 0, "", true, ""},
    {"ImageWell6", kNo, K::ImageWell, 139, 14, 16, 16, 0, "", true, ""},
    {"ImageWell7", kNo, K::ImageWell, 155, 14, 16, 16, 0, "", true, ""},
};

std::string TextOf(const fw::Control& c) {
    if (auto* l = dynamic_cast<const fw::Label*>(&c)) return l->Text();
    if (auto* b = dynamic_cast<const fw::PushButton*>(&c)) return b->Caption();
    if (auto* r = dynamic_cast<const fw::RadioButton*>(&c)) return r->Caption();
    if (auto* g = dynamic_cast<const fw::GroupBox*>(&c)) return g->Caption();
    if (auto* t = dynamic_cast<const fw::TabPanel*>(&c)) {
        std::string pages;
        for (int i = 0; i < t->PageCount(); ++i) pages += (i ? "|" : "") + t->PageCaption(i);
        return pages;
    }
    return "";
}

// Records what the window looks like when its Open handler is about to run.
class ProbeWindow : public Window1 {
public:
    bool squaresEmptyAndEnabled = false;
    bool starSlotsGrey = false;
    bool practiceEmpty = false;

protected:
    void Open() override {
        squaresEmptyAndEnabled = true;
        for (int i = 0; i <= 8; ++i)
            squaresEmptyAndEnabled &= ImageWell1(i).Image() == nullptr && ImageWell1(i).Enabled();
        starSlotsGrey = grey() != nullptr;
        for (fw::ImageWell* s : {&ImageWell3(), &ImageWell4(), &ImageWell5(), &ImageWell6(), &ImageWell7()})
            starSlotsGrey &= s->Image() == grey();
        practiceEmpty = ImageWell2().Image() == nullptr;
        Window1::Open();
    }
};

class LayoutTest : public GameTest {
protected:
    // Every control shown exactly when its page is the selected one (or it
    // stands on the window itself), on screen as well as by its own account.
    void ExpectPageShown(int selected) {
        SCOPED_TRACE("page " + std::to_string(selected));
        ASSERT_EQ(w().TabPanel1().Value(), selected - 1);
        for (fw::Control* c : w().Controls()) {
            auto* rect = dynamic_cast<fw::RectControl*>(c);
            if (!rect) continue;
            const bool expected = rect->Visible() && (rect->PanelIndex() == 0 || rect->PanelIndex() == selected);
            EXPECT_EQ(rect->Shown(), expected) << c->Name();
            EXPECT_EQ(rect->NativeWidget()->isVisible(), expected) << c->Name();
        }
    }
};

}  // namespace

// Each control is made in table order with its class, place, page, container and visibility.
TEST_F(LayoutTest, EveryControlMatchesTheTable) {
    const std::vector<fw::Control*> controls = w().Controls();
    ASSERT_EQ(controls.size(), std::size(kRows));
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Row& row = kRows[i];
        const fw::Control& c = *controls[i];
        SCOPED_TRACE(std::string(row.name) + " " + std::to_string(row.index));
        EXPECT_EQ(c.Name(), row.name);
        EXPECT_EQ(c.Index(), row.index);
        EXPECT_EQ(c.Kind(), row.kind);
        if (row.text) {
            EXPECT_EQ(TextOf(c), row.text);
        }
        auto* rect = dynamic_cast<const fw::RectControl*>(&c);
        ASSERT_EQ(rect == nullptr, row.kind == K::Timer);
        if (!rect) continue;
        EXPECT_EQ(rect->NativeWidget()->geometry(), QRect(row.left, row.top, row.width, row.height));
        EXPECT_EQ(rect->NativeWidget()->parentWidget(), w().ContentWidget());
        EXPECT_EQ(rect->PanelIndex(), row.page);
        EXPECT_EQ(rect->InitialParent(), row.parent);
        EXPECT_EQ(rect->Visible(), row.visible);
        // Only the Open handler disables anything: the squares, until START.
        EXPECT_EQ(rect->Enabled(), row.name != std::string("ImageWell1"));
    }
    // Each square answers to its own index through the accessor.
    for (int i = 0; i <= 8; ++i) EXPECT_EQ(&w().ImageWell1(i), controls[i]);
    EXPECT_EQ(w().Timer1().Mode(), 0);
    EXPECT_EQ(w().Timer1().Period(), 1000);
    EXPECT_EQ(w().Timer2().Mode(), 0);
    EXPECT_EQ(w().Timer2().Period(), 500);
    // The help texts must agree with the wheel and the grid numbering the game uses.
    EXPECT_EQ(w().Label10().Text().rfind("Repeat what Mirel does!\r", 0), 0u);
    EXPECT_NE(w().Label10().Text().find("0 1 2 across the top, 5 4 3 across the middle and 7 6 8"), std::string::npos);
    EXPECT_NE(w().Label20().Text().find("Up is red. Down is blue. Left is yellow. Right is green."), std::string::npos);
}

// Before Open the squares are enabled and empty, the star slots grey; Open blanks and disables the grid.
TEST_F(LayoutTest, StateBeforeAndAfterOpen) {
    fw::ReleaseWindows();
    ResetMediaCaches();
    auto& probe = fw::MakeWindow<ProbeWindow>();
    window = &probe;
    EXPECT_TRUE(probe.squaresEmptyAndEnabled);
    EXPECT_TRUE(probe.starSlotsGrey);
    EXPECT_TRUE(probe.practiceEmpty);
    EXPECT_TRUE(GridShows(white()));
    for (int i = 0; i <= 8; ++i) EXPECT_FALSE(probe.ImageWell1(i).Enabled());
    EXPECT_EQ(StarSlots(), ".....");
    EXPECT_EQ(probe.ImageWell2().Image(), nullptr);
}

// Clicking a tab shows exactly that page's controls; the window's own controls stay put.
TEST_F(LayoutTest, PagesShowOnlyTheirControls) {
    ExpectPageShown(1);
    SelectPage(1);
    ExpectPageShown(2);
    SelectPage(0);
    ExpectPageShown(1);
}

// The window is a fixed 762x602 "Corvessan" with only a minimise box, and the shared menu bar.
TEST_F(LayoutTest, WindowSettings) {
    QWidget* frame = w().NativeWindow();
    EXPECT_EQ(frame->windowTitle(), "Corvessan");
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(w().ContentWidget()->size(), QSize(762, 602));
    EXPECT_EQ(frame->minimumSize(), frame->maximumSize());
    EXPECT_EQ(w().ContentWidget()->minimumSize(), w().ContentWidget()->maximumSize());
    const Qt::WindowFlags flags = frame->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(w().ContentWidget()->autoFillBackground());
    EXPECT_EQ(w().ContentWidget()->palette().color(QPalette::Window), QColor(0xCC, 0xCC, 0xCC));

    EXPECT_EQ(w().MenuBar().get(), ::MenuBar1().get());
    EXPECT_NE(static_cast<QMainWindow*>(frame)->menuWidget(), nullptr);
}

// START is the only default button; radio buttons exclude each other only within their group box.
TEST_F(LayoutTest, DefaultButtonAndRadioGroups) {
    for (fw::Control* c : w().Controls())
        if (auto* b = dynamic_cast<fw::PushButton*>(c)) {
            const bool start = b == &w().PushButton1();
            EXPECT_EQ(b->Default(), start) << c->Name();
            EXPECT_EQ(static_cast<QPushButton*>(b->NativeWidget())->isDefault(), start) << c->Name();
        }
    EXPECT_EQ(w().RadioButton4().Caption().size(), 6u);

    auto values = [&] {
        return std::string{w().RadioButton1().Value() ? '1' : '0', w().RadioButton2().Value() ? '1' : '0',
                           w().RadioButton3().Value() ? '1' : '0', w().RadioButton4().Value() ? '1' : '0'};
    };
    EXPECT_EQ(values(), "1010");
    ClickRadio(w().RadioButton2());
    EXPECT_EQ(values(), "0110");
    ClickRadio(w().RadioButton4());
    EXPECT_EQ(values(), "0101");
    ClickRadio(w().RadioButton1());
    ClickRadio(w().RadioButton3());
    EXPECT_EQ(values(), "1010");
}

// Tab goes by TabIndex: START, END ?, the tabs, then the page's controls; a
// radio group is one stop (its selected button), MODE before Level.
TEST_F(LayoutTest, TabOrderFollowsTabIndex) {
    QWidget* tabs = static_cast<QTabWidget*>(w().TabPanel1().NativeWidget())->tabBar();
    auto walk = [&](int page) {
        SelectPage(page);
        return corvessan_test::TabStops(w().NativeWindow(), w().ContentWidget(), 7);
    };
    auto widgets = [&](std::initializer_list<fw::RectControl*> onPage) {
        std::vector<QWidget*> out{w().PushButton1().NativeWidget(), w().PushButton2().NativeWidget(), tabs};
        for (fw::RectControl* c : onPage) out.push_back(c->NativeWidget());
        out.push_back(w().PushButton1().NativeWidget());
        return out;
    };
    EXPECT_EQ(walk(0), widgets({&w().RadioButton1(), &w().RadioButton3(), &w().PushButton7()}));
    EXPECT_EQ(walk(1), widgets({&w().PushButton4(), &w().PushButton5(), &w().PushButton6()}));
}

// Large, bold and link texts are drawn as laid out.
TEST_F(LayoutTest, TextStyles) {
    auto font = [](fw::Label& l) { return l.NativeWidget()->font(); };
    auto colour = [](fw::Label& l) { return l.NativeWidget()->palette().color(QPalette::WindowText); };
    for (fw::Label* l : {&w().Label3(), &w().Label4(), &w().Label11(), &w().Label28()}) {
        EXPECT_EQ(font(*l).pixelSize(), 18) << l->Name();
        EXPECT_TRUE(font(*l).bold()) << l->Name();
    }
    for (fw::Label* l : {&w().Label7(), &w().Label8(), &w().Label22()}) {
        EXPECT_TRUE(font(*l).underline()) << l->Name();
        EXPECT_EQ(colour(*l), QColor(0x66, 0x66, 0xFF)) << l->Name();
    }
    EXPECT_EQ(colour(w().Label3()), QColor(0xFF, 0x00, 0x80));
    EXPECT_EQ(colour(w().Label4()), QColor(0xDD, 0x00, 0x00));
    EXPECT_TRUE(font(w().Label26()).bold() && font(w().Label24()).bold());
    EXPECT_FALSE(font(w().Label2()).bold() || font(w().Label2()).underline());
    EXPECT_EQ(static_cast<QLabel*>(w().Label26().NativeWidget())->alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
}

// Every text fits its control, also the longest texts the game sets while playing.
TEST_F(LayoutTest, TextsFit) {
    // What the game writes into labels that start empty or short.
    w().Label3().Text("Final Score: 999");
    w().Label28().Text("UNBELIEVABLE");
    w().Label18().Text("0r1b2g3y4r5b6g7y8r");
    // The player's line is narrower than the computer's: a nine-flash answer
    // is set slightly tighter to fit.
    w().Label19().Text("0r1b2g3y4r5b6g7y8r");
    w().Label26().Text("999");
    w().Label2().Text("999");
    w().PushButton1().Caption("New Game");

    for (fw::Control* c : w().Controls()) {
        auto* rect = dynamic_cast<fw::RectControl*>(c);
        if (!rect) continue;
        QWidget* widget = rect->NativeWidget();
        const QFontMetrics fm(widget->font());
        QString text;
        int room = rect->Width();
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            text = label->text();
            if (static_cast<fw::Label*>(rect)->Multiline()) {
                const QRect needed = fm.boundingRect(QRect(0, 0, room, 0), Qt::TextWordWrap, text);
                EXPECT_LE(needed.height(), rect->Height()) << c->Name();
                continue;
            }
        } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            text = radio->text();
            room -= widget->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, widget) +
                    widget->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, widget);
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            text = button->text();
            room -= 8;
        } else {
            continue;
        }
        EXPECT_LE(fm.horizontalAdvance(text), room) << c->Name() << ": " << text.toStdString();
    }
}

// Both pages can be captured as the player sees them, at the window's size.
TEST_F(LayoutTest, Screenshots) {
    const std::filesystem::path folder = std::filesystem::current_path() / "screenshots";
    std::filesystem::create_directories(folder);
    for (int page : {1, 0}) {
        SelectPage(page);
        const std::filesystem::path file = folder / (page == 0 ? "about.png" : "instructions.png");
        std::filesystem::remove(file);
        ASSERT_TRUE(w().NativeWindow()->grab().save(QString::fromStdString(file.string())));
        const QImage image(QString::fromStdString(file.string()));
        EXPECT_EQ(image.size(), w().NativeWindow()->size() * w().NativeWindow()->devicePixelRatio());
    }
}

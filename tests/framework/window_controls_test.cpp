// Windows and their controls: how a window is made, the control registry,
// bound handlers, what each control shows, and where real mouse events go.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QTabBar>
#include <QTest>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "framework/media.h"
#include "framework/widgets_p.h"
#include "framework/window.h"
#include "tests/support/qt_input.h"
#include "tests/support/test_env.h"

namespace {

using fw::ControlKind;
using fw::ControlSpec;
using Log = std::vector<std::string>;

Log g_log;                        // what windows and handlers saw, in order
std::vector<ControlSpec> g_layout;  // what the next TestWindow makes

std::string Tag(const fw::Control& c) {
    return c.Index() == fw::kNoIndex ? c.Name() : c.Name() + "(" + std::to_string(c.Index()) + ")";
}

// Makes the controls of g_layout and binds every image well and push button
// to handlers that log what they get.
class TestWindow : public fw::Window {
public:
    bool throwInWheel = false;

    bool Well_MouseDown(fw::ImageWell& me, int x, int y) {
        g_log.push_back(Tag(me) + " down " + std::to_string(x) + "," + std::to_string(y));
        if (me.Name() == "Closer") {
            me.Close();
            g_log.push_back(me.Name() + " closed");  // still usable after closing itself
        }
        return true;
    }
    bool Well_MouseWheel(fw::ImageWell& me, int, int, int dx, int dy) {
        if (throwInWheel) throw fw::NilObjectException("wheel handler failed");
        g_log.push_back(Tag(me) + " wheel " + std::to_string(dx) + " " + std::to_string(dy));
        return true;
    }
    void Well_MouseEnter(fw::ImageWell& me) { g_log.push_back(Tag(me) + " enter"); }
    void Well_MouseExit(fw::ImageWell& me) { g_log.push_back(Tag(me) + " exit"); }
    void Button_Action(fw::PushButton& me) {
        g_log.push_back(me.Name() + " action begins");
        me.Caption("pushed");
        g_log.push_back(me.Name() + " action ends");
    }
    void Button_MouseExit(fw::PushButton& me) { g_log.push_back(me.Name() + " exit"); }

protected:
    void Layout() override {
        g_log.push_back("Layout");
        Apply({.width = 300, .height = 200, .title = "Test", .hasBackColor = true, .backColor = {0, 0, 255}});
    }
    void CreateControls() override {
        for (const ControlSpec& row : g_layout) {
            fw::Control& c = NewControl(row);
            if (auto* well = dynamic_cast<fw::ImageWell*>(&c)) {
                fw::BindMethod(well->MouseDown, this, &TestWindow::Well_MouseDown);
                fw::BindMethod(well->MouseWheel, this, &TestWindow::Well_MouseWheel);
                fw::BindMethod(well->MouseEnter, this, &TestWindow::Well_MouseEnter);
                fw::BindMethod(well->MouseExit, this, &TestWindow::Well_MouseExit);
            } else if (auto* button = dynamic_cast<fw::PushButton*>(&c)) {
                fw::BindMethod(button->Action, this, &TestWindow::Button_Action);
                fw::BindMethod(button->MouseExit, this, &TestWindow::Button_MouseExit);
            }
        }
        g_log.push_back("CreateControls");
    }
    void Open() override { g_log.push_back("Open " + std::to_string(Controls().size())); }
};

ControlSpec Well(const char* name, int index, int left, int top, int size = 40) {
    return {.name = name, .kind = ControlKind::ImageWell, .index = index, .left = left, .top = top,
            .width = size, .height = size};
}

using corvessan_test::Enter;
using corvessan_test::Leave;
using corvessan_test::Wheel;

// Counts the mouse presses and wheel turns that reach one widget itself.
struct MouseCounter : QObject {
    explicit MouseCounter(QWidget* watched) { watched->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        count += e->type() == QEvent::Wheel || e->type() == QEvent::MouseButtonPress;
        return false;
    }
    int count = 0;
};

class WindowControls : public ::testing::Test {
protected:
    void SetUp() override { g_log.clear(); }
    void TearDown() override {
        fw::ReleaseWindows();
        g_layout.clear();
    }
    TestWindow& Make(std::vector<ControlSpec> layout) {
        g_layout = std::move(layout);
        TestWindow& w = fw::MakeWindow<TestWindow>();
        g_log.clear();
        return w;
    }
};

TEST_F(WindowControls, MakingRaisesLayoutCreateControlsOpenAndTheRegistryFindsControls) {
    // Layout, CreateControls, Open in order; controls by name and index; ControlAs throws for missing or closed ones; Close is safe in its own handler.
    g_layout = {Well("Grid", 0, 200, 0), Well("Grid", 1, 250, 0),
                {.name = "Ticker", .kind = ControlKind::Timer, .period = 100}, Well("Closer", fw::kNoIndex, 0, 50),
                {.name = "Box", .kind = ControlKind::GroupBox, .left = 100, .top = 10, .width = 150, .height = 80},
                {.name = "Choice", .kind = ControlKind::RadioButton, .left = 110, .top = 30, .width = 100, .height = 20,
                 .parent = "Box"}};
    TestWindow& w = fw::MakeWindow<TestWindow>();
    EXPECT_EQ(g_log, (Log{"Layout", "CreateControls", "Open 6"}));
    fw::Control* second = w.ControlByNameIndex("Grid", 1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Index(), 1);
    EXPECT_EQ(&w.ControlAs<fw::ImageWell>("Grid", 1), second);
    EXPECT_EQ(w.ControlByNameIndex("Grid", 2), nullptr);
    EXPECT_THROW(w.ControlAs<fw::ImageWell>("Grid", 2), fw::NilObjectException);
    EXPECT_THROW(w.ControlAs<fw::Label>("Missing"), fw::NilObjectException);
    EXPECT_EQ(w.ControlAs<fw::Timer>("Ticker").Period(), 100);

    g_log.clear();
    auto& closer = w.ControlAs<fw::ImageWell>("Closer");
    QTest::mouseClick(closer.NativeWidget(), Qt::LeftButton, {}, QPoint(3, 4));
    QApplication::processEvents();
    // (Whatever is now under the pointer may then be told of it.)
    ASSERT_GE(g_log.size(), 2u);
    EXPECT_EQ(Log(g_log.begin(), g_log.begin() + 2), (Log{"Closer down 3,4", "Closer closed"}));
    closer.Close();  // a second close changes nothing
    EXPECT_EQ(w.ControlByName("Closer"), nullptr);
    EXPECT_THROW(w.ControlAs<fw::ImageWell>("Closer"), fw::NilObjectException);
    EXPECT_FALSE(closer.NativeWidget()->isVisible());
    EXPECT_EQ(w.Controls().size(), 5u);

    // What sat in a closed container leaves the screen with it.
    auto& choice = w.ControlAs<fw::RadioButton>("Choice");
    ASSERT_TRUE(choice.NativeWidget()->isVisible());
    w.ControlAs<fw::GroupBox>("Box").Close();
    EXPECT_FALSE(choice.Shown());
    EXPECT_FALSE(choice.NativeWidget()->isVisible());
}

TEST_F(WindowControls, HandlersGetTheControlThenTheArgumentsAndSurviveExceptions) {
    // A handler gets its control, then the arguments (wheel up/down/left/right as deltaY<0, deltaY>0, deltaX<0, deltaX>0); its exception is reported and the next event still arrives.
    TestWindow& w = Make({Well("Grid", 0, 0, 0), Well("Grid", 1, 50, 0)});
    auto& well = w.ControlAs<fw::ImageWell>("Grid", 1);
    w.throwInWheel = true;
    ::testing::internal::CaptureStderr();
    Wheel(well.NativeWidget(), 0, 120);
    EXPECT_FALSE(well.MouseWheel.Raise(well, 0, 0, 0, 1));  // a failed handler answers the default
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("NilObjectException"), std::string::npos) << err;
    EXPECT_NE(err.find("wheel handler failed"), std::string::npos) << err;
    EXPECT_TRUE(g_log.empty());

    w.throwInWheel = false;
    QWidget* widget = well.NativeWidget();
    Wheel(widget, 0, 120);   // Qt: up
    Wheel(widget, 0, -120);  // down
    Wheel(widget, 120, 0);   // left
    Wheel(widget, -120, 0);  // right
    Wheel(widget, 0, 0, QPoint(0, 30));  // a touchpad reporting only pixels, up
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(7, 9));
    QTest::mouseClick(widget, Qt::RightButton, {}, QPoint(7, 9));  // only the left button counts
    EXPECT_EQ(g_log, (Log{"Grid(1) wheel 0 -120", "Grid(1) wheel 0 120", "Grid(1) wheel -120 0", "Grid(1) wheel 120 0",
                          "Grid(1) wheel 0 -30", "Grid(1) down 7,9"}));
}

TEST_F(WindowControls, LabelsShowTheirTextAndStyle) {
    // A label shows its text (old line breaks included) with its alignment, colour, weight, underline and wrapping.
    TestWindow& w = Make({{.name = "Title", .kind = ControlKind::Label, .width = 100, .height = 40, .text = "one\rtwo",
                           .align = fw::TextAlign::Center, .textColor = {0xDD, 0, 0}, .bold = true, .underline = true,
                           .multiline = true, .textSize = 18},
                          {.name = "Score", .kind = ControlKind::Label, .width = 100, .height = 20, .text = "0",
                           .align = fw::TextAlign::Right}});
    auto* title = static_cast<QLabel*>(w.ControlAs<fw::Label>("Title").NativeWidget());
    EXPECT_EQ(title->text(), QStringLiteral("one\ntwo"));
    EXPECT_EQ(title->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(0xDD, 0, 0));
    EXPECT_TRUE(title->font().bold() && title->font().underline() && title->wordWrap());
    EXPECT_EQ(title->font().pixelSize(), 18);
    w.ControlAs<fw::Label>("Title").TextSize(12);
    EXPECT_EQ(title->font().pixelSize(), 12);
    EXPECT_TRUE(title->font().bold());

    auto& score = w.ControlAs<fw::Label>("Score");
    auto* plain = static_cast<QLabel*>(score.NativeWidget());
    score.Text("a\r\nb");
    EXPECT_EQ(plain->text(), QStringLiteral("a\nb"));
    EXPECT_EQ(plain->alignment(), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_FALSE(plain->font().bold() || plain->font().underline() || plain->wordWrap());
}

TEST_F(WindowControls, ALineALittleTooLongIsSetTighterFromTheStart) {
    // A one-line label's text, its first one too, is set slightly tighter when it needs a little more room than it has.
    QFont font = QApplication::font();
    font.setPixelSize(fw::kDefaultTextPixels);
    const int needed = QFontMetrics(font).horizontalAdvance(QStringLiteral("Corvessan"));
    auto& label = Make({{.name = "Name", .kind = ControlKind::Label, .width = needed * 19 / 20, .height = 20,
                         .text = "Corvessan"}}).ControlAs<fw::Label>("Name");
    const double first = label.NativeWidget()->font().letterSpacing();
    EXPECT_TRUE(first >= 90 && first < 100) << first;
    label.Text("Corvessan");
    EXPECT_EQ(label.NativeWidget()->font().letterSpacing(), first);
}

TEST_F(WindowControls, ImageWellPaintsItsPictureCentredAndAnEmptyFrameForNil) {
    // An image well paints its picture centred; with a nil picture it is an empty frame on the window's background.
    corvessan_test::TempDir dir;
    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(QString::fromStdString((dir.Path() / "red.png").string())));
    auto& well = Make({Well("Grid", 0, 0, 0, 20)}).ControlAs<fw::ImageWell>("Grid", 0);
    well.Image(fw::Picture::Load((dir.Path() / "red.png").string()));
    ASSERT_NE(well.Image(), nullptr);
    const QImage shot = well.NativeWidget()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(10, 10), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(1, 1), QColor(0, 0, 255));
    well.Image(nullptr);
    const QImage empty = well.NativeWidget()->grab().toImage();
    EXPECT_EQ(empty.pixelColor(10, 10), QColor(0, 0, 255));
    int framed = 0;
    for (int i = 0; i < 20; ++i)
        for (const QPoint p : {QPoint(i, 0), QPoint(i, 19), QPoint(0, i), QPoint(19, i)})
            framed += empty.pixelColor(p) != QColor(0, 0, 255);
    // Most of the edge, not a stray pixel: the frame goes all round.
    EXPECT_GT(framed, 60);
}

TEST_F(WindowControls, PlacesAreContentCoordinatesAndTabPagesShowTheirControls) {
    // Widgets sit at their layout places; a page's controls (and a group box's) show only while their page is selected.
    TestWindow& w = Make({
        {.name = "Free", .kind = ControlKind::Label, .left = 10, .top = 20, .width = 50, .height = 15},
        {.name = "Tabs", .kind = ControlKind::TabPanel, .left = 100, .top = 10, .width = 190, .height = 180,
         .text = "About\rHelp"},
        {.name = "OnAbout", .kind = ControlKind::Label, .left = 110, .top = 50, .width = 60, .height = 15, .page = 1,
         .parent = "Tabs"},
        {.name = "Box", .kind = ControlKind::GroupBox, .left = 110, .top = 70, .width = 150, .height = 60, .page = 2,
         .parent = "Tabs"},
        {.name = "InBox", .kind = ControlKind::RadioButton, .left = 120, .top = 90, .width = 60, .height = 20, .page = 2,
         .parent = "Box"},
    });
    EXPECT_EQ(w.ContentWidget()->size(), QSize(300, 200));
    for (auto [name, place] : {std::pair{"Free", QRect(10, 20, 50, 15)}, {"OnAbout", QRect(110, 50, 60, 15)},
                               {"Box", QRect(110, 70, 150, 60)}, {"InBox", QRect(120, 90, 60, 20)}}) {
        QWidget* widget = w.ControlAs<fw::RectControl>(name).NativeWidget();
        EXPECT_EQ(widget->parentWidget(), w.ContentWidget()) << name;
        EXPECT_EQ(widget->geometry(), place) << name;
    }
    // The names of the controls whose widgets can be seen now.
    auto visible = [&] {
        std::string out;
        for (const char* name : {"Free", "OnAbout", "Box", "InBox"})
            if (w.ControlAs<fw::RectControl>(name).NativeWidget()->isVisible())
                out += std::string(out.empty() ? "" : " ") + name;
        return out;
    };
    auto& tabs = w.ControlAs<fw::TabPanel>("Tabs");
    auto& box = w.ControlAs<fw::GroupBox>("Box");
    EXPECT_EQ(visible(), "Free OnAbout");
    auto* bar = static_cast<QTabWidget*>(tabs.NativeWidget())->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());  // the player picks the second page
    EXPECT_EQ(tabs.Value(), 1);
    EXPECT_EQ(visible(), "Free Box InBox");
    box.Visible(false);
    EXPECT_EQ(visible(), "Free");
    box.Visible(true);
    tabs.Value(0);
    EXPECT_EQ(visible(), "Free OnAbout");
    tabs.Visible(false);
    EXPECT_EQ(visible(), "Free");
    tabs.Visible(true);
    EXPECT_EQ(visible(), "Free OnAbout");

    auto& free = w.ControlAs<fw::Label>("Free");
    free.Enabled(false);
    EXPECT_FALSE(free.NativeWidget()->isEnabled());
    free.Visible(false);
    EXPECT_EQ(visible(), "OnAbout");
}

TEST_F(WindowControls, RadioButtonsExcludeEachOtherOnlyWithinTheirContainer) {
    // Choosing a radio button clears the others of its own container, not those of another container or the window.
    auto radio = [](const char* name, const char* parent, int top, int value) {
        return ControlSpec{.name = name, .kind = ControlKind::RadioButton, .left = 10, .top = top, .width = 80,
                           .height = 20, .parent = parent, .value = value};
    };
    TestWindow& w = Make({
        {.name = "A", .kind = ControlKind::GroupBox, .left = 0, .top = 0, .width = 100, .height = 70},
        radio("A1", "A", 10, 1), radio("A2", "A", 40, 0),
        {.name = "B", .kind = ControlKind::GroupBox, .left = 0, .top = 80, .width = 100, .height = 70},
        radio("B1", "B", 90, 1), radio("B2", "B", 120, 0),
        radio("Loose", "", 170, 1),
    });
    auto chosen = [&] {
        std::string out;
        for (const char* name : {"A1", "A2", "B1", "B2", "Loose"})
            if (w.ControlAs<fw::RadioButton>(name).Value()) out += std::string(out.empty() ? "" : " ") + name;
        return out;
    };
    EXPECT_EQ(chosen(), "A1 B1 Loose");
    QWidget* a2 = w.ControlAs<fw::RadioButton>("A2").NativeWidget();
    QTest::mouseClick(a2, Qt::LeftButton, {}, QPoint(5, a2->height() / 2));
    EXPECT_EQ(chosen(), "A2 B1 Loose");
    w.ControlAs<fw::RadioButton>("B2").Value(true);
    EXPECT_EQ(chosen(), "A2 B2 Loose");
}

TEST_F(WindowControls, PushRunsTheWholeActionEvenHiddenAndClicksOnlyWhileEnabled) {
    // Push runs Action in full on a hidden or disabled button; a real click runs it only while enabled; leaving raises MouseExit only while enabled.
    TestWindow& w = Make({{.name = "Go", .kind = ControlKind::PushButton, .left = 10, .top = 10, .width = 80,
                           .height = 20, .text = "Go"}});
    auto& go = w.ControlAs<fw::PushButton>("Go");
    go.Visible(false);
    go.Push();
    EXPECT_EQ(g_log, (Log{"Go action begins", "Go action ends"}));
    EXPECT_EQ(static_cast<QPushButton*>(go.NativeWidget())->text(), QStringLiteral("pushed"));

    g_log.clear();
    go.Visible(true);
    go.Enabled(false);
    QTest::mouseClick(go.NativeWidget(), Qt::LeftButton);
    Leave(go.NativeWidget());
    EXPECT_TRUE(g_log.empty());
    go.Push();
    EXPECT_EQ(g_log.size(), 2u);

    g_log.clear();
    go.Enabled(true);
    QTest::mouseClick(go.NativeWidget(), Qt::LeftButton);
    Leave(go.NativeWidget());
    EXPECT_EQ(g_log, (Log{"Go action begins", "Go action ends", "Go exit"}));
}

TEST_F(WindowControls, ADisabledControlSwallowsMouseEventsSoNothingBehindItSeesThem) {
    // A disabled control raises nothing, and its mouse events reach neither the control behind it nor the window.
    TestWindow& w = Make({Well("Under", fw::kNoIndex, 20, 20), Well("Over", fw::kNoIndex, 20, 20)});
    QWidget* frame = w.NativeWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    auto& over = w.ControlAs<fw::ImageWell>("Over");
    const QPoint centre = over.NativeWidget()->mapTo(frame, QPoint(20, 20));
    MouseCounter content(w.ContentWidget());
    MouseCounter window(frame);

    // Through the window system, as the player's mouse would, and straight at the widget.
    auto act = [&] {
        QTest::mouseClick(frame->windowHandle(), Qt::LeftButton, {}, centre);
        QWidget* target = frame->childAt(centre);
        Wheel(target, 0, -120);
        Enter(target);
        Leave(target);
        QTest::mouseClick(over.NativeWidget(), Qt::LeftButton, {}, QPoint(20, 20));
        Wheel(over.NativeWidget(), 120, 0);
        return target;
    };

    over.Enabled(false);
    EXPECT_EQ(act(), over.NativeWidget());
    EXPECT_TRUE(g_log.empty()) << g_log.front();
    EXPECT_EQ(content.count, 0);
    EXPECT_EQ(window.count, 0);

    // Enabled again, the same events reach it (and it alone).
    over.Enabled(true);
    act();
    EXPECT_EQ(g_log, (Log{"Over down 20,20", "Over wheel 0 120", "Over enter", "Over exit", "Over down 20,20",
                          "Over wheel -120 0"}));
}


TEST_F(WindowControls, TabFollowsTabIndexWithinEachContainer) {
    // Tab visits each container's controls by TabIndex (ties in creation order), a container's own right after it.
    auto button = [](const char* name, int tabIndex, const char* parent = "", int left = 0) {
        return ControlSpec{.name = name, .kind = ControlKind::PushButton, .left = left, .top = 0, .width = 30,
                           .height = 20, .tabIndex = tabIndex, .parent = parent, .text = name};
    };
    // Labels and image wells take no focus and must not cut the chain between the buttons around them.
    TestWindow& w = Make({
        button("Last", 4),
        {.name = "Box", .kind = ControlKind::GroupBox, .left = 0, .top = 100, .width = 200, .height = 80,
         .tabIndex = 1, .text = "Box"},
        {.name = "Note", .kind = ControlKind::Label, .width = 30, .height = 20, .tabIndex = 2, .text = "note"},
        button("InnerSecond", 1, "Box", 40),
        button("TieA", 2),
        button("First", 0),
        Well("Square", fw::kNoIndex, 200, 0),
        button("InnerFirst", 0, "Box", 80),
        button("TieB", 2),
        button("Hidden", 3),
        {.name = "Ticker", .kind = ControlKind::Timer, .period = 100},
    });
    w.ControlAs<fw::PushButton>("Hidden").Visible(false);

    auto nameOf = [&](QWidget* widget) -> std::string {
        for (fw::Control* c : w.Controls())
            if (auto* rect = dynamic_cast<fw::RectControl*>(c); rect && rect->NativeWidget() == widget) return c->Name();
        return "?";
    };
    // From the window itself, as it opens with no control focused, Tab goes to the first.
    Log visited;
    for (QWidget* stop : corvessan_test::TabStops(w.NativeWindow(), w.ContentWidget(), 7))
        visited.push_back(nameOf(stop));
    EXPECT_EQ(visited, (Log{"First", "InnerFirst", "InnerSecond", "TieA", "TieB", "Last", "First"}));
    // Backwards, the same road.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(nameOf(QApplication::focusWidget()), "Last");
}

TEST_F(WindowControls, SmallPromisesHoldWhereTheGameNeverGoes) {
    // Each row is one promise of the framework at an input no layout of the game makes.
    const std::vector<std::pair<const char*, std::function<void()>>> promises = {
        {"a control made before its container is rejected, by name", [] {
             g_layout = {{.name = "Early", .parent = "Box"}, {.name = "Box", .kind = ControlKind::GroupBox}};
             try {
                 fw::MakeWindow<TestWindow>();
                 ADD_FAILURE() << "no exception";
             } catch (const fw::RuntimeException& e) {
                 EXPECT_NE(std::string(e.what()).find("\"Early\""), std::string::npos) << e.what();
             }
         }},
        {"a control is not its own container", [] {
             g_layout = {{.name = "Self", .parent = "Self"}};
             EXPECT_THROW(fw::MakeWindow<TestWindow>(), fw::RuntimeException);
         }},
        {"the most negative wheel amount turns into the largest", [this] {
             Wheel(Make({Well("Grid", 0, 0, 0)}).ControlAs<fw::ImageWell>("Grid", 0).NativeWidget(), INT_MIN, INT_MIN);
             EXPECT_EQ(g_log, (Log{"Grid(0) wheel 2147483647 2147483647"}));
         }},
        {"text size 0 is the default size", [this] {
             auto& label = Make({{.name = "L", .textSize = 18}}).ControlAs<fw::Label>("L");
             label.TextSize(0);
             EXPECT_EQ(label.NativeWidget()->font().pixelSize(), fw::kDefaultTextPixels);
         }},
    };
    for (const auto& [promise, check] : promises) {
        SCOPED_TRACE(promise);
        g_log.clear();
        check();
        fw::ReleaseWindows();
    }
}

}  // namespace

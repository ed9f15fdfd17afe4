// Menus and their Qt form, the process run (start-up, event loop, quit and
// stop) and the program's own start-up in shell/app.cpp.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMainWindow>
#include <QPointer>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/menus.h"
#include "tests/doubles/doubles.h"
#include "framework/window.h"
#include "shell/app.h"
#include "tests/support/test_env.h"

namespace {

using Lines = std::vector<std::string>;

// An item with its children; the one named FileQuit is the quit item.
std::shared_ptr<fw::MenuItem> Item(const char* name, const char* text, std::optional<std::string> shortcut = {},
                                   std::initializer_list<std::shared_ptr<fw::MenuItem>> items = {}) {
    std::shared_ptr<fw::MenuItem> item =
        std::string(name) == "FileQuit" ? std::make_shared<fw::QuitMenuItem>() : std::make_shared<fw::MenuItem>();
    item->Name(name);
    item->Text(text);
    if (shortcut) item->KeyboardShortcut(*shortcut);
    for (const auto& child : items) item->Append(child);
    return item;
}

std::shared_ptr<fw::MenuBar> SmallBar() {
    auto bar = std::make_shared<fw::MenuBar>();
    bar->Append(Item("FileMenu", "&File", {}, {Item("FileQuit", "&Quit", "Cmd+Q")}));
    bar->Append(Item("EditMenu", "&Edit", {},
                     {Item("EditUndo", "&Undo", "Cmd+Shift+Z"), Item("Line", "-"), Item("EditClear", "&Delete", ""),
                      Item("More", "&More", {}, {Item("MoreThing", "&Thing", "Cmd+T")})}));
    return bar;
}

// A menu's entries as "text name shortcut", "----" for a separator and
// "text > [entries]" for a submenu.
Lines Entries(const QMenu* menu) {
    Lines out;
    for (const QAction* a : menu->actions()) {
        if (a->isSeparator()) out.push_back("----");
        else if (a->menu()) out.push_back(a->text().toStdString() + " > " + Entries(a->menu()).at(0));
        else out.push_back((a->text() + ' ' + a->objectName() + ' ' + a->shortcut().toString()).toStdString());
    }
    return out;
}

// A menu item as "name text shortcut", "-" standing for no shortcut at all,
// with " quit" for the quit item and " manual" where it is not auto-enabled.
std::string Describe(const fw::MenuItem& item) {
    return item.Name() + ' ' + item.Text() + ' ' + item.KeyboardShortcut().value_or("-") +
           (item.IsQuitItem() ? " quit" : "") + (item.AutoEnable() ? "" : " manual");
}

class MenuWindow : public fw::Window {
protected:
    void Layout() override {
        MenuBar(SmallBar());
        Apply({.width = 320, .height = 240, .title = "Menus", .resizeable = false, .maximizeButton = false});
    }
};

class QuittingWindow : public fw::Window {
protected:
    void Open() override { fw::Quit(); }
};

class FailingWindow : public fw::Window {
protected:
    void Open() override { throw fw::NilObjectException("no such square"); }
};

QMainWindow* ProgramWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<QMainWindow*>(w); main && main->isVisible()) return main;
    return nullptr;
}

QAction* QuitAction() {
    QMainWindow* main = ProgramWindow();
    return main ? main->menuBar()->findChild<QAction*>(QStringLiteral("FileQuit")) : nullptr;
}

// One process run whose start-up makes a window of class W; `inLoop` runs
// from a zero timer once the loop is under way. A watchdog ends a run that
// would otherwise hang.
struct ProcessRun {
    int status = -1;
    bool stopped = false, loopEntered = false, watchdogFired = false;
    std::string failIn;  // "stop" or "end": that step throws
    // The end step ran after the stop, with the window and its widgets gone.
    bool endedAfterWindows = false;

    template <class W>
    void Go(const std::function<void()>& inLoop) {
        QTimer zero, watchdog;
        zero.setSingleShot(true);
        watchdog.setSingleShot(true);
        QObject::connect(&zero, &QTimer::timeout, [&] {
            loopEntered = fw::InEventLoop();
            inLoop();
        });
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            watchdogFired = true;
            fw::Quit();
        });
        char arg0[] = "corvessan";
        char* argv[] = {arg0, nullptr};
        QPointer<QWidget> frame;
        auto startup = [&] {
            zero.start(0);
            watchdog.start(5000);
            frame = fw::MakeWindow<W>().NativeWindow();
        };
        auto stop = [&] {
            stopped = true;
            if (failIn == "stop") throw fw::RuntimeException("stop failed");
        };
        auto atEnd = [&] {
            endedAfterWindows = stopped && frame.isNull();
            if (failIn == "end") throw fw::RuntimeException("end failed");
        };
        status = fw::RunProcess(1, argv, [&] { fw::RunMain(startup); }, stop, atEnd);
    }
};

TEST(Menus, TheTreeAndItsShortcutsBecomeTheWindowsQtMenuBarAboveItsContent) {
    // Child finds direct children; Cmd becomes Ctrl; the Qt menu bar mirrors texts, names, shortcuts, separators and submenus above the content.
    auto bar = SmallBar();
    EXPECT_EQ(bar->Child("FileMenu")->Child("FileQuit")->Text(), "&Quit");
    EXPECT_EQ(bar->Child("FileQuit"), nullptr);
    EXPECT_EQ(fw::NativeShortcut("Cmd+Q"), "Ctrl+Q");
    EXPECT_EQ(fw::NativeShortcut("Cmd+Shift+Z"), "Ctrl+Shift+Z");
    EXPECT_EQ(fw::NativeShortcut("Shift+Cmd+A"), "Shift+Ctrl+A");
    EXPECT_EQ(fw::NativeShortcut("Cmd++"), "Ctrl++");
    EXPECT_EQ(fw::NativeShortcut("F1"), "F1");
    EXPECT_EQ(fw::NativeShortcut(""), "");

    auto& w = fw::MakeWindow<MenuWindow>();
    auto* main = static_cast<QMainWindow*>(w.NativeWindow());
    const auto menus = main->menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&File"));
    EXPECT_EQ(Entries(menus[0]->menu()), (Lines{"&Quit FileQuit Ctrl+Q"}));
    ASSERT_NE(QuitAction(), nullptr);
    EXPECT_EQ(QuitAction()->menuRole(), QAction::QuitRole);
    EXPECT_EQ(menus[1]->text(), QStringLiteral("&Edit"));
    EXPECT_EQ(Entries(menus[1]->menu()),
              (Lines{"&Undo EditUndo Ctrl+Shift+Z", "----", "&Delete EditClear ", "&More > &Thing MoreThing Ctrl+T"}));

    QApplication::processEvents();
    EXPECT_EQ(w.ContentWidget()->size(), QSize(320, 240));
    EXPECT_EQ(w.ContentWidget()->geometry().top(), main->menuBar()->geometry().bottom() + 1);
    EXPECT_EQ(main->height(), 240 + main->menuBar()->height());
    fw::ReleaseWindows();
}

TEST(RuntimeProcess, QuitItemShortcutCloseRequestAndQuitEndTheRunWithStatusZero) {
    // File > Quit, Ctrl+Q, a close request and fw::Quit (even during start-up) each end the run; stop runs and the status is 0.
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"quit item", [] {
             if (QAction* quit = QuitAction()) quit->trigger();
         }},
        {"Ctrl+Q", [] {
             if (QTest::qWaitForWindowActive(ProgramWindow(), 2000))
                 QTest::keyClick(ProgramWindow(), Qt::Key_Q, Qt::ControlModifier);
         }},
        {"close()", [] {
             if (QMainWindow* window = ProgramWindow()) window->close();
         }},
        {"close event", [] {  // as a window manager asks
             QCloseEvent event;
             QApplication::sendEvent(ProgramWindow(), &event);
         }},
    };
    for (const auto& [way, act] : ways) {
        ProcessRun run;
        run.Go<MenuWindow>(act);
        EXPECT_EQ(run.status, 0) << way;
        EXPECT_TRUE(run.loopEntered && run.stopped) << way;
        EXPECT_TRUE(run.endedAfterWindows) << way;
        EXPECT_FALSE(run.watchdogFired) << way;
        EXPECT_FALSE(fw::InEventLoop());
    }

    ProcessRun early;
    early.Go<QuittingWindow>([] {});
    EXPECT_EQ(early.status, 0);
    EXPECT_FALSE(early.loopEntered);
    EXPECT_TRUE(early.stopped);
    EXPECT_FALSE(early.watchdogFired);

    // A handler's exception inside the loop is reported but leaves the status alone.
    ProcessRun failing;
    ::testing::internal::CaptureStderr();
    failing.Go<MenuWindow>([] {
        fw::Dispatch([] { throw fw::RuntimeException("handler failed"); });
        fw::Quit();
    });
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(failing.status, 0);
    EXPECT_NE(err.find("RuntimeException: handler failed"), std::string::npos) << err;
}

TEST(RuntimeProcess, AStepThatThrowsFailsTheRunAndTheStepsAfterItStillRun) {
    // An exception during start-up: the loop is never entered, stop still runs, the status is non-zero and stderr names the class.
    ProcessRun run;
    ::testing::internal::CaptureStderr();
    run.Go<FailingWindow>([] { fw::Quit(); });
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(run.status, 0);
    EXPECT_TRUE(run.stopped);
    EXPECT_FALSE(run.loopEntered);
    EXPECT_FALSE(run.watchdogFired);
    EXPECT_NE(err.find("NilObjectException: no such square"), std::string::npos) << err;
    EXPECT_EQ(fw::App(), nullptr);

    ProcessRun next;  // starts from a clean status
    next.Go<MenuWindow>([] { fw::Quit(); });
    EXPECT_EQ(next.status, 0);

    // A stop or end step that throws fails the run too; the windows are still released first.
    for (const char* step : {"stop", "end"}) {
        ProcessRun failing{.failIn = step};
        ::testing::internal::CaptureStderr();
        failing.Go<MenuWindow>([] { fw::Quit(); });
        EXPECT_NE(::testing::internal::GetCapturedStderr().find(std::string(step) + " failed"), std::string::npos);
        EXPECT_EQ(failing.status, 1) << step;
        EXPECT_TRUE(failing.endedAfterWindows) << step;
    }
}

TEST(StartUp, MenuBar1HasFileQuitAndTheEightEditEntries) {
    // MenuBar1 is one shared object: File holds only Quit (Cmd+Q), Edit the eight standard entries in order, all auto-enabled.
    auto bar = MenuBar1();
    EXPECT_EQ(MenuBar1(), bar);
    ASSERT_EQ(bar->Count(), 2);
    Lines file, edit;
    for (int i = 0; i < bar->Item(0)->Count(); ++i) file.push_back(Describe(*bar->Item(0)->Item(i)));
    for (int i = 0; i < bar->Item(1)->Count(); ++i) edit.push_back(Describe(*bar->Item(1)->Item(i)));
    EXPECT_EQ(bar->Item(0)->Name() + ' ' + bar->Item(0)->Text(), "FileMenu &File");
    EXPECT_EQ(file, (Lines{"FileQuit &Quit Cmd+Q quit"}));
    EXPECT_EQ(bar->Item(1)->Name() + ' ' + bar->Item(1)->Text(), "EditMenu &Edit");
    EXPECT_EQ(edit, (Lines{"EditUndo &Undo Cmd+Z", "UntitledMenu1 - -", "EditCut Cu&t Cmd+X", "EditCopy &Copy Cmd+C",
                           "EditPaste &Paste Cmd+V", "EditClear &Delete ", "UntitledMenu0 - -",
                           "EditSelectAll Select &All Cmd+A"}));
    ReleaseMenuBar1();
}

TEST(StartUp, TheWholeProgramEndsThroughFileQuitOrACloseRequestAndLetsGoOfItsMenuBar) {
    // RunProgram on the test seam: File > Quit (or closing the window) at once ends it with status 0 and its stop releases the menu bar.
    fw::testing::TestSeam seam;
    corvessan_test::TempDir data;
    corvessan_test::ScopedDataHome home(data.Path());
    fw::testing::ScopedBundle bundle(corvessan_test::SourceBundle());
    char arg0[] = "corvessan";
    char* argv[] = {arg0, nullptr};

    for (bool byQuitItem : {true, false}) {
        std::weak_ptr<fw::MenuBar> bar;
        bool quitFound = false;
        QTimer zero;
        zero.setSingleShot(true);
        QObject::connect(&zero, &QTimer::timeout, [&] {
            bar = MenuBar1();
            QAction* quit = QuitAction();
            quitFound = quit != nullptr;
            if (byQuitItem && quit) quit->trigger();
            else if (QMainWindow* window = ProgramWindow()) window->close();
            else fw::Quit();
        });
        zero.start(0);
        ::testing::internal::CaptureStderr();
        const int status = RunProgram(1, argv);
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, 0) << byQuitItem;
        EXPECT_TRUE(quitFound) << byQuitItem;
        EXPECT_TRUE(bar.expired()) << byQuitItem;
        EXPECT_EQ(fw::App(), nullptr);
        EXPECT_EQ(ProgramWindow(), nullptr);
        EXPECT_EQ(err.find("unhandled"), std::string::npos) << err;
    }
}

}  // namespace

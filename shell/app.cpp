#include "shell/app.h"

#include "framework/window.h"
#include "game_window/window1.h"
#include "shell/media.h"

namespace {

std::shared_ptr<class MenuBar1> g_implicitInstance;

struct MenuEntry {
    const char* name;
    const char* text;
    const char* shortcut;  // nullptr: a separator, which gets none at all
    bool quit;
};

// Each entry is made, named, auto-enabled, given its text and shortcut, and
// appended under `menu` (or to the bar itself when `menu` is empty).
void BuildMenu(fw::MenuBar& bar, const MenuEntry& head, std::initializer_list<MenuEntry> items) {
    auto make = [](const MenuEntry& e) {
        std::shared_ptr<fw::MenuItem> item =
            e.quit ? std::make_shared<fw::QuitMenuItem>() : std::make_shared<fw::MenuItem>();
        item->Name(e.name);
        item->AutoEnable(true);
        item->Text(e.text);
        if (e.shortcut) item->KeyboardShortcut(e.shortcut);
        return item;
    };
    bar.Append(make(head));
    for (const MenuEntry& e : items) bar.Child(head.name)->Append(make(e));
}

}  // namespace

void MenuBar1::Constructor() {
    Untitled0();
    Untitled1();
}

void MenuBar1::Untitled0() {
    BuildMenu(*this, {"FileMenu", "&File", "", false}, {{"FileQuit", "&Quit", "Cmd+Q", true}});
}

void MenuBar1::Untitled1() {
    BuildMenu(*this, {"EditMenu", "&Edit", "", false},
              {{"EditUndo", "&Undo", "Cmd+Z", false},
               {"UntitledMenu1", "-", nullptr, false},
               {"EditCut", "Cu&t", "Cmd+X", false},
               {"EditCopy", "&Copy", "Cmd+C", false},
               {"EditPaste", "&Paste", "Cmd+V", false},
               {"EditClear", "&Delete", "", false},
               {"UntitledMenu0", "-", nullptr, false},
               {"EditSelectAll", "Select &All", "Cmd+A", false}});
}

std::shared_ptr<class MenuBar1> MenuBar1() {
    if (!g_implicitInstance) {
        auto bar = std::make_shared<class MenuBar1>();
        bar->Constructor();
        g_implicitInstance = bar;
    }
    return g_implicitInstance;
}

void ReleaseMenuBar1() { g_implicitInstance.reset(); }

void InitFileTypes() {}

void NewAppInstance() {
    auto app = std::make_unique<App>();
    app->Constructor();
    app->MenuBar(MenuBar1());
    fw::RegisterAppObject(std::move(app));
}

void ApplicationAddMenuHandlers() {}

void MakeDefaultView() { fw::MakeWindow<Window1>(); }

void Startup() {
    InitFileTypes();
    NewAppInstance();
    ApplicationAddMenuHandlers();
    MakeDefaultView();
}

void Main() { fw::RunMain(Startup); }

void Stop() {
    ReleaseSounds();
    fw::ReleaseWindows();
    ReleaseMenuBar1();
}

// The pictures are kept for the whole run; they go at the very end, after the
// windows that show them and before the GUI they belong to.
int RunProgram(int argc, char** argv) { return fw::RunProcess(argc, argv, Main, Stop, ResetMediaCaches); }

#pragma once
// Start-up and stop of the program, the application object and the menu bar.

#include <memory>

#include "framework/menus.h"
#include "framework/runtime.h"

class App : public fw::Application {
public:
    void Constructor() {}
};

// File with Quit, Edit with the standard editing items. One instance, shared
// by the application and the game window.
class MenuBar1 : public fw::MenuBar {
public:
    void Constructor();
    void Untitled0();  // the File menu
    void Untitled1();  // the Edit menu
};

// The single instance, made on first use.
std::shared_ptr<class MenuBar1> MenuBar1();
// At the stop: the instance is dropped.
void ReleaseMenuBar1();

// The start-up callback and its four steps, in order.
void Startup();
void InitFileTypes();
void NewAppInstance();
void ApplicationAddMenuHandlers();
void MakeDefaultView();

// The program's main sequence: framework initialisation with Startup, then the
// event loop until File > Quit.
void Main();
// Releases the cached sounds, the window list and the menu bar.
void Stop();

// The whole process run; returns the exit status.
int RunProgram(int argc, char** argv);

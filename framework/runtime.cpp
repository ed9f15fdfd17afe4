#include "framework/runtime.h"

#include <QApplication>

#include <cstdio>
#include <iostream>

#include "framework/seam.h"
#include "framework/window.h"

namespace fw {

RuntimeException::RuntimeException(const std::string& message) : std::runtime_error(message) {}
NilObjectException::NilObjectException(const std::string& message) : RuntimeException(message) {}
IOException::IOException(const std::string& message, int errorCode)
    : RuntimeException(message), errorCode_(errorCode) {}

Application::~Application() = default;

void Application::MenuBar(std::shared_ptr<fw::MenuBar> bar) { menuBar_ = std::move(bar); }
std::shared_ptr<fw::MenuBar> Application::MenuBar() const { return menuBar_; }

namespace {
int g_exitStatus = 0;
bool g_inEventLoop = false;
bool g_quitPending = false;
std::unique_ptr<Application> g_app;
}  // namespace

void UnhandledException(const std::exception& e) {
    const auto* rt = dynamic_cast<const RuntimeException*>(&e);
    const char* name = rt ? rt->ClassName() : "std::exception";
    std::cerr << "Corvessan: unhandled " << name;
    if (e.what() && *e.what()) std::cerr << ": " << e.what();
    if (const auto* io = dynamic_cast<const IOException*>(&e)) std::cerr << " (error " << io->ErrorNumber() << ")";
    std::cerr << std::endl;
    // Inside the loop the program goes on; outside it the run has failed.
    if (!g_inEventLoop) g_exitStatus = 1;
}

void Dispatch(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        UnhandledException(e);
    }
}

void RunMain(const std::function<void()>& startup) {
    g_quitPending = false;
    try {
        startup();
        if (g_quitPending) return;
        g_inEventLoop = true;
        const int code = QApplication::exec();
        g_inEventLoop = false;
        if (code != 0) g_exitStatus = code;
    } catch (const std::exception& e) {
        g_inEventLoop = false;
        UnhandledException(e);
    }
}

int RunProcess(int argc, char** argv, const std::function<void()>& main,
               const std::function<void()>& stop, const std::function<void()>& atEnd) {
    g_exitStatus = 0;
    int status = 0;
    {
        // Tests run a whole process inside one that already has Qt running.
        static int qtArgc;
        qtArgc = argc;
        std::unique_ptr<QApplication> owned;
        if (!QApplication::instance()) owned = std::make_unique<QApplication>(qtArgc, argv);
        QApplication::setApplicationName(QStringLiteral("Corvessan"));
        QApplication::setApplicationDisplayName(QStringLiteral("Corvessan"));
        QApplication::setDesktopFileName(QStringLiteral("corvessan"));
        // The window has no close box; a close request is handled as Quit.
        QApplication::setQuitOnLastWindowClosed(false);
        // A step that throws is reported and fails the run, and the steps after
        // it still run: widgets and pictures must go before Qt itself does.
        Dispatch(main);
        Dispatch(stop);
        ReleaseWindows();
        g_app.reset();
        if (atEnd) Dispatch(atEnd);
        status = g_exitStatus;
    }
    return status;
}

void RegisterAppObject(std::unique_ptr<Application> app) { g_app = std::move(app); }
Application* App() { return g_app.get(); }

void Quit() {
    // Qt drops an exit asked for before its loop runs; a quit during start-up
    // must still end the run, so RunMain then skips the loop.
    if (!g_inEventLoop) g_quitPending = true;
    QCoreApplication::exit(0);
}

bool InEventLoop() { return g_inEventLoop; }

void ReportProblem(const std::string& title, const std::string& message) {
    std::cerr << "Corvessan: " << title << ": " << message << std::endl;
    CurrentSeam().dialogs->Problem(title, message);
}

}  // namespace fw

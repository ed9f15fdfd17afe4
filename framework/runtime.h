#pragma once
// The application runtime: exceptions, the application object, start-up, the
// event loop and the routine that reports exceptions nobody caught.

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace fw {

class MenuBar;

// Base of every exception the framework and the game raise on purpose.
class RuntimeException : public std::runtime_error {
public:
    explicit RuntimeException(const std::string& message = {});
    virtual const char* ClassName() const { return "RuntimeException"; }
};

// Raised when a missing object (an empty reference) is used.
class NilObjectException : public RuntimeException {
public:
    explicit NilObjectException(const std::string& message = {});
    const char* ClassName() const override { return "NilObjectException"; }
};

// Raised when a file cannot be created, opened, written or replaced.
class IOException : public RuntimeException {
public:
    IOException(const std::string& message, int errorCode);
    const char* ClassName() const override { return "IOException"; }
    int ErrorNumber() const { return errorCode_; }

private:
    int errorCode_;
};

// Base of the program's application class. The framework owns the one instance.
class Application {
public:
    virtual ~Application();
    void MenuBar(std::shared_ptr<fw::MenuBar> bar);
    std::shared_ptr<fw::MenuBar> MenuBar() const;

private:
    std::shared_ptr<fw::MenuBar> menuBar_;
};

// Process run: starts the runtime, runs `main` (the program's own entry), then
// `stop`, releases the windows and the application object, runs `atEnd` (for
// what the program keeps for the whole run), shuts the runtime down and
// returns the exit status. An exception escaping one of these steps goes to
// the unhandled-exception routine and the steps after it still run. The
// status is 0 unless an exception reached that routine outside the event loop
// (for instance during start-up), or the loop ended with an error. Every Qt
// object of the run is gone when it returns; none is left for static
// destructors.
int RunProcess(int argc, char** argv, const std::function<void()>& main,
               const std::function<void()>& stop, const std::function<void()>& atEnd = {});

// The program's main sequence: initialisation with the start-up callback, then
// the event loop. An exception escaping either goes to the unhandled-exception
// routine and the loop is not (re-)entered. Returns when the application quits.
void RunMain(const std::function<void()>& startup);

// Runs one event handler. An exception escaping it is reported by the
// unhandled-exception routine and the event loop goes on.
void Dispatch(const std::function<void()>& handler);

// Reports an exception that no handler caught: its class and message on
// standard error. Outside the event loop it also makes the exit status non-zero.
void UnhandledException(const std::exception& e);

// Registers the application object; the framework holds it until the process ends.
void RegisterAppObject(std::unique_ptr<Application> app);
Application* App();

// Ends the event loop, as the quit menu item does.
void Quit();

// Whether the event loop is running (handlers run inside it).
bool InEventLoop();

// A short message for the player that is also written to standard error. Used
// where a problem must not stop the program but the player should know of it.
void ReportProblem(const std::string& title, const std::string& message);

}  // namespace fw

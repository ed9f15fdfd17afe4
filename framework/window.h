#pragma once
// A top-level window: its own settings, its menu bar, and the registry of the
// controls it holds, by name and, for control arrays, by name and index.

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/controls.h"
#include "framework/runtime.h"
#include "framework/types.h"

class QWidget;
class QButtonGroup;

namespace fw {

class MenuBar;
class WindowFrame;

struct WindowSettings {
    int width = 400;   // content size in pixels
    int height = 300;
    std::string title;
    bool hasBackColor = false;
    Color backColor = {0xFF, 0xFF, 0xFF};
    bool visible = true;
    bool closeButton = true;
    bool resizeable = true;
    bool maximizeButton = true;
    bool minimizeButton = true;
};

class Window {
public:
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    void MenuBar(std::shared_ptr<fw::MenuBar> bar);
    const std::shared_ptr<fw::MenuBar>& MenuBar() const { return menuBar_; }

    void Apply(const WindowSettings& settings);
    const WindowSettings& Settings() const { return settings_; }

    // Makes the control of one layout row and registers it under its name.
    Control& NewControl(const ControlSpec& spec);

    void AddControl(std::unique_ptr<Control> control);
    Control* ControlByName(const std::string& name) const;
    Control* ControlByNameIndex(const std::string& name, int index) const;
    // The controls in the order they were added.
    std::vector<Control*> Controls() const;

    // The registered control of that name as its class; NilObjectException when
    // there is none (or it has been closed).
    template <class T>
    T& ControlAs(const std::string& name) const {
        return Cast<T>(ControlByName(name), name);
    }
    template <class T>
    T& ControlAs(const std::string& name, int index) const {
        return Cast<T>(ControlByNameIndex(name, index), name);
    }

    // Recomputes which controls can be seen (after a page change or Visible).
    void UpdateShown();

    // The backing widgets, for the framework and for tests.
    QWidget* NativeWindow() const;
    QWidget* ContentWidget() const;

protected:
    Window();

    // The window events, raised in this order while the window is made.
    virtual void Layout() {}
    virtual void CreateControls() {}
    virtual void Open() {}

private:
    template <class W>
    friend W& MakeWindow();
    friend class RectControl;
    friend class RadioButton;
    // Radio buttons exclude each other within their container.
    QButtonGroup* RadioGroup(const std::string& container);
    void RaiseConstructionEvents();
    void OrderFocusChain();
    void Remove(Control* control);

    template <class T>
    static T& Cast(Control* control, const std::string& name) {
        auto* typed = dynamic_cast<T*>(control);
        if (!typed) throw NilObjectException("no control named " + name);
        return *typed;
    }

    std::unique_ptr<WindowFrame> frame_;
    bool constructing_ = false;
    WindowSettings settings_;
    std::shared_ptr<fw::MenuBar> menuBar_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::unique_ptr<Control>> closed_;
    std::vector<std::pair<std::string, QButtonGroup*>> radioGroups_;
};

void RegisterWindow(std::unique_ptr<Window> window);
// Releases the framework's window list (the windows themselves go with it).
void ReleaseWindows();

// Makes a window of class W and raises Layout, CreateControls and Open on it.
// The framework keeps the window open until the process ends.
template <class W>
W& MakeWindow() {
    static_assert(std::is_base_of_v<Window, W>);
    std::unique_ptr<W> window(new W());
    W& ref = *window;
    RegisterWindow(std::move(window));
    ref.RaiseConstructionEvents();
    return ref;
}

}  // namespace fw

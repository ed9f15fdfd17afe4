#pragma once
// Menu bar and menu items as a tree of named entries. The window that shows a
// menu bar turns it into native menus; the quit item ends the event loop.

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fw {

class MenuItem {
public:
    MenuItem() = default;
    virtual ~MenuItem() = default;
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    const std::string& Name() const { return name_; }
    void Name(const std::string& name) { name_ = name; }
    // "&" marks the mnemonic letter; "-" makes a separator line.
    const std::string& Text() const { return text_; }
    void Text(const std::string& text) { text_ = text; }
    bool IsSeparator() const { return text_ == "-"; }
    // In the framework's text form, "Cmd+Q": Cmd is the platform's command
    // modifier. Unset and empty both mean no shortcut.
    const std::optional<std::string>& KeyboardShortcut() const { return shortcut_; }
    void KeyboardShortcut(const std::string& shortcut) { shortcut_ = shortcut; }
    bool AutoEnable() const { return autoEnable_; }
    void AutoEnable(bool on) { autoEnable_ = on; }

    void Append(std::shared_ptr<MenuItem> item) { items_.push_back(std::move(item)); }
    int Count() const { return static_cast<int>(items_.size()); }
    const std::shared_ptr<MenuItem>& Item(int index) const { return items_.at(index); }
    // The direct child of that name, or nil.
    std::shared_ptr<MenuItem> Child(const std::string& name) const;

    virtual bool IsQuitItem() const { return false; }

private:
    std::string name_;
    std::string text_;
    std::optional<std::string> shortcut_;
    bool autoEnable_ = false;
    std::vector<std::shared_ptr<MenuItem>> items_;
};

// Choosing it ends the event loop.
class QuitMenuItem : public MenuItem {
public:
    bool IsQuitItem() const override { return true; }
};

class MenuBar : public MenuItem {};

// The shortcut text form turned into the platform's ("Cmd+Q" is "Ctrl+Q" here).
std::string NativeShortcut(const std::string& shortcut);

}  // namespace fw

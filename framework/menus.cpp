#include "framework/menus.h"

namespace fw {

std::shared_ptr<MenuItem> MenuItem::Child(const std::string& name) const {
    for (const auto& item : items_)
        if (item->Name() == name) return item;
    return nullptr;
}

std::string NativeShortcut(const std::string& shortcut) {
    // Qt knows no "Cmd" and would silently make an unknown key of it; the
    // command modifier is Ctrl here.
    std::string out;
    std::size_t start = 0;
    while (start <= shortcut.size()) {
        std::size_t plus = shortcut.find('+', start);
        // A trailing "+" is the plus key itself ("Cmd++").
        if (plus == start && plus + 1 == shortcut.size()) plus = std::string::npos;
        std::string part = shortcut.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
        if (part == "Cmd" || part == "Command") part = "Ctrl";
        if (!out.empty()) out += '+';
        out += part;
        if (plus == std::string::npos) break;
        start = plus + 1;
    }
    return out;
}

}  // namespace fw

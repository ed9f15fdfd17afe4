#include "framework/window.h"

#include <QButtonGroup>

#include <algorithm>
#include <functional>

#include "framework/menus.h"
#include "framework/widgets_p.h"

namespace fw {

namespace {
// Made by the first window and freed by ReleaseWindows, never by a static
// destructor: when Qt leaves through exit() (its X server gone), nothing here
// may try to destroy widgets of a GUI that no longer exists.
std::vector<std::unique_ptr<Window>>* g_windows = nullptr;
}  // namespace

void RegisterWindow(std::unique_ptr<Window> window) {
    if (!g_windows) g_windows = new std::vector<std::unique_ptr<Window>>;
    g_windows->push_back(std::move(window));
}

void ReleaseWindows() {
    if (!g_windows) return;
    // Newest first, each window with its controls before its frame.
    while (!g_windows->empty()) g_windows->pop_back();
    delete g_windows;
    g_windows = nullptr;
}

Window::Window() : frame_(std::make_unique<WindowFrame>(*this)) {}

Window::~Window() {
    // Controls first: their widgets are children of the frame.
    controls_.clear();
    closed_.clear();
    frame_.reset();
}

void Window::RaiseConstructionEvents() {
    // The window appears once its controls are in, before Open: showing it
    // first would have every control added to a visible window.
    constructing_ = true;
    Layout();
    CreateControls();
    OrderFocusChain();
    constructing_ = false;
    frame_->setVisible(settings_.visible);
    Open();
}

void Window::OrderFocusChain() {
    // Within each container by TabIndex, ties in creation order; a container's
    // own controls follow it directly, before its next sibling.
    std::vector<RectControl*> order;
    std::vector<std::string> visited;
    std::function<void(const std::string&)> addContainer = [&](const std::string& container) {
        if (std::find(visited.begin(), visited.end(), container) != visited.end()) return;
        visited.push_back(container);
        std::vector<RectControl*> members;
        for (const auto& c : controls_)
            if (auto* rect = dynamic_cast<RectControl*>(c.get()); rect && rect->InitialParent() == container)
                members.push_back(rect);
        std::stable_sort(members.begin(), members.end(),
                         [](const RectControl* a, const RectControl* b) { return a->TabIndex() < b->TabIndex(); });
        for (RectControl* rect : members) {
            order.push_back(rect);
            addContainer(rect->Name());
        }
    };
    // Every container is made before what it holds, so this reaches them all.
    addContainer("");
    // Qt leaves the chain as it is when either end takes no focus, so a label
    // between two buttons would cut it: only the controls that take focus are linked.
    std::erase_if(order, [](const RectControl* r) { return r->NativeWidget()->focusPolicy() == Qt::NoFocus; });
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1]->NativeWidget(), order[i]->NativeWidget());
}

void Window::MenuBar(std::shared_ptr<fw::MenuBar> bar) {
    menuBar_ = std::move(bar);
    if (menuBar_) frame_->InstallMenuBar(*menuBar_);
    frame_->ApplyContentSize(settings_.width, settings_.height);
}

void Window::Apply(const WindowSettings& settings) {
    settings_ = settings;
    WindowFrame& f = *frame_;
    f.setWindowTitle(QString::fromStdString(settings.title));
    if (settings.hasBackColor) {
        QPalette palette = f.Content()->palette();
        const QColor back(settings.backColor.red, settings.backColor.green, settings.backColor.blue);
        palette.setColor(QPalette::Window, back);
        f.Content()->setPalette(palette);
        f.Content()->setAutoFillBackground(true);
    }
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (settings.closeButton) flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
    if (settings.minimizeButton) flags |= Qt::WindowMinimizeButtonHint;
    if (settings.maximizeButton && settings.resizeable) flags |= Qt::WindowMaximizeButtonHint;
    f.setWindowFlags(flags);
    if (settings.resizeable) {
        f.Content()->setMinimumSize(64, 64);
        f.Content()->resize(settings.width, settings.height);
    }
    f.ApplyContentSize(settings.width, settings.height);
    if (!constructing_) f.setVisible(settings.visible);
}

Control& Window::NewControl(const ControlSpec& spec) {
    // A control is placed by looking its container up by name; one made later,
    // or the control itself, would leave it hidden or recurse for ever.
    const std::string parent = spec.parent;
    if (!parent.empty() && (parent == spec.name || !dynamic_cast<RectControl*>(ControlByName(parent))))
        throw RuntimeException("The control \"" + std::string(spec.name) + "\" is placed in \"" + parent +
                               "\", which is not a control made before it");
    std::unique_ptr<Control> control;
    switch (spec.kind) {
        case ControlKind::ImageWell: control = std::make_unique<ImageWell>(*this, spec); break;
        case ControlKind::Label: control = std::make_unique<Label>(*this, spec); break;
        case ControlKind::PushButton: control = std::make_unique<PushButton>(*this, spec); break;
        case ControlKind::RadioButton: control = std::make_unique<RadioButton>(*this, spec); break;
        case ControlKind::GroupBox: control = std::make_unique<GroupBox>(*this, spec); break;
        case ControlKind::TabPanel: control = std::make_unique<TabPanel>(*this, spec); break;
        case ControlKind::Timer: control = std::make_unique<Timer>(*this, spec); break;
    }
    Control& ref = *control;
    AddControl(std::move(control));
    return ref;
}

void Window::AddControl(std::unique_ptr<Control> control) { controls_.push_back(std::move(control)); }

Control* Window::ControlByName(const std::string& name) const {
    for (const auto& c : controls_)
        if (c->Name() == name) return c.get();
    return nullptr;
}

Control* Window::ControlByNameIndex(const std::string& name, int index) const {
    for (const auto& c : controls_)
        if (c->Name() == name && c->Index() == index) return c.get();
    return nullptr;
}

std::vector<Control*> Window::Controls() const {
    std::vector<Control*> out;
    out.reserve(controls_.size());
    for (const auto& c : controls_) out.push_back(c.get());
    return out;
}

void Window::UpdateShown() {
    for (const auto& c : controls_)
        if (auto* rect = dynamic_cast<RectControl*>(c.get()); rect && rect->NativeWidget())
            rect->NativeWidget()->setVisible(rect->Shown());
}

void Window::Remove(Control* control) {
    auto it = std::find_if(controls_.begin(), controls_.end(), [&](const auto& c) { return c.get() == control; });
    if (it == controls_.end()) return;
    // The control may be the one whose handler is running: it leaves the
    // registry and the screen now, and the memory when the window goes.
    if (auto* rect = dynamic_cast<RectControl*>(it->get()); rect && rect->NativeWidget())
        rect->NativeWidget()->hide();
    closed_.push_back(std::move(*it));
    controls_.erase(it);
    // What sat in a closed container has nowhere left to be shown.
    UpdateShown();
}

QButtonGroup* Window::RadioGroup(const std::string& container) {
    for (auto& [name, group] : radioGroups_)
        if (name == container) return group;
    auto* group = new QButtonGroup(frame_.get());
    group->setExclusive(true);
    radioGroups_.emplace_back(container, group);
    return group;
}

QWidget* Window::NativeWindow() const { return frame_.get(); }
QWidget* Window::ContentWidget() const { return frame_->Content(); }

}  // namespace fw

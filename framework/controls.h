#pragma once
// The controls a window holds. Each is backed by a Qt widget that the game
// never sees; properties take effect at once.

#include <memory>
#include <string>
#include <vector>

#include "framework/events.h"
#include "framework/types.h"

class QWidget;

namespace fw {

class Window;
class Picture;
class ClockTimer;

// No control array: the index a single control carries.
inline constexpr int kNoIndex = -1;

enum class ControlKind { ImageWell, Label, PushButton, RadioButton, GroupBox, TabPanel, Timer };

// One row of a window's layout: everything a control is made with. Unused
// fields keep their defaults (the common values of every control).
struct ControlSpec {
    const char* name = "";
    ControlKind kind = ControlKind::Label;
    int index = kNoIndex;
    int left = 0, top = 0, width = 0, height = 0;  // window content coordinates
    int tabIndex = 0;
    int page = 0;              // 0 the window itself, N the tab panel's page N (from 1)
    const char* parent = "";   // containing control: "" the window
    const char* text = "";     // text, caption, or the tab panel's pages joined by '\r'
    bool visible = true;
    bool enabled = true;
    TextAlign align = TextAlign::Left;
    Color textColor = {0, 0, 0};
    bool bold = false;
    bool underline = false;
    bool multiline = false;
    double textSize = 0;       // 0: the framework's default size
    bool isDefault = false;    // push button: the window's default button
    int value = 0;             // tab panel: selected page from 0; radio button: 1 selected
    int mode = 0;              // timer
    int period = 0;            // timer, milliseconds
};

class Control {
public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    int Index() const { return index_; }
    ControlKind Kind() const { return kind_; }
    Window& Owner() const { return *window_; }

protected:
    Control(Window& window, const ControlSpec& spec);

private:
    Window* window_;
    std::string name_;
    int index_;
    ControlKind kind_;
};

// A control with a place on the window.
class RectControl : public Control {
public:
    ~RectControl() override;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int TabIndex() const { return tabIndex_; }
    int PanelIndex() const { return page_; }
    const std::string& InitialParent() const { return parent_; }

    bool Visible() const { return visible_; }
    void Visible(bool visible);
    bool Enabled() const { return enabled_; }
    void Enabled(bool enabled);

    // Whether the control can be seen now: its own flag, its page and its container.
    bool Shown() const;

    // Removes the control from its window for good.
    void Close();

    // The backing widget, for the framework and for tests that send it real events.
    QWidget* NativeWidget() const { return widget_; }

protected:
    RectControl(Window& window, const ControlSpec& spec);
    void Attach(QWidget* widget);  // takes ownership via Qt's parent

private:
    friend class Window;
    int left_, top_, width_, height_, tabIndex_, page_;
    std::string parent_;
    bool visible_, enabled_;
    QWidget* widget_ = nullptr;
};

class ImageWell : public RectControl {
public:
    ImageWell(Window& window, const ControlSpec& spec);
    ~ImageWell() override;

    // A nil picture shows an empty sunken frame.
    void Image(std::shared_ptr<Picture> picture);
    const std::shared_ptr<Picture>& Image() const { return image_; }

    Event<bool(ImageWell&, int, int)> MouseDown;                 // X, Y
    Event<void(ImageWell&)> MouseEnter;
    Event<void(ImageWell&)> MouseExit;
    Event<bool(ImageWell&, int, int, int, int)> MouseWheel;      // X, Y, deltaX, deltaY

private:
    std::shared_ptr<Picture> image_;
};

class Label : public RectControl {
public:
    Label(Window& window, const ControlSpec& spec);

    const std::string& Text() const { return text_; }
    void Text(const std::string& text);
    double TextSize() const { return textSize_; }
    void TextSize(double size);
    TextAlign Alignment() const { return align_; }
    Color TextColor() const { return color_; }
    bool Bold() const { return bold_; }
    bool Underline() const { return underline_; }
    bool Multiline() const { return multiline_; }

    Event<bool(Label&, int, int)> MouseDown;  // X, Y

private:
    void Restyle();
    void FitText();
    std::string text_;
    double textSize_;
    TextAlign align_;
    Color color_;
    bool bold_, underline_, multiline_;
};

class PushButton : public RectControl {
public:
    PushButton(Window& window, const ControlSpec& spec);

    const std::string& Caption() const { return caption_; }
    void Caption(const std::string& caption);
    bool Default() const { return default_; }

    // Runs Action in full, as a click would; hidden or disabled buttons too.
    void Push();

    Event<void(PushButton&)> Action;
    Event<void(PushButton&)> MouseExit;

private:
    std::string caption_;
    bool default_;
};

class RadioButton : public RectControl {
public:
    RadioButton(Window& window, const ControlSpec& spec);

    const std::string& Caption() const { return caption_; }
    bool Value() const;
    // Selecting one clears the others of its container.
    void Value(bool selected);

private:
    std::string caption_;
};

class GroupBox : public RectControl {
public:
    GroupBox(Window& window, const ControlSpec& spec);
    const std::string& Caption() const { return caption_; }

private:
    std::string caption_;
};

class TabPanel : public RectControl {
public:
    TabPanel(Window& window, const ControlSpec& spec);

    int PageCount() const { return static_cast<int>(pages_.size()); }
    const std::string& PageCaption(int page) const { return pages_.at(page); }
    // The selected page, counted from 0.
    int Value() const { return value_; }
    void Value(int page);

private:
    friend class Window;
    std::vector<std::string> pages_;
    int value_;
};

class Timer : public Control {
public:
    Timer(Window& window, const ControlSpec& spec);
    ~Timer() override;

    // 0 off, 1 one Action a Period later, 2 an Action every Period. Setting 1
    // or 2 (again) starts a new wait of one period from now.
    int Mode() const { return mode_; }
    void Mode(int mode);
    int Period() const { return period_; }
    void Period(int milliseconds);

    Event<void(Timer&)> Action;

private:
    void Fire();
    int mode_;
    int period_;
    std::unique_ptr<ClockTimer> clock_;
};

}  // namespace fw

#include "framework/controls.h"

#include <QButtonGroup>
#include <QFontMetrics>

#include <algorithm>
#include <QGroupBox>
#include <QPalette>

#include "framework/seam.h"
#include "framework/widgets_p.h"
#include "framework/window.h"

namespace fw {

namespace {

QString ToQt(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Old layouts break lines with a carriage return.
QString DisplayText(const std::string& text) {
    QString s = ToQt(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QColor ToQt(Color c) { return QColor(c.red, c.green, c.blue); }

// Text sizes are given in points of a 72 dpi screen, that is in pixels; 0 is
// the framework's default size.
void ApplyFont(QWidget* widget, double size, bool bold, bool underline) {
    QFont font = widget->font();
    font.setPixelSize(size > 0 ? static_cast<int>(size + 0.5) : kDefaultTextPixels);
    font.setBold(bold);
    font.setUnderline(underline);
    widget->setFont(font);
}

}  // namespace

// ---- Control ---------------------------------------------------------------

Control::Control(Window& window, const ControlSpec& spec)
    : window_(&window), name_(spec.name), index_(spec.index), kind_(spec.kind) {}

Control::~Control() = default;

// ---- RectControl -----------------------------------------------------------

RectControl::RectControl(Window& window, const ControlSpec& spec)
    : Control(window, spec),
      left_(spec.left), top_(spec.top), width_(spec.width), height_(spec.height),
      tabIndex_(spec.tabIndex), page_(spec.page), parent_(spec.parent),
      visible_(spec.visible), enabled_(spec.enabled) {}

RectControl::~RectControl() {
    // The widget may be in the middle of delivering the event that closed us.
    if (widget_) widget_->deleteLater();
}

void RectControl::Attach(QWidget* widget) {
    widget_ = widget;
    // A disabled control's mouse events must reach nothing in its place.
    widget->setAttribute(Qt::WA_NoMousePropagation);
    widget->setGeometry(left_, top_, width_, height_);
    widget->setEnabled(enabled_);
    widget->setVisible(Shown());
}

void RectControl::Visible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    Owner().UpdateShown();
}

void RectControl::Enabled(bool enabled) {
    enabled_ = enabled;
    if (widget_) widget_->setEnabled(enabled);
}

bool RectControl::Shown() const {
    if (!visible_) return false;
    if (parent_.empty()) return true;
    auto* container = dynamic_cast<RectControl*>(Owner().ControlByName(parent_));
    if (!container || !container->Shown()) return false;
    if (auto* panel = dynamic_cast<TabPanel*>(container)) return page_ == panel->Value() + 1;
    return true;
}

void RectControl::Close() { Owner().Remove(this); }

// ---- ImageWell -------------------------------------------------------------

ImageWell::ImageWell(Window& window, const ControlSpec& spec) : RectControl(window, spec) {
    Attach(new ImageWellWidget(*this, window.ContentWidget()));
}

ImageWell::~ImageWell() = default;

void ImageWell::Image(std::shared_ptr<Picture> picture) {
    image_ = std::move(picture);
    if (NativeWidget()) NativeWidget()->update();
}

// ---- Label -----------------------------------------------------------------

Label::Label(Window& window, const ControlSpec& spec)
    : RectControl(window, spec), text_(spec.text), textSize_(spec.textSize), align_(spec.align),
      color_(spec.textColor), bold_(spec.bold), underline_(spec.underline), multiline_(spec.multiline) {
    auto* label = new LabelWidget(*this, window.ContentWidget());
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(multiline_);
    // Links are drawn underlined; the hand tells the player they can be clicked.
    if (underline_) label->setCursor(Qt::PointingHandCursor);
    Attach(label);
    // The text goes in first: styling fits the text the label holds.
    label->setText(DisplayText(text_));
    Restyle();
}

void Label::Text(const std::string& text) {
    text_ = text;
    static_cast<QLabel*>(NativeWidget())->setText(DisplayText(text_));
    FitText();
}

void Label::FitText() {
    if (multiline_) return;
    // A line a little too long for its label is set slightly tighter rather
    // than cut off; a much longer one is cut as before.
    auto* label = static_cast<QLabel*>(NativeWidget());
    QFont font = label->font();
    font.setLetterSpacing(QFont::PercentageSpacing, 100);
    const int needed = QFontMetrics(font).horizontalAdvance(label->text());
    const int room = Width();
    if (needed > room && needed > 0) {
        constexpr double kTightest = 90;
        font.setLetterSpacing(QFont::PercentageSpacing, std::max(kTightest, 100.0 * room / needed));
    }
    label->setFont(font);
}

void Label::TextSize(double size) {
    textSize_ = size;
    Restyle();
}

void Label::Restyle() {
    auto* label = static_cast<QLabel*>(NativeWidget());
    ApplyFont(label, textSize_, bold_, underline_);
    Qt::Alignment horizontal = align_ == TextAlign::Center ? Qt::AlignHCenter
                               : align_ == TextAlign::Right ? Qt::AlignRight
                                                            : Qt::AlignLeft;
    label->setAlignment(horizontal | (multiline_ ? Qt::AlignTop : Qt::AlignVCenter));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ToQt(color_));
    label->setPalette(palette);
    FitText();
}

// ---- PushButton ------------------------------------------------------------

PushButton::PushButton(Window& window, const ControlSpec& spec)
    : RectControl(window, spec), caption_(spec.text), default_(spec.isDefault) {
    auto* button = new ButtonWidget(*this, window.ContentWidget());
    button->setText(ToQt(caption_));
    button->setAutoDefault(false);
    button->setDefault(default_);
    ApplyFont(button, spec.textSize, spec.bold, spec.underline);
    QObject::connect(button, &QPushButton::clicked, button, [this] { Action.Raise(*this); });
    Attach(button);
}

void PushButton::Caption(const std::string& caption) {
    caption_ = caption;
    static_cast<QPushButton*>(NativeWidget())->setText(ToQt(caption_));
}

void PushButton::Push() { Action.Raise(*this); }

// ---- RadioButton -----------------------------------------------------------

RadioButton::RadioButton(Window& window, const ControlSpec& spec)
    : RectControl(window, spec), caption_(spec.text) {
    auto* radio = new QRadioButton(ToQt(caption_), window.ContentWidget());
    ApplyFont(radio, spec.textSize, spec.bold, spec.underline);
    // Exclusive within the container, not within the Qt parent: every control
    // shares the window's content widget.
    window.RadioGroup(spec.parent)->addButton(radio);
    radio->setChecked(spec.value != 0);
    Attach(radio);
}

bool RadioButton::Value() const { return static_cast<QRadioButton*>(NativeWidget())->isChecked(); }

void RadioButton::Value(bool selected) { static_cast<QRadioButton*>(NativeWidget())->setChecked(selected); }

// ---- GroupBox --------------------------------------------------------------

GroupBox::GroupBox(Window& window, const ControlSpec& spec) : RectControl(window, spec), caption_(spec.text) {
    auto* box = new QGroupBox(ToQt(caption_), window.ContentWidget());
    ApplyFont(box, spec.textSize, spec.bold, spec.underline);
    Attach(box);
}

// ---- TabPanel --------------------------------------------------------------

TabPanel::TabPanel(Window& window, const ControlSpec& spec) : RectControl(window, spec), value_(spec.value) {
    auto* tabs = new QTabWidget(window.ContentWidget());
    ApplyFont(tabs, spec.textSize, spec.bold, spec.underline);
    for (const QString& page : ToQt(spec.text).split(QLatin1Char('\r'))) {
        pages_.push_back(page.toStdString());
        // The pages stay empty: controls on a page are the window's, placed in
        // window coordinates and shown while their page is selected.
        tabs->addTab(new QWidget(tabs), page);
    }
    tabs->setCurrentIndex(value_);
    QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [this](int index) {
        value_ = index;
        Owner().UpdateShown();
    });
    Attach(tabs);
}

void TabPanel::Value(int page) { static_cast<QTabWidget*>(NativeWidget())->setCurrentIndex(page); }

// ---- Timer -----------------------------------------------------------------

Timer::Timer(Window& window, const ControlSpec& spec)
    : Control(window, spec), mode_(0), period_(spec.period) {
    clock_ = CurrentSeam().clock->NewTimer([this] { Fire(); });
    Mode(spec.mode);
}

Timer::~Timer() = default;

void Timer::Mode(int mode) {
    mode_ = mode;
    if (mode == 1 || mode == 2) clock_->Start(period_, mode == 2);
    else clock_->Stop();
}

void Timer::Period(int milliseconds) {
    period_ = milliseconds;
    clock_->SetPeriod(milliseconds);
}

void Timer::Fire() {
    // A single shot is spent once it fires.
    if (mode_ == 1) {
        mode_ = 0;
        clock_->Stop();
    }
    Action.Raise(*this);
}

}  // namespace fw

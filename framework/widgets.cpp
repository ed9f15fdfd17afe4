#include "framework/widgets_p.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextEdit>
#include <QWheelEvent>

#include <limits>

#include "framework/media.h"
#include "framework/media_p.h"
#include "framework/menus.h"
#include "framework/window.h"

namespace fw {

// ---- WindowFrame -----------------------------------------------------------

WindowFrame::WindowFrame(Window& owner) : owner_(owner), content_(new QWidget(this)) {
    setCentralWidget(content_);
    // Layouts are placed in fixed pixels, so their default text has a fixed
    // pixel size too, whatever size the desktop prefers for its own text.
    QFont font = content_->font();
    font.setPixelSize(kDefaultTextPixels);
    content_->setFont(font);
    // The content holds the focus while no control does, so keys reach the
    // window (Return for the default button); Tab passes it by.
    content_->setFocusPolicy(Qt::ClickFocus);
}

void WindowFrame::ApplyContentSize(int width, int height) {
    contentWidth_ = width;
    contentHeight_ = height;
    content_->setFixedSize(width, height);
    const int menuHeight = menuWidget() ? menuWidget()->sizeHint().height() : 0;
    if (!owner_.Settings().resizeable) setFixedSize(width, height + menuHeight);
}

void WindowFrame::closeEvent(QCloseEvent* event) {
    // No close box, but a window manager, Alt+F4 or a logout may still ask:
    // that ends the program exactly as Quit does.
    event->accept();
    Quit();
}

void WindowFrame::keyPressEvent(QKeyEvent* event) {
    // Return and Enter press the window's default button, as on a dialog.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        for (Control* c : owner_.Controls()) {
            auto* button = dynamic_cast<PushButton*>(c);
            if (button && button->Default() && button->Shown() && button->Enabled()) {
                static_cast<QPushButton*>(button->NativeWidget())->animateClick();
                return;
            }
        }
    }
    QMainWindow::keyPressEvent(event);
}

void WindowFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Shortcuts such as Ctrl+Q must work as soon as the window appears.
    activateWindow();
    raise();
    content_->setFocus(Qt::ActiveWindowFocusReason);
}

namespace {

// The standard editing items act on whatever text field has the focus; this
// window has none, so they stay disabled.
struct EditCommand {
    const char* name;
    const char* slot;
};
constexpr EditCommand kEditCommands[] = {
    {"EditUndo", "undo"},   {"EditCut", "cut"},     {"EditCopy", "copy"},
    {"EditPaste", "paste"}, {"EditClear", "clear"}, {"EditSelectAll", "selectAll"},
};

const char* EditSlot(const std::string& name) {
    for (const auto& c : kEditCommands)
        if (name == c.name) return c.slot;
    return nullptr;
}

bool IsTextField(QWidget* w) {
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w);
}

void AddItems(QMenu* menu, const MenuItem& parent) {
    for (int i = 0; i < parent.Count(); ++i) {
        const MenuItem& item = *parent.Item(i);
        if (item.IsSeparator()) {
            menu->addSeparator();
            continue;
        }
        if (item.Count() > 0) {
            // An item with items of its own is a submenu, not a command beside one.
            QMenu* submenu = menu->addMenu(QString::fromStdString(item.Text()));
            submenu->setObjectName(QString::fromStdString(item.Name()));
            AddItems(submenu, item);
            continue;
        }
        QAction* action = menu->addAction(QString::fromStdString(item.Text()));
        action->setObjectName(QString::fromStdString(item.Name()));
        if (item.KeyboardShortcut() && !item.KeyboardShortcut()->empty())
            action->setShortcut(QKeySequence(QString::fromStdString(NativeShortcut(*item.KeyboardShortcut()))));
        if (item.IsQuitItem()) {
            action->setMenuRole(QAction::QuitRole);
            QObject::connect(action, &QAction::triggered, action, [] { Quit(); });
        } else if (const char* slot = EditSlot(item.Name())) {
            action->setEnabled(false);
            QObject::connect(menu, &QMenu::aboutToShow, action, [action] {
                action->setEnabled(IsTextField(QApplication::focusWidget()));
            });
            QObject::connect(action, &QAction::triggered, action, [slot] {
                QWidget* w = QApplication::focusWidget();
                if (IsTextField(w)) QMetaObject::invokeMethod(w, slot);
            });
        }
    }
}

}  // namespace

void WindowFrame::InstallMenuBar(const MenuBar& bar) {
    auto* native = new QMenuBar(this);
    // Menus stay in the window even where the desktop offers a global menu bar.
    native->setNativeMenuBar(false);
    for (int i = 0; i < bar.Count(); ++i) {
        const MenuItem& menu = *bar.Item(i);
        QMenu* qmenu = native->addMenu(QString::fromStdString(menu.Text()));
        qmenu->setObjectName(QString::fromStdString(menu.Name()));
        AddItems(qmenu, menu);
    }
    setMenuBar(native);
}

// ---- Wheel -----------------------------------------------------------------

WheelAmounts WheelAmountsOf(const QWheelEvent& event) {
    QPoint d = event.angleDelta();
    // Touchpads may report only pixels.
    if (d.isNull()) d = event.pixelDelta();
    // The most negative amount has no opposite; it turns into the largest one.
    const auto turned = [](int v) {
        return v == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : -v;
    };
    return WheelAmounts{turned(d.x()), turned(d.y())};
}

// ---- ImageWellWidget -------------------------------------------------------

ImageWellWidget::ImageWellWidget(ImageWell& control, QWidget* parent) : QWidget(parent), control_(control) {}

void ImageWellWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const auto& picture = control_.Image();
    if (!picture) {
        // An empty well still shows where it is: a sunken frame, drawn by the
        // style as it draws a QFrame, so it matches the desktop's look.
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.frameShape = QFrame::StyledPanel;
        frame.state |= QStyle::State_Sunken;
        frame.lineWidth = 1;
        frame.midLineWidth = 0;
        style()->drawControl(QStyle::CE_ShapedFrame, &frame, &painter, this);
        return;
    }
    const QPixmap& pixmap = picture->Native().Pixmap();
    painter.drawPixmap((width() - pixmap.width()) / 2, (height() - pixmap.height()) / 2, pixmap);
}

void ImageWellWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint p = event->position().toPoint();
    control_.MouseDown.Raise(control_, p.x(), p.y());
}

void ImageWellWidget::enterEvent(QEnterEvent* event) {
    // Qt still reports entering and leaving a disabled widget.
    if (isEnabled()) control_.MouseEnter.Raise(control_);
    QWidget::enterEvent(event);
}

void ImageWellWidget::leaveEvent(QEvent* event) {
    if (isEnabled()) control_.MouseExit.Raise(control_);
    QWidget::leaveEvent(event);
}

void ImageWellWidget::wheelEvent(QWheelEvent* event) {
    const WheelAmounts amounts = WheelAmountsOf(*event);
    const QPoint p = event->position().toPoint();
    control_.MouseWheel.Raise(control_, p.x(), p.y(), amounts.deltaX, amounts.deltaY);
    event->accept();
}

// ---- LabelWidget -----------------------------------------------------------

LabelWidget::LabelWidget(Label& control, QWidget* parent) : QLabel(parent), control_(control) {}

void LabelWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    const QPoint p = event->position().toPoint();
    control_.MouseDown.Raise(control_, p.x(), p.y());
}

// ---- ButtonWidget ----------------------------------------------------------

ButtonWidget::ButtonWidget(PushButton& control, QWidget* parent) : QPushButton(parent), control_(control) {}

void ButtonWidget::leaveEvent(QEvent* event) {
    if (isEnabled()) control_.MouseExit.Raise(control_);
    QPushButton::leaveEvent(event);
}

}  // namespace fw

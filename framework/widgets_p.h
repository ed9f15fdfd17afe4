#pragma once
// The Qt widgets behind the framework's windows and controls. Private to the
// framework; tests may include it to reach a widget's real Qt behaviour.

#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QWidget>

#include "framework/controls.h"

namespace fw {

class Window;

// The framework's default text size, in pixels.
inline constexpr int kDefaultTextPixels = 12;

// The top-level window: native menu bar on top, fixed-size content below.
class WindowFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit WindowFrame(Window& owner);
    QWidget* Content() const { return content_; }
    void ApplyContentSize(int width, int height);
    void InstallMenuBar(const class MenuBar& bar);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Window& owner_;
    QWidget* content_;
    int contentWidth_ = 0;
    int contentHeight_ = 0;
};

// Shows a Picture centred, clipped to the well; an empty sunken frame for a
// nil picture.
class ImageWellWidget : public QWidget {
    Q_OBJECT
public:
    ImageWellWidget(ImageWell& control, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    ImageWell& control_;
};

class LabelWidget : public QLabel {
    Q_OBJECT
public:
    LabelWidget(Label& control, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    Label& control_;
};

class ButtonWidget : public QPushButton {
    Q_OBJECT
public:
    ButtonWidget(PushButton& control, QWidget* parent);

protected:
    void leaveEvent(QEvent* event) override;

private:
    PushButton& control_;
};

// The wheel amounts a control reports: above 0 is down (Y) or right (X). Qt
// reports a turn up or to the left as positive, so both signs are turned.
struct WheelAmounts {
    int deltaX;
    int deltaY;
};
WheelAmounts WheelAmountsOf(const QWheelEvent& event);

}  // namespace fw

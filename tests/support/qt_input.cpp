#include "tests/support/qt_input.h"

#include <QApplication>
#include <QEnterEvent>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

namespace corvessan_test {

namespace {
QPointF Centre(const QWidget* widget) { return QPointF(widget->width() / 2.0, widget->height() / 2.0); }
}  // namespace

void Wheel(QWidget* widget, int angleX, int angleY, QPoint pixels) {
    const QPointF pos = Centre(widget);
    QWheelEvent event(pos, widget->mapToGlobal(pos), pixels, QPoint(angleX, angleY), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

void Enter(QWidget* widget) {
    const QPointF pos = Centre(widget);
    QEnterEvent event(pos, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &event);
}

void Leave(QWidget* widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

std::vector<QWidget*> TabStops(QWidget* window, QWidget* from, int count) {
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) return {};
    from->setFocus(Qt::ActiveWindowFocusReason);
    // A start that cannot hold the focus walks nowhere.
    if (QApplication::focusWidget() != from) return {};
    std::vector<QWidget*> stops;
    for (int i = 0; i < count; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        stops.push_back(QApplication::focusWidget());
    }
    return stops;
}

}  // namespace corvessan_test

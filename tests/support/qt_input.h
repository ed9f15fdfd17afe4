#pragma once
// Real Qt input for tests: the events a player's mouse and keyboard make,
// sent to the real widgets.

#include <QPoint>

#include <vector>

class QWidget;

namespace corvessan_test {

// A wheel turn over the widget's centre as Qt reports it: up and left are
// positive angle deltas; `pixels` is what a touchpad may report instead.
void Wheel(QWidget* widget, int angleX, int angleY, QPoint pixels = {});
// The pointer entering and leaving the widget.
void Enter(QWidget* widget);
void Leave(QWidget* widget);

// Makes `window` the active window, puts the focus on `from`, presses Tab
// `count` times and returns where the focus went after each press; nothing
// when the window cannot be activated or `from` cannot take the focus.
std::vector<QWidget*> TabStops(QWidget* window, QWidget* from, int count);

}  // namespace corvessan_test

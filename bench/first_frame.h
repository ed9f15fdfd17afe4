#pragma once
// Shared by the game probe and the reference window: notices the first paint
// of a top-level window's widgets and reports once that whole frame is done.

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <utility>

#include "bench/monotonic.h"

namespace bench {

// The filter sees a paint before it is delivered. Qt paints the rest of the
// window and flushes it to the display in the same turn of the event loop, so
// a zero timer posted here runs only once the whole frame is on screen.
class FirstFrameFilter : public QObject {
public:
    explicit FirstFrameFilter(std::function<void()> onFrame) : onFrame_(std::move(onFrame)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint && watched->isWidgetType()) {
            QWidget* top = static_cast<QWidget*>(watched)->window();
            if (top && top->isVisible()) {
                seen_ = true;
                QTimer::singleShot(0, qApp, [this] {
                    // Nothing more to look for: the filter leaves the event path.
                    qApp->removeEventFilter(this);
                    onFrame_();
                });
            }
        }
        return false;
    }

private:
    std::function<void()> onFrame_;
    bool seen_ = false;
};

// The line the driver looks for on standard output.
inline void PrintFirstFrame(std::int64_t ns) {
    std::printf("first-frame-ns %lld\n", static_cast<long long>(ns));
    std::fflush(stdout);
}

}  // namespace bench

#pragma once
// A control event: at most one handler, bound once by the window that owns the
// control. The handler receives the control first, then the event's arguments.

#include <functional>
#include <utility>

#include "framework/runtime.h"

namespace fw {

template <class Signature>
class Event;

template <class R, class... Args>
class Event<R(Args...)> {
public:
    using Handler = std::function<R(Args...)>;

    void Bind(Handler handler) { handler_ = std::move(handler); }
    bool IsBound() const { return static_cast<bool>(handler_); }

    // Runs the handler as the event loop does: an exception it lets escape goes
    // to the unhandled-exception routine, and the result is then the default.
    R Raise(Args... args) const {
        R result{};
        if (handler_) Dispatch([&] { result = handler_(args...); });
        return result;
    }

private:
    Handler handler_;
};

template <class... Args>
class Event<void(Args...)> {
public:
    using Handler = std::function<void(Args...)>;

    void Bind(Handler handler) { handler_ = std::move(handler); }
    bool IsBound() const { return static_cast<bool>(handler_); }

    void Raise(Args... args) const {
        if (handler_) Dispatch([&] { handler_(args...); });
    }

private:
    Handler handler_;
};

// Binds a method of `owner` to `event`: BindMethod(ctl.Action, this, &W::Button_Action).
template <class R, class... Args, class W>
void BindMethod(Event<R(Args...)>& event, W* owner, R (W::*method)(Args...)) {
    event.Bind([owner, method](Args... args) -> R { return (owner->*method)(args...); });
}

}  // namespace fw

#pragma once
// How the message loop runs an event handler on every platform.

#include "platform/Ui.h"

namespace platform::shared {

// A copy of the handler runs (it may replace or clear itself), through the general error
// handler; an unset handler does nothing.
template <class Handler, class... Args>
void Fire(Ui& ui, const Handler& handler, Args&&... args) {
    if (!handler) return;
    Handler copy = handler;
    ui.RunHandler([&] { copy(args...); });
}

}  // namespace platform::shared

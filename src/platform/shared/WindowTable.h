#pragma once
// The windowing services' list of live windows with the main one among them: the checks a new
// window passes, and the bookkeeping as windows come and go. The services own no window; each
// window tells them of its end.
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Widgets.h"

namespace platform::shared {

template <class WindowT>
class WindowTable {
public:
    // Throws std::logic_error for an empty or taken name, or a second main window.
    void CheckNew(const WindowSpec& desc) const {
        if (desc.name.empty()) throw std::logic_error("a window needs a name");
        if (Named(desc.name)) throw std::logic_error("two windows named " + desc.name);
        if (desc.mainWindow && main_) throw std::logic_error("a second main window");
    }
    void Adopt(WindowT& window) {
        windows_.push_back(&window);
        if (window.IsMain()) main_ = &window;
    }
    void Forget(const WindowT& window) {
        windows_.erase(std::remove(windows_.begin(), windows_.end(), &window), windows_.end());
        if (main_ == &window) main_ = nullptr;
    }

    WindowT* Main() const { return main_; }
    WindowT* Named(const std::string& name) const {
        for (WindowT* window : windows_)
            if (window->Name() == name) return window;
        return nullptr;
    }
    // In the order they were made.
    const std::vector<WindowT*>& All() const { return windows_; }

private:
    std::vector<WindowT*> windows_;
    WindowT* main_ = nullptr;
};

}  // namespace platform::shared

#include "platform/shared/WindowBase.h"

#include <algorithm>
#include <stdexcept>

namespace platform::shared {

void WindowBase::Close() {
    CloseRequest request;
    if (OnClose) {
        auto handler = OnClose;
        handler(request);
    }
    if (!request.allow) return;
    Hide();
    if (!IsMain()) return;
    if (Ui* ui = Services()) ui->Terminate();
}

void WindowBase::CheckNewControl(const ControlSpec& desc) const {
    if (desc.name.empty()) throw std::logic_error("a control needs a name");
    if (FindControl(desc.name)) throw std::logic_error("two controls named " + desc.name);
    if (!desc.parent) return;
    const Control* parent = desc.parent;
    const bool ours = std::any_of(controls_.begin(), controls_.end(),
                                  [parent](const auto& c) { return c.get() == parent; });
    if (!ours)
        throw std::logic_error("the group box of " + desc.name + " is not in " + spec_.name);
}

Timer& WindowBase::AddTimer(const std::string& name) {
    if (name.empty() || FindTimer(name)) throw std::logic_error("bad timer name " + name);
    timers_.reserve(timers_.size() + 1);
    timers_.push_back(NewTimer(name));
    return *timers_.back();
}

Control* WindowBase::FindControl(const std::string& name) const {
    for (const auto& control : controls_)
        if (control->Name() == name) return control.get();
    return nullptr;
}

Timer* WindowBase::FindTimer(const std::string& name) const {
    for (const auto& timer : timers_)
        if (timer->Name() == name) return timer.get();
    return nullptr;
}

}  // namespace platform::shared

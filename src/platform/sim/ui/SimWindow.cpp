// A simulated window: geometry, visibility, its controls and timers, its messages.
#include <stdexcept>

#include "platform/sim/ui/SimUiImpl.h"

namespace platform::sim {

namespace {

struct FrameSize {
    int horizontal;  // left + right
    int vertical;    // top (caption included) + bottom
};

FrameSize FrameOf(WindowFrame frame) {
    switch (frame) {
        case WindowFrame::Sizeable: return {8, 27};
        case WindowFrame::SizeableToolWindow: return {8, 23};
        case WindowFrame::FixedToolWindow: return {6, 21};
    }
    return {0, 0};
}

}  // namespace

int SimListView::HitTest(int x, int y) const {
    const Rect b = Bounds();
    if (x < 0 || x >= b.width || y < kSimListHeaderHeight || y >= b.height) return -1;
    const int row = (y - kSimListHeaderHeight) / kSimListRowHeight;
    return row < RowCount() ? row : -1;
}

SimTimer::~SimTimer() {
    if (ui_) ui_->Forget(*this);
}

void SimTimer::Restart() {
    if (ui_) nextDue_ = ui_->Now() + interval_;
}

void SimTimer::SetInterval(std::uint32_t milliseconds) {
    if (milliseconds == interval_) return;
    interval_ = milliseconds;
    Restart();
}

void SimTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Restart();
}

SimWindow::SimWindow(SimUiImpl& ui, const WindowSpec& desc)
    : ui_(&ui), spec_(desc), caption_(desc.caption) {
    const FrameSize frame = FrameOf(desc.frame);
    if (desc.clientWidth > 0) {
        width_ = desc.clientWidth + frame.horizontal;
        height_ = desc.clientHeight + frame.vertical;
    } else {
        width_ = desc.outerWidth;
        height_ = desc.outerHeight;
    }
}

SimWindow::~SimWindow() {
    // Timers go first: they unregister from the services while the window still exists.
    timers_.clear();
    if (ui_) ui_->Forget(*this);
}

void SimWindow::Show() {
    if (visible_) {
        BringToFront();
        return;
    }
    visible_ = true;
    const bool first = !shownBefore_;
    shownBefore_ = true;
    if (first && spec_.centred) {
        position_ = Point{(kSimScreenWidth - width_) / 2, (kSimScreenHeight - height_) / 2};
    }
    if (!ui_) return;
    ui_->SetForeground(this);
    Fire(*ui_, OnShow);
    // The first show delivers the window's first size message.
    if (first) Fire(*ui_, OnResize);
}

void SimWindow::Close() {
    CloseRequest request;
    if (OnClose) {
        auto handler = OnClose;
        handler(request);
    }
    if (!request.allow) return;
    Hide();
    if (spec_.mainWindow && ui_) ui_->Terminate();
}

void SimWindow::BringToFront() {
    if (ui_) ui_->SetForeground(this);
}

int SimWindow::ClientWidth() const { return width_ - FrameOf(spec_.frame).horizontal; }
int SimWindow::ClientHeight() const { return height_ - FrameOf(spec_.frame).vertical; }

void SimWindow::Resize(int width, int height) {
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    if (ui_) Fire(*ui_, OnResize);
}

void SimWindow::SetMaximised(bool maximised) {
    if (maximised == maximised_) return;
    maximised_ = maximised;
    if (maximised) {
        restoredWidth_ = width_;
        restoredHeight_ = height_;
        position_ = Point{0, 0};
        Resize(kSimScreenWidth, kSimScreenHeight);
    } else {
        Resize(restoredWidth_, restoredHeight_);
    }
}

template <class T, class SpecT>
T& SimWindow::Adopt(const SpecT& desc) {
    if (desc.name.empty()) throw std::logic_error("a control needs a name");
    if (FindControl(desc.name)) throw std::logic_error("two controls named " + desc.name);
    auto control = std::make_unique<T>(desc);
    T& ref = *control;
    controls_.push_back(std::move(control));
    return ref;
}

Label& SimWindow::AddLabel(const ControlSpec& desc) { return Adopt<SimLabel>(desc); }
Button& SimWindow::AddButton(const ButtonSpec& desc) { return Adopt<SimButton>(desc); }
CheckBox& SimWindow::AddCheckBox(const ControlSpec& desc) { return Adopt<SimCheckBox>(desc); }
GroupBox& SimWindow::AddGroupBox(const ControlSpec& desc) { return Adopt<SimGroupBox>(desc); }
Edit& SimWindow::AddEdit(const ControlSpec& desc) { return Adopt<SimEdit>(desc); }
UpDown& SimWindow::AddUpDown(const UpDownSpec& desc) { return Adopt<SimUpDown>(desc); }
ListBox& SimWindow::AddListBox(const ListBoxSpec& desc) { return Adopt<SimListBox>(desc); }
ListView& SimWindow::AddListView(const ListViewSpec& desc) { return Adopt<SimListView>(desc); }
Bevel& SimWindow::AddBevel(const ControlSpec& desc) { return Adopt<SimBevel>(desc); }

Timer& SimWindow::AddTimer(const std::string& name) {
    if (name.empty() || FindTimer(name)) throw std::logic_error("bad timer name " + name);
    if (!ui_) throw std::logic_error("the windowing services are gone");
    auto timer = std::make_unique<SimTimer>(*ui_, name);
    SimTimer& ref = *timer;
    ui_->AddTimer(ref);
    timers_.push_back(std::move(timer));
    return ref;
}

Control* SimWindow::FindControl(const std::string& name) const {
    for (const auto& c : controls_)
        if (c->Name() == name) return c.get();
    return nullptr;
}

Timer* SimWindow::FindTimer(const std::string& name) const {
    for (const auto& t : timers_)
        if (t->Name() == name) return t.get();
    return nullptr;
}

void SimWindow::Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (ui_) ui_->Enqueue(*this, message, wParam, lParam);
}

void SimWindow::Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (ui_) ui_->Deliver(*this, message, wParam, lParam);
}

}  // namespace platform::sim

// A simulated window: geometry, visibility, its controls and timers, its messages.
#include <cctype>
#include <stdexcept>

#include "platform/shared/CutCellTip.h"
#include "platform/sim/ui/SimUiImpl.h"

namespace platform::sim {

namespace {

struct FrameSize {
    int horizontal;  // left + right
    int vertical;    // top (caption included) + bottom
    int left;
    int top;
};

FrameSize FrameOf(WindowFrame frame) {
    switch (frame) {
        case WindowFrame::Sizeable: return {8, 27, 4, 23};
        case WindowFrame::SizeableToolWindow: return {8, 23, 4, 19};
        case WindowFrame::FixedToolWindow: return {6, 21, 3, 18};
    }
    return {0, 0, 0, 0};
}

template <class T>
bool ReachableAs(const Control& control, bool& reachable) {
    const auto* kind = dynamic_cast<const T*>(&control);
    if (kind) reachable = kind->Reachable();
    return kind != nullptr;
}

// As the Windows build's controls: the ones made with WS_TABSTOP take the focus, while they
// are enabled and shown; flat tool buttons never do.
bool CanTakeFocus(const Control& control) {
    bool reachable = false;
    if (const auto* button = dynamic_cast<const SimButton*>(&control))
        return !button->Flat() && button->Reachable();
    if (ReachableAs<SimCheckBox>(control, reachable) || ReachableAs<SimEdit>(control, reachable) ||
        ReachableAs<SimUpDown>(control, reachable) || ReachableAs<SimListBox>(control, reachable) ||
        ReachableAs<SimListView>(control, reachable))
        return reachable;
    return false;
}

// The letter a caption marks with "&" as its access key ("&&" is a plain "&"), upper case;
// 0 when none.
char AccessKeyOf(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&')
            return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
        ++i;
    }
    return 0;
}

}  // namespace

void SimListView::DeleteRow(int row) {
    if (!rows_.InRange(row)) return;
    rows_.Delete(row);
    selected_.erase(selected_.begin() + row);
    focused_ = shared::SelectionAfterRemoval(focused_, row);
}

int SimListView::SelectedRow() const {
    if (RowSelected(focused_)) return focused_;
    for (int row = 0; row < RowCount(); ++row)
        if (RowSelected(row)) return row;
    return -1;
}

void SimListView::SetSelectedRow(int row) {
    std::fill(selected_.begin(), selected_.end(), false);
    if (!rows_.InRange(row)) return;
    selected_[static_cast<std::size_t>(row)] = true;
    focused_ = row;
}

std::vector<int> SimListView::SelectedRows() const {
    std::vector<int> rows;
    for (int row = 0; row < RowCount(); ++row)
        if (RowSelected(row)) rows.push_back(row);
    return rows;
}

void SimListView::SelectAll() {
    if (multiSelect_) std::fill(selected_.begin(), selected_.end(), true);
}

void SimListView::ToggleRow(int row) {
    if (!rows_.InRange(row)) return;
    if (!multiSelect_) {
        SetSelectedRow(row);
        return;
    }
    const auto index = static_cast<std::size_t>(row);
    selected_[index] = !selected_[index];
    focused_ = row;
}

int SimListView::HitTest(int x, int y) const {
    const Rect b = Bounds();
    if (x < 0 || x >= b.width || y < kSimListHeaderHeight || y >= b.height) return -1;
    const int row = (y - kSimListHeaderHeight) / kSimListRowHeight;
    return row < RowCount() ? row : -1;
}

int SimLabel::TextWidth() const { return static_cast<int>(Text().size()) * kSimCharWidth; }

std::string SimListView::InfoTip(int row) const {
    if (!infoTips_ || !rows_.InRange(row)) return {};
    std::vector<int> widths;
    for (const ListColumn& column : columns_) widths.push_back(column.width);
    const auto textWidth = [](const std::string& text) {
        return static_cast<int>(text.size()) * kSimCharWidth;
    };
    return shared::CutCellTip(rows_, row, widths, textWidth,
                              OnGetInfoTip ? OnGetInfoTip(row) : std::string());
}

Point SimListView::RowScreenPoint(int row) const {
    Point at = window_.ClientOrigin();
    if (const GroupBox* group = Parent()) {
        at.x += group->Left();
        at.y += group->Top();
    }
    at.x += Left();
    at.y += Top();
    if (row < 0 || row >= RowCount()) return at;
    const Point inRow = SimUi::RowPoint(row);
    return Point{at.x, at.y + inRow.y};
}

SimTimer::~SimTimer() {
    if (ui_) ui_->Forget(*this);
}

void SimTimer::Restart() {
    if (ui_) nextDue_ = ui_->Now() + Interval();
}

SimWindow::SimWindow(SimUiImpl& ui, const WindowSpec& desc)
    : WindowBase(desc), ui_(&ui), caption_(desc.caption) {
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
    DropTimers();
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
    if (first && Description().centred) {
        position_ = Point{(kSimScreenWidth - width_) / 2, (kSimScreenHeight - height_) / 2};
    }
    if (!ui_) return;
    ui_->SetForeground(this);
    Fire(*ui_, OnShow);
    // The first show delivers the window's first size message.
    if (first) Fire(*ui_, OnResize);
}

void SimWindow::BringToFront() {
    if (ui_) ui_->SetForeground(this);
}

int SimWindow::ClientWidth() const { return width_ - FrameOf(Description().frame).horizontal; }
int SimWindow::ClientHeight() const { return height_ - FrameOf(Description().frame).vertical; }

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

Ui* SimWindow::Services() const { return ui_; }

Point SimWindow::ClientOrigin() const {
    if (maximised_) return Point{0, 0};
    const FrameSize frame = FrameOf(Description().frame);
    return Point{position_.x + frame.left, position_.y + frame.top};
}

void SimWindow::FocusControl(Control& control) {
    if (FindControl(control.Name()) == &control && CanTakeFocus(control)) focused_ = &control;
}

Control* SimWindow::AccessKeyTarget(char letter) const {
    for (const auto& control : Controls()) {
        const auto* button = dynamic_cast<const SimButton*>(control.get());
        const auto* box = dynamic_cast<const SimCheckBox*>(control.get());
        const bool reachable = (button && button->Reachable()) || (box && box->Reachable());
        if (reachable && AccessKeyOf(control->Text()) == letter) return control.get();
    }
    return nullptr;
}

std::vector<Control*> SimWindow::TabStops() const {
    std::vector<Control*> stops;
    for (const auto& control : Controls()) {
        if (CanTakeFocus(*control)) stops.push_back(control.get());
    }
    return stops;
}

std::unique_ptr<Timer> SimWindow::NewTimer(const std::string& name) {
    if (!ui_) throw std::logic_error("the windowing services are gone");
    auto timer = std::make_unique<SimTimer>(*ui_, name);
    ui_->AddTimer(*timer);
    return timer;
}

void SimWindow::Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (ui_) ui_->Enqueue(*this, message, wParam, lParam);
}

void SimWindow::Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (ui_) ui_->Deliver(*this, message, wParam, lParam);
}

}  // namespace platform::sim

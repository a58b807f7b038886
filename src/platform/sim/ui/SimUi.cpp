// The simulated windowing services: application state, message queue, clock, modal answers,
// and the user's actions.
#include <algorithm>
#include <cctype>

#include "platform/sim/system/SimServices.h"
#include "platform/shared/ProgramTitle.h"
#include "platform/sim/ui/SimUiImpl.h"

namespace platform::sim {

SimUiImpl::~SimUiImpl() {
    for (SimWindow* w : windows_.All()) w->Detach();
    for (SimTimer* t : timers_) t->Detach();
}

std::unique_ptr<Window> SimUiImpl::NewWindow(const WindowSpec& desc) {
    windows_.CheckNew(desc);
    auto window = std::make_unique<SimWindow>(*this, desc);
    windows_.Adopt(*window);
    return window;
}

void SimUiImpl::Forget(SimWindow& window) {
    windows_.Forget(window);
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                                [&](const Posted& p) { return p.window == &window; }),
                 queue_.end());
    if (foreground_ == &window) foreground_ = nullptr;
}

void SimUiImpl::Forget(SimTimer& timer) {
    timers_.erase(std::remove(timers_.begin(), timers_.end(), &timer), timers_.end());
}

std::string SimUiImpl::ApplicationTitle() const {
    return title_ ? *title_ : shared::TitleOfProgram(system_.files().OwnPath());
}

void SimUiImpl::MinimiseApplication() {
    if (minimised_) return;
    minimised_ = true;
    if (OnApplicationMinimise) {
        auto handler = OnApplicationMinimise;
        handler();
    }
}

void SimUiImpl::RestoreApplication() {
    if (!minimised_) return;
    minimised_ = false;
    if (SimWindow* main = windows_.Main()) main->Show();
}

void SimUiImpl::BringApplicationToFront() {
    if (SimWindow* main = windows_.Main()) foreground_ = main;
}

void SimUiImpl::Run() {
    SimWindow* main = windows_.Main();
    if (main && !main->Visible()) main->Show();
    while (!terminated_ && !queue_.empty()) {
        Posted p = queue_.front();
        queue_.pop_front();
        Deliver(*p.window, p.message, p.wParam, p.lParam);
    }
}

void SimUiImpl::ProcessMessages() {
    while (!queue_.empty()) {
        Posted p = queue_.front();
        queue_.pop_front();
        Deliver(*p.window, p.message, p.wParam, p.lParam);
    }
}

std::uint32_t SimUiImpl::RegisterMessage(const std::string& name) {
    std::string key = name;
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto found = registered_.find(key);
    if (found != registered_.end()) return found->second;
    const auto id = static_cast<std::uint32_t>(0xC000 + registered_.size());
    registered_.emplace(key, id);
    return id;
}

std::string SimUiImpl::OwnerName(Window* owner) const {
    if (owner) return owner->Name();
    const SimWindow* main = windows_.Main();
    return main ? main->Name() : std::string();
}

void SimUiImpl::ShowMessageBox(Window* owner, const std::string& text, const std::string& title,
                               MessageIcon icon) {
    boxes_.push_back(MessageBoxRecord{OwnerName(owner), text, title, icon});
    if (WhileMessageBoxOpen) {
        auto hook = WhileMessageBoxOpen;
        hook(MessageBoxRecord{OwnerName(owner), text, title, icon});
    }
}

bool SimUiImpl::CopyToClipboard(Window* owner, const std::string& text) {
    (void)owner;
    if (clipboardHeld_) return false;
    // CF_TEXT ends at its first NUL.
    clipboard_ = text.substr(0, text.find('\0'));
    return true;
}

std::optional<std::string> SimUiImpl::ChooseOpenFile(const OpenFileRequest& request) {
    std::optional<std::string> answer;
    if (!openFileAnswers_.empty()) {
        answer = openFileAnswers_.front();
        openFileAnswers_.pop_front();
    }
    openFiles_.push_back(OpenFileRecord{OwnerName(request.owner), request.filters, request.title,
                                        answer});
    return answer;
}

namespace {

// The extension a filter's pattern gives ("*.csv": ".csv"); empty for none.
std::string ExtensionOf(const std::vector<FileFilter>& filters, std::size_t filter) {
    if (filter >= filters.size()) return {};
    const std::string& pattern = filters[filter].pattern;
    const std::size_t dot = pattern.rfind('.');
    if (dot == std::string::npos || pattern.find_first_of("*?", dot) != std::string::npos)
        return {};
    return pattern.substr(dot);
}

bool HasExtension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    return dot != std::string::npos && path.find('\\', dot) == std::string::npos;
}

}  // namespace

std::optional<SaveFileChoice> SimUiImpl::ChooseSaveFile(const SaveFileRequest& request) {
    std::optional<SaveFileChoice> answer;
    if (!saveFileAnswers_.empty()) {
        answer = saveFileAnswers_.front();
        saveFileAnswers_.pop_front();
    }
    if (answer && !HasExtension(answer->path))
        answer->path += ExtensionOf(request.filters, answer->filter);
    saveFiles_.push_back(SaveFileRecord{OwnerName(request.owner), request.filters, request.title,
                                        answer});
    return answer;
}

void SimUiImpl::QueueSaveFileResult(std::optional<SaveFileChoice> choice) {
    saveFileAnswers_.push_back(std::move(choice));
}

std::uint32_t SimUiImpl::RunPopupMenu(Window& owner, const std::vector<MenuEntry>& entries,
                                      Point screen) {
    MenuAnswer answer{0, {}};
    if (!menuAnswers_.empty()) {
        answer = std::move(menuAnswers_.front());
        menuAnswers_.pop_front();
    }
    const std::size_t record = menus_.size();
    menus_.push_back(MenuRecord{owner.Name(), entries, screen, 0});
    if (answer.whileOpen) answer.whileOpen();
    std::uint32_t chosen = 0;
    for (const MenuEntry& e : entries) {
        if (!e.separator && e.enabled && e.id != 0 && e.id == answer.id) chosen = e.id;
    }
    menus_[record].result = chosen;
    return chosen;
}

std::vector<Window*> SimUiImpl::Windows() const {
    return std::vector<Window*>(windows_.All().begin(), windows_.All().end());
}

Window* SimUiImpl::WindowNamed(const std::string& name) const {
    return windows_.Named(name);
}

namespace {

template <class T>
bool Reachable(const T& control) {
    return control.Reachable();
}

}  // namespace

void SimUiImpl::Click(Control& control) {
    if (auto* button = dynamic_cast<SimButton*>(&control)) {
        if (Reachable(*button)) Fire(*this, button->OnClick);
    } else if (auto* box = dynamic_cast<SimCheckBox*>(&control)) {
        // The toggle itself runs OnClick; a user's click is a message, hence the handler.
        if (Reachable(*box)) RunHandler([&] { box->SetChecked(!box->Checked()); });
    } else if (auto* label = dynamic_cast<SimLabel*>(&control)) {
        if (Reachable(*label)) Fire(*this, label->OnClick);
    } else {
        throw std::logic_error("cannot click " + control.Name());
    }
}

void SimUiImpl::TypeChar(Edit& edit, char key) {
    auto& box = dynamic_cast<SimEdit&>(edit);
    if (!box.Reachable()) return;
    bool filtered = false;
    if (box.OnKeyPress) {
        auto handler = box.OnKeyPress;
        RunHandler([&] {
            handler(key);
            filtered = true;
        });
        // A handler that fails drops the character.
        if (!filtered) return;
    }
    std::string text = box.Text();
    if (key == 0) return;
    if (key == 8) {
        if (!text.empty()) text.pop_back();
    } else if (key == 22) {
        text += clipboard_;
    } else if (static_cast<unsigned char>(key) < 32) {
        return;
    } else {
        text += key;
    }
    box.SetText(text);
}

void SimUiImpl::PasteText(Edit& edit, const std::string& text) {
    auto& box = dynamic_cast<SimEdit&>(edit);
    if (box.Reachable()) box.SetText(box.Text() + text);
}

void SimUiImpl::ClickArrow(UpDown& upDown, bool up) {
    auto& arrows = dynamic_cast<SimUpDown&>(upDown);
    if (!arrows.Reachable()) return;
    const int from = arrows.Position();
    const int to = from + (up ? 1 : -1);
    const bool inRange = to >= arrows.Min() && to <= arrows.Max();
    const UpDownDirection direction =
        inRange ? (up ? UpDownDirection::Up : UpDownDirection::Down) : UpDownDirection::None;
    bool allow = true;
    if (arrows.OnChangingEx) {
        auto handler = arrows.OnChangingEx;
        RunHandler([&] { allow = handler(direction); });
    }
    if (allow && inRange) arrows.SetPosition(to);
}

void SimUiImpl::SelectItem(ListBox& list, int index) {
    auto& box = dynamic_cast<SimListBox&>(list);
    if (box.Reachable()) box.SetSelectedIndex(index);
}

namespace {

bool IsLetter(std::uint32_t key) { return key >= 'A' && key <= 'Z'; }

}  // namespace

void SimUiImpl::PressKey(Window& window, const KeyStroke& stroke) {
    auto& target = dynamic_cast<SimWindow&>(window);
    if (!target.Visible()) return;
    bool handled = false;
    if (target.OnKeyDown) {
        auto handler = target.OnKeyDown;
        RunHandler([&] { handled = handler(stroke); });
    }
    if (!handled) DefaultKeyAction(target, stroke);
}

void SimUiImpl::DefaultKeyAction(SimWindow& window, const KeyStroke& stroke) {
    if (IsKey(stroke, kKeyTab) || IsKey(stroke, kKeyTab, false, true)) {
        const std::vector<Control*> stops = window.TabStops();
        if (stops.empty()) return;
        const auto at = std::find(stops.begin(), stops.end(), window.FocusedControl());
        const auto count = static_cast<std::ptrdiff_t>(stops.size());
        std::ptrdiff_t next = 0;
        if (at != stops.end()) next = (at - stops.begin() + (stroke.shift ? count - 1 : 1)) % count;
        else if (stroke.shift) next = count - 1;
        window.FocusControl(*stops[static_cast<std::size_t>(next)]);
        return;
    }
    if (stroke.alt && !stroke.ctrl && IsLetter(stroke.key)) {
        if (Control* marked = window.AccessKeyTarget(static_cast<char>(stroke.key))) {
            Click(*marked);
            return;
        }
    }
    Control* focused = window.FocusedControl();
    if (!focused) return;
    keys_.push_back(KeyRecord{window.Name(), focused->Name(), stroke});
    if (auto* edit = dynamic_cast<SimEdit*>(focused)) {
        if (!IsLetter(stroke.key) || stroke.alt) return;
        char typed = static_cast<char>(stroke.key);
        if (stroke.ctrl) typed = static_cast<char>(stroke.key - 'A' + 1);
        else if (!stroke.shift) typed = static_cast<char>(std::tolower(typed));
        TypeChar(*edit, typed);
    } else if (auto* list = dynamic_cast<SimListView*>(focused)) {
        if (IsKey(stroke, kKeyApps) || IsKey(stroke, kKeyF10, false, true))
            Fire(*this, list->OnContextMenu, cursor_);
    }
}

void SimUiImpl::PressMouse(ListView& list, MouseButton button, int x, int y, bool ctrl) {
    auto& view = dynamic_cast<SimListView&>(list);
    if (!view.Reachable()) return;
    const int row = view.HitTest(x, y);
    if (button == MouseButton::Left && ctrl && row >= 0) {
        view.ToggleRow(row);
    } else if (button == MouseButton::Right && view.RowSelected(row)) {
        // A right press on a selected row keeps the selection for the menu; the focus moves.
        view.FocusRow(row);
    } else if (button != MouseButton::Middle) {
        view.SetSelectedRow(row);
    }
    Fire(*this, view.OnMouseDown, button, x, y);
    if (button == MouseButton::Right) Fire(*this, view.OnContextMenu, cursor_);
}

void SimUiImpl::ClickHeader(ListView& list, int column) {
    auto& view = dynamic_cast<SimListView&>(list);
    if (view.Reachable() && column >= 0 && column < view.ColumnCount())
        Fire(*this, view.OnColumnClick, column);
}

std::vector<Colour> SimUiImpl::DrawRows(ListView& list) {
    std::vector<Colour> colours;
    for (int row = 0; row < list.RowCount(); ++row) {
        Colour colour = kBlack;
        if (list.OnCustomDrawItem) {
            auto handler = list.OnCustomDrawItem;
            RunHandler([&] { colour = handler(row); });
        }
        colours.push_back(colour);
    }
    return colours;
}

void SimUiImpl::MoveMouse(Label& label, int x, int y) {
    auto& text = dynamic_cast<SimLabel&>(label);
    if (text.Visible()) Fire(*this, text.OnMouseMove, x, y);
}

void SimUiImpl::MoveMouseOverWindow(Window& window, int x, int y) {
    if (window.Visible()) Fire(*this, window.OnMouseMove, x, y);
}

void SimUiImpl::UserResize(Window& window, int outerWidth, int outerHeight) {
    dynamic_cast<SimWindow&>(window).Resize(outerWidth, outerHeight);
}

void SimUiImpl::UserClose(Window& window) {
    RunHandler([&] { window.Close(); });
}

void SimUiImpl::UserMinimise() {
    RunHandler([&] { MinimiseApplication(); });
}

SimTimer* SimUiImpl::NextDueTimer(std::uint64_t until) const {
    SimTimer* next = nullptr;
    for (SimTimer* t : timers_) {
        if (!t->Armed() || t->NextDue() > until) continue;
        if (!next || t->NextDue() < next->NextDue()) next = t;
    }
    return next;
}

void SimUiImpl::AdvanceTime(std::uint32_t milliseconds) {
    const std::uint64_t until = now_ + milliseconds;
    ProcessMessages();
    while (SimTimer* timer = NextDueTimer(until)) {
        now_ = std::max(now_, timer->NextDue());
        timer->Restart();  // before the tick: the handler may change or stop the timer
        Fire(*this, timer->OnTimer);
        ProcessMessages();
    }
    now_ = std::max(now_, until);
}

void SimUiImpl::QueueMenuChoice(std::uint32_t id, std::function<void()> whileOpen) {
    menuAnswers_.push_back(MenuAnswer{id, std::move(whileOpen)});
}

void SimUiImpl::QueueOpenFileResult(std::optional<std::string> path) {
    openFileAnswers_.push_back(std::move(path));
}

void SimUiImpl::ClearRecords() {
    menus_.clear();
    openFiles_.clear();
    saveFiles_.clear();
    boxes_.clear();
    keys_.clear();
}

void SimUiImpl::Enqueue(SimWindow& window, std::uint32_t message, std::uintptr_t wParam,
                        std::intptr_t lParam) {
    queue_.push_back(Posted{&window, message, wParam, lParam});
}

void SimUiImpl::Deliver(SimWindow& window, std::uint32_t message, std::uintptr_t wParam,
                        std::intptr_t lParam) {
    window.DeliverMessage([&](const MessageListener& listener) {
        Fire(*this, listener, message, wParam, lParam);
    });
}

void SimUiImpl::Broadcast(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    // A handler may create or destroy windows: walk a copy, skipping the ones gone meanwhile.
    const std::vector<SimWindow*> targets = windows_.All();
    const auto& live = windows_.All();
    for (SimWindow* w : targets) {
        if (std::find(live.begin(), live.end(), w) != live.end())
            Deliver(*w, message, wParam, lParam);
    }
}

std::unique_ptr<Ui> MakeSimUi(SimSystem& system) { return std::make_unique<SimUiImpl>(system); }

SimUi& GuiOf(SimSystem& system) { return static_cast<SimUi&>(system.ui()); }

}  // namespace platform::sim

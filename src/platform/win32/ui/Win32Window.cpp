#include "platform/win32/ui/Win32Window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "platform/win32/ui/controls/Win32Bevel.h"
#include "platform/win32/ui/controls/Win32Button.h"
#include "platform/win32/ui/controls/Win32CheckBox.h"
#include "platform/win32/ui/controls/Win32Edit.h"
#include "platform/win32/ui/controls/Win32FlatButton.h"
#include "platform/win32/ui/controls/Win32GroupBox.h"
#include "platform/win32/ui/controls/Win32Label.h"
#include "platform/win32/ui/controls/Win32ListBox.h"
#include "platform/win32/ui/controls/Win32ListView.h"
#include "platform/win32/ui/Win32Timer.h"
#include "platform/win32/ui/controls/Win32UpDown.h"
#include "platform/win32/ui/Dpi.h"

namespace platform::win32 {

namespace {

constexpr const char* kWindowClass = "ZorvikWindow";
constexpr const char* kIconName = "MAINICON";

struct FrameStyle {
    DWORD style;
    DWORD exStyle;
};

FrameStyle StyleOf(const WindowSpec& desc) {
    FrameStyle frame{};
    switch (desc.frame) {
        case WindowFrame::Sizeable:
            frame = {WS_OVERLAPPEDWINDOW, 0};
            break;
        case WindowFrame::SizeableToolWindow:
            frame = {WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_TOOLWINDOW};
            break;
        case WindowFrame::FixedToolWindow:
            frame = {WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW};
            break;
    }
    frame.exStyle |= WS_EX_CONTROLPARENT;
    if (desc.alwaysOnTop) frame.exStyle |= WS_EX_TOPMOST;
    return frame;
}

HICON ApplicationIcon(HINSTANCE instance) {
    HICON icon = ::LoadIconA(instance, kIconName);
    return icon ? icon : ::LoadIconA(nullptr, IDI_APPLICATION);
}

void RegisterWindowClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        HINSTANCE instance = ::GetModuleHandleA(nullptr);
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = procedure;
        wc.hInstance = instance;
        wc.hIcon = ApplicationIcon(instance);
        wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
        wc.lpszClassName = kWindowClass;
        return ::RegisterClassExA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    if (!registered) throw std::runtime_error("cannot register the window class");
}

SIZE OuterSizeFor(const WindowSpec& desc, const FrameStyle& frame, int dpi) {
    if (desc.clientWidth <= 0)
        return SIZE{ToPixels(desc.outerWidth, dpi), ToPixels(desc.outerHeight, dpi)};
    const RECT client{0, 0, ToPixels(desc.clientWidth, dpi), ToPixels(desc.clientHeight, dpi)};
    const RECT r = OuterRectFor(client, frame.style, frame.exStyle, dpi);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// The program's icon at a size, owned by the caller; null when the program has none.
HICON LoadIconSized(int width, int height) {
    return static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), kIconName, IMAGE_ICON,
                                           width, height, LR_DEFAULTCOLOR));
}

WINDOWPLACEMENT PlacementOf(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ::GetWindowPlacement(window, &placement);
    return placement;
}

bool IsDescendant(HWND ancestor, HWND window) {
    return window && (window == ancestor || ::IsChild(ancestor, window));
}

}  // namespace

Win32Window::Win32Window(Win32Ui& ui, const WindowSpec& desc)
    : WindowBase(desc), ui_(&ui), dpi_(SystemDpi()), font_(ui.FontFor(dpi_)) {
    RegisterWindowClass(&Win32Window::WindowProc);
    const FrameStyle frame = StyleOf(desc);
    const SIZE size = OuterSizeFor(desc, frame, dpi_);
    // Made hidden; WindowProc takes the handle at WM_NCCREATE.
    HWND hwnd = ::CreateWindowExA(frame.exStyle, kWindowClass, desc.caption.c_str(), frame.style,
                                  CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr,
                                  nullptr, ::GetModuleHandleA(nullptr), this);
    if (!hwnd) throw std::runtime_error("cannot create the window " + desc.name);
    // The window's monitor is known only now; it has no controls yet to scale.
    const int dpi = DpiOfWindow(hwnd);
    if (dpi != dpi_) {
        dpi_ = dpi;
        font_ = ui.FontFor(dpi_);
        const SIZE sized = OuterSizeFor(desc, frame, dpi_);
        ::SetWindowPos(hwnd, nullptr, 0, 0, sized.cx, sized.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetIcons();
    lastOuterSize_ = RestoredOuterSize();
}

void Win32Window::SetIcons() {
    // The old icons stay the window's until the new ones are set.
    ScopedIcon big(LoadIconSized(SystemMetricFor(SM_CXICON, dpi_), SystemMetricFor(SM_CYICON, dpi_)));
    ScopedIcon small(
        LoadIconSized(SystemMetricFor(SM_CXSMICON, dpi_), SystemMetricFor(SM_CYSMICON, dpi_)));
    if (!big || !small) return;  // the class's icon stays
    ::SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    ::SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

void Win32Window::ChangeDpi(int dpi, const RECT& suggested) {
    if (dpi > 0 && dpi != dpi_) {
        // Every control's layout bounds at the old resolution, read before any moves.
        std::vector<std::pair<Win32ControlCore*, Rect>> layout;
        for (const auto& control : Controls()) {
            if (auto* core = dynamic_cast<Win32ControlCore*>(control.get()))
                layout.emplace_back(core, core->ChildBounds());
        }
        const int old = dpi_;
        dpi_ = dpi;
        font_ = ui_ ? ui_->FontFor(dpi_) : std::make_shared<const UiFont>(dpi_);
        for (const auto& [core, bounds] : layout) core->Rescale(bounds, old);
        if (tooltip_) ::SendMessageA(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
        SetIcons();
    }
    // The program lays the window out again after the move, also where its size stays.
    lastOuterSize_ = SIZE{};
    ::SetWindowPos(Handle(), nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    CheckResize();
}

Win32Window::~Win32Window() {
    // The program's handlers may belong to objects already half gone: none runs from here on.
    OnShow = nullptr;
    OnClose = nullptr;
    OnResize = nullptr;
    OnMouseMove = nullptr;
    OnKeyDown = nullptr;
    DropMessageListeners();
    DropTimers();
    if (ui_) ui_->Forget(*this);
    window_.Reset();  // the controls' windows go with it; their objects die after
}

LRESULT CALLBACK Win32Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Win32Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_.Reset(hwnd);
    } else {
        self = reinterpret_cast<Win32Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->window_.release();
        self->tooltip_ = nullptr;
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // Handlers report their own errors; nothing may unwind through the system's code.
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

LRESULT Win32Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = Handle();
    DeliverMessage([&](const MessageListener& listener) {
        Fire(listener, static_cast<std::uint32_t>(message), static_cast<std::uintptr_t>(wParam),
             static_cast<std::intptr_t>(lParam));
    });
    switch (message) {
        case WM_COMMAND:
            if (auto* control = ControlOf(reinterpret_cast<HWND>(lParam))) {
                if (control->OnCommand(HIWORD(wParam))) return 0;
            }
            break;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (auto* control = header ? ControlOf(header->hwndFrom) : nullptr) {
                LRESULT result = 0;
                if (control->OnNotify(*header, result)) return result;
            }
            break;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            if (auto* control = ControlOf(reinterpret_cast<HWND>(lParam))) {
                if (HBRUSH brush = control->OnColour(reinterpret_cast<HDC>(wParam)))
                    return reinterpret_cast<LRESULT>(brush);
            }
            break;
        case WM_TIMER:
            for (const auto& timer : Timers()) {
                // Every timer of this window is one of ours.
                auto& ours = static_cast<Win32Timer&>(*timer);
                if (ours.Id() == wParam) {
                    ours.Tick();
                    return 0;
                }
            }
            break;
        case WM_CLOSE:
            // The close button asks; Close decides (and only hides).
            if (ui_) ui_->RunHandler([this] { Close(); });
            return 0;
        case WM_SYSCOMMAND:
            if (HandleSystemCommand(wParam)) return 0;
            break;
        case WM_SIZE:
            if (IsMain() && wParam == SIZE_MINIMIZED && ui_ && !ui_->ApplicationMinimised()) {
                // Minimised by other means than the button (the taskbar, the shell).
                ui_->RunHandler([ui = ui_] { ui->MinimiseApplication(); });
            }
            if (wParam != SIZE_MINIMIZED) CheckResize();
            break;
        case WM_MOUSEMOVE:
            Fire(OnMouseMove, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            break;
        case WM_ACTIVATE:
            HandleActivation(wParam);
            return 0;
        case kDpiChangedMessage:
            if (lParam) ChangeDpi(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        default:
            break;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

bool Win32Window::HandleSystemCommand(WPARAM command) {
    if (!IsMain() || !ui_) return false;
    switch (command & 0xFFF0) {
        case SC_MINIMIZE:
            ui_->RunHandler([ui = ui_] { ui->MinimiseApplication(); });
            return true;
        case SC_RESTORE:
            if (!ui_->ApplicationMinimised()) return false;
            ui_->RunHandler([ui = ui_] { ui->RestoreApplication(); });
            return true;
        default:
            return false;
    }
}

void Win32Window::HandleActivation(WPARAM wParam) {
    // As a dialog does: the focus leaves with the window and comes back to the same control.
    HWND hwnd = Handle();
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus != hwnd && IsDescendant(hwnd, focus)) lastFocus_ = focus;
        return;
    }
    if (HIWORD(wParam)) return;  // activated while minimised
    HWND target = lastFocus_ && ::IsWindow(lastFocus_) && IsDescendant(hwnd, lastFocus_)
                      ? lastFocus_
                      : ::GetNextDlgTabItem(hwnd, nullptr, FALSE);
    ::SetFocus(target ? target : hwnd);
}

Control* Win32Window::FocusedControl() const {
    // The focus may sit in a child of a control (a list view's header, an edit's parts).
    for (HWND at = ::GetFocus(); at && at != Handle(); at = ::GetParent(at)) {
        if (Win32ControlCore* core = ControlOf(at)) return dynamic_cast<Control*>(core);
    }
    return nullptr;
}

void Win32Window::FocusControl(Control& control) {
    auto* core = dynamic_cast<Win32ControlCore*>(&control);
    if (!core || ControlOf(core->Handle()) != core) return;
    if (::IsWindowEnabled(core->Handle()) && ::IsWindowVisible(core->Handle()))
        ::SetFocus(core->Handle());
}

bool Win32Window::HandleKeyDown(const KeyStroke& stroke) {
    bool handled = false;
    if (OnKeyDown && ui_) {
        auto handler = OnKeyDown;
        ui_->RunHandler([&] { handled = handler(stroke); });
    }
    return handled;
}

Win32ControlCore* Win32Window::ControlOf(HWND hwnd) const {
    auto found = controlByHandle_.find(hwnd);
    return found == controlByHandle_.end() ? nullptr : found->second;
}

std::string Win32Window::Caption() const { return WindowText(Handle()); }

void Win32Window::SetCaption(const std::string& caption) {
    ::SetWindowTextA(Handle(), caption.c_str());
}

void Win32Window::Centre() {
    const SIZE size = RestoredOuterSize();
    const int left = (::GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2;
    const int top = (::GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2;
    ::SetWindowPos(Handle(), nullptr, left, top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::Show() {
    if (Visible()) {
        BringToFront();
        return;
    }
    const bool first = !shownBefore_;
    shownBefore_ = true;
    if (first && Description().centred) Centre();
    const int command = maximiseAtShow_ ? SW_SHOWMAXIMIZED : SW_SHOW;
    maximiseAtShow_ = false;
    ::ShowWindow(Handle(), command);
    if (IsMain() && ui_) ui_->ApplyTaskbarButton(Handle());
    Fire(OnShow);
    // The first show delivers the window's first size to the program.
    if (first) Fire(OnResize);
}

void Win32Window::ShowAgain() {
    if (!Visible()) ::ShowWindow(Handle(), SW_SHOWNA);
}

void Win32Window::MinimiseFrame() {
    if (Visible() && !::IsIconic(Handle())) ::ShowWindow(Handle(), SW_MINIMIZE);
}

void Win32Window::RestoreFrame() {
    const bool wasHidden = !Visible();
    // From minimised back to its normal or maximised state; a window only hidden keeps its state.
    if (::IsIconic(Handle())) ::ShowWindow(Handle(), SW_RESTORE);
    else if (wasHidden) ::ShowWindow(Handle(), SW_SHOW);
    if (IsMain() && ui_) ui_->ApplyTaskbarButton(Handle());
    // Back from the tray: the window shows again, as Show would.
    if (wasHidden) Fire(OnShow);
}

void Win32Window::Hide() { ::ShowWindow(Handle(), SW_HIDE); }

bool Win32Window::Visible() const { return Handle() && ::IsWindowVisible(Handle()); }

void Win32Window::BringToFront() { ::SetForegroundWindow(Handle()); }

RECT Win32Window::RestoredRect() const {
    // A minimised window keeps its normal place in the placement record.
    RECT r{};
    if (::IsIconic(Handle())) r = PlacementOf(Handle()).rcNormalPosition;
    else ::GetWindowRect(Handle(), &r);
    return r;
}

SIZE Win32Window::RestoredOuterSize() const {
    const RECT r = RestoredRect();
    return SIZE{r.right - r.left, r.bottom - r.top};
}

int Win32Window::OuterWidth() const { return FromPixels(RestoredOuterSize().cx, dpi_); }
int Win32Window::OuterHeight() const { return FromPixels(RestoredOuterSize().cy, dpi_); }

// Rounded down: controls laid out to the client area's edge stay inside it.
int Win32Window::ClientWidth() const {
    RECT r{};
    ::GetClientRect(Handle(), &r);
    return FromPixelsWithin(r.right - r.left, dpi_);
}

int Win32Window::ClientHeight() const {
    RECT r{};
    ::GetClientRect(Handle(), &r);
    return FromPixelsWithin(r.bottom - r.top, dpi_);
}

Point Win32Window::Position() const {
    const RECT r = RestoredRect();
    return Point{r.left, r.top};
}

void Win32Window::SetOuterSize(int layoutWidth, int layoutHeight) {
    HWND hwnd = Handle();
    const int width = ToPixels(layoutWidth, dpi_);
    const int height = ToPixels(layoutHeight, dpi_);
    if (::IsIconic(hwnd)) {
        WINDOWPLACEMENT placement = PlacementOf(hwnd);
        placement.rcNormalPosition.right = placement.rcNormalPosition.left + width;
        placement.rcNormalPosition.bottom = placement.rcNormalPosition.top + height;
        placement.showCmd = ::IsWindowVisible(hwnd) ? SW_SHOWMINNOACTIVE : SW_HIDE;
        ::SetWindowPlacement(hwnd, &placement);
    } else {
        ::SetWindowPos(hwnd, nullptr, 0, 0, width, height,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // WM_SIZE has normally reported it already; a minimised window gets none.
    CheckResize();
}

void Win32Window::CheckResize() {
    const SIZE size = RestoredOuterSize();
    if (size.cx == lastOuterSize_.cx && size.cy == lastOuterSize_.cy) return;
    lastOuterSize_ = size;
    Fire(OnResize);
}

bool Win32Window::Maximised() const {
    HWND hwnd = Handle();
    if (::IsIconic(hwnd)) {
        return (PlacementOf(hwnd).flags & WPF_RESTORETOMAXIMIZED) != 0;
    }
    return ::IsZoomed(hwnd) || (!Visible() && maximiseAtShow_);
}

void Win32Window::SetMaximised(bool maximised) {
    if (maximised == Maximised()) return;
    if (!Visible()) {
        // ShowWindow would show it: the state waits for the next show.
        maximiseAtShow_ = maximised;
        return;
    }
    ::ShowWindow(Handle(), maximised ? SW_MAXIMIZE : SW_RESTORE);
}

HWND Win32Window::ParentFor(const ControlSpec& desc) const {
    if (!desc.parent) return Handle();
    // The window's own checks have made sure the group box is one of its controls.
    auto* group = dynamic_cast<Win32GroupBox*>(desc.parent);
    if (!group) throw std::logic_error("the group box of " + desc.name + " is not in " + Name());
    return group->Handle();
}

template <class T, class SpecT>
std::unique_ptr<T> Win32Window::Make(const SpecT& desc) {
    auto control = std::make_unique<T>(*this, desc);
    controlByHandle_[control->Handle()] = control.get();
    if (!control->Hint().empty()) AddHint(*control, control->Hint());
    return control;
}

std::unique_ptr<Label> Win32Window::NewLabel(const ControlSpec& d) { return Make<Win32Label>(d); }
std::unique_ptr<Button> Win32Window::NewButton(const ButtonSpec& d) {
    if (d.flat) return Make<Win32FlatButton>(d);
    return Make<Win32Button>(d);
}
std::unique_ptr<CheckBox> Win32Window::NewCheckBox(const ControlSpec& d) {
    return Make<Win32CheckBox>(d);
}
std::unique_ptr<GroupBox> Win32Window::NewGroupBox(const ControlSpec& d) {
    return Make<Win32GroupBox>(d);
}
std::unique_ptr<Edit> Win32Window::NewEdit(const ControlSpec& d) { return Make<Win32Edit>(d); }
std::unique_ptr<UpDown> Win32Window::NewUpDown(const UpDownSpec& d) {
    return Make<Win32UpDown>(d);
}
std::unique_ptr<ListBox> Win32Window::NewListBox(const ListBoxSpec& d) {
    return Make<Win32ListBox>(d);
}
std::unique_ptr<ListView> Win32Window::NewListView(const ListViewSpec& d) {
    return Make<Win32ListView>(d);
}
std::unique_ptr<Bevel> Win32Window::NewBevel(const ControlSpec& d) { return Make<Win32Bevel>(d); }

std::unique_ptr<Timer> Win32Window::NewTimer(const std::string& name) {
    // Ids from 1, never reused: a window's timers live as long as it does.
    const UINT_PTR id = Timers().size() + 1;
    return std::make_unique<Win32Timer>(*this, name, id);
}

void Win32Window::Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    ::PostMessageA(Handle(), message, wParam, lParam);
}

void Win32Window::Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    ::SendMessageA(Handle(), message, wParam, lParam);
}

namespace {

// TTTOOLINFOA without the field that only version 6 of the controls knows.
TTTOOLINFOA ToolInfo(HWND owner, UINT_PTR id, UINT flags) {
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = flags;
    tool.hwnd = owner;
    tool.uId = id;
    return tool;
}

// The control's rectangle in its window's client area; empty while it is hidden.
RECT ToolRect(HWND window, HWND control) {
    RECT r{};
    if (!(::GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE)) return r;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

void Win32Window::AddHint(const Win32ControlCore& control, const std::string& text) {
    HWND hwnd = Handle();
    if (!tooltip_) {
        tooltip_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                     WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd, nullptr,
                                     ::GetModuleHandleA(nullptr), nullptr);
        if (!tooltip_) return;
        ::SendMessageA(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
    }
    // An enabled control gets the mouse itself; over a disabled one the window gets it, so the
    // hint is a rectangle of the window as well.
    TTTOOLINFOA own = ToolInfo(hwnd, reinterpret_cast<UINT_PTR>(control.Handle()),
                               TTF_IDISHWND | TTF_SUBCLASS);
    own.lpszText = const_cast<char*>(text.c_str());
    ::SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&own));
    TTTOOLINFOA area = ToolInfo(hwnd, static_cast<UINT_PTR>(::GetDlgCtrlID(control.Handle())),
                                TTF_SUBCLASS);
    area.rect = ToolRect(hwnd, control.Handle());
    area.lpszText = const_cast<char*>(text.c_str());
    ::SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&area));
}

void Win32Window::UpdateHint(const Win32ControlCore& control) {
    if (!tooltip_ || !control.Handle()) return;
    const auto& controls = Controls();
    auto found = std::find_if(controls.begin(), controls.end(), [&](const auto& c) {
        return dynamic_cast<const Win32ControlCore*>(c.get()) == &control;
    });
    if (found == controls.end() || (*found)->Hint().empty()) return;
    TTTOOLINFOA area = ToolInfo(Handle(),
                                static_cast<UINT_PTR>(::GetDlgCtrlID(control.Handle())), 0);
    area.rect = ToolRect(Handle(), control.Handle());
    ::SendMessageA(tooltip_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&area));
}

}  // namespace platform::win32

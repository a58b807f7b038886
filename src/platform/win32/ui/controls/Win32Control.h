#pragma once
// What every control of the Windows build shares: its child window (owned by the window or
// group box that holds it, so it dies with that one), its name and hint, the notifications its
// parent passes on, and a window procedure in front of the control's own.
#include "platform/win32/WindowsApi.h"

#include <string>

#include "platform/Widgets.h"

namespace platform::win32 {

// GetWindowTextA in full.
std::string WindowText(HWND hwnd);

class Win32Window;

// The description with no text: for the kinds that show none (a caption would draw).
inline ControlSpec WithoutText(ControlSpec desc) {
    desc.text.clear();
    return desc;
}

// How a control's child window is made.
struct ChildWindowSpec {
    const char* className = nullptr;
    DWORD style = 0;    // WS_CHILD is always added, WS_VISIBLE and WS_DISABLED from the description
    DWORD exStyle = 0;
};

class Win32ControlCore {
public:
    Win32ControlCore(Win32Window& form, const ControlSpec& desc, const ChildWindowSpec& child);
    virtual ~Win32ControlCore();
    Win32ControlCore(const Win32ControlCore&) = delete;
    Win32ControlCore& operator=(const Win32ControlCore&) = delete;

    HWND Handle() const { return hwnd_; }
    Win32Window& Form() const { return form_; }

    // Notifications about this control, as its parent receives them. True when handled.
    virtual bool OnCommand(WORD code) { (void)code; return false; }
    virtual bool OnNotify(NMHDR& header, LRESULT& result) {
        (void)header; (void)result;
        return false;
    }
    // WM_CTLCOLOR*: a brush for the background with the DC prepared, or nullptr for the
    // default colours.
    virtual HBRUSH OnColour(HDC dc) { (void)dc; return nullptr; }

    // Geometry (the layout's, at 96 dpi) and visibility; the window's hints follow the control.
    Rect ChildBounds() const;
    void MoveChild(const Rect& bounds);
    void ShowChild(bool visible);
    // After the window's resolution changed from `oldDpi`: its font, the bounds the control
    // had, and what the kind sizes itself.
    void Rescale(const Rect& bounds, int oldDpi);

protected:
    // What a kind has in pixels beyond its bounds and font, for the window's new resolution.
    virtual void OnDpiChanged(int oldDpi) { (void)oldDpi; }
    // Messages to the control itself, before its own procedure; the default passes them on.
    virtual LRESULT ControlProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam);

    std::string name_;
    std::string hint_;

private:
    static LRESULT CALLBACK SubclassThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    Win32Window& form_;
    HWND hwnd_ = nullptr;
    WNDPROC original_ = nullptr;
};

// The Control interface over a core: text, state and geometry straight from the child window.
template <class Base>
class Win32Control : public Base, public Win32ControlCore {
public:
    Win32Control(Win32Window& form, const ControlSpec& desc, const ChildWindowSpec& child)
        : Win32ControlCore(form, desc, child) {}

    const std::string& Name() const override { return name_; }
    std::string Text() const override { return WindowText(Handle()); }
    void SetText(const std::string& text) override { ::SetWindowTextA(Handle(), text.c_str()); }
    bool Enabled() const override { return Handle() && ::IsWindowEnabled(Handle()); }
    void SetEnabled(bool enabled) override { ::EnableWindow(Handle(), enabled ? TRUE : FALSE); }
    bool Visible() const override {
        return Handle() && (::GetWindowLongPtrA(Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
    }
    void SetVisible(bool visible) override { ShowChild(visible); }
    Rect Bounds() const override { return ChildBounds(); }
    void SetBounds(const Rect& bounds) override { MoveChild(bounds); }
    std::string Hint() const override { return hint_; }
};

}  // namespace platform::win32

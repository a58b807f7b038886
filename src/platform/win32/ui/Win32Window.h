#pragma once
// A top-level window of the Windows build with its controls and timers. Every message passes
// the message listeners first, then the window's own handling; control notifications (also
// those a group box receives for the controls inside it) go to the control they are about.
// Sizes and bounds are the layout's, at 96 dpi; the window converts them to and from the
// pixels of the monitor it is on, and scales its controls when it moves to one of another
// resolution.
#include "platform/win32/WindowsApi.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/shared/WindowBase.h"
#include "platform/win32/ui/UiFont.h"
#include "platform/win32/ui/UiHandles.h"
#include "platform/win32/ui/Win32Ui.h"

namespace platform::win32 {

class Win32ControlCore;
class Win32Timer;

class Win32Window : public shared::WindowBase {
public:
    Win32Window(Win32Ui& ui, const WindowSpec& desc);
    ~Win32Window() override;

    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;
    void Show() override;
    void Hide() override;
    bool Visible() const override;
    void BringToFront() override;

    int OuterWidth() const override;
    int OuterHeight() const override;
    void SetOuterWidth(int width) override { SetOuterSize(width, OuterHeight()); }
    void SetOuterHeight(int height) override { SetOuterSize(OuterWidth(), height); }
    int ClientWidth() const override;
    int ClientHeight() const override;
    Point Position() const override;
    bool Maximised() const override;
    void SetMaximised(bool maximised) override;

    void Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void* NativeHandle() const override { return window_.get(); }
    Control* FocusedControl() const override;
    void FocusControl(Control& control) override;

    // --- For the windowing services and the controls -----------------------------------------
    HWND Handle() const { return window_.get(); }
    Win32Ui* Services() const override { return ui_; }
    void Detach() { ui_ = nullptr; }
    // The resolution of the window's monitor, which its pixels are of.
    int Dpi() const { return dpi_; }
    HFONT Font() const { return font_->Regular(); }
    HFONT UnderlinedFont() const { return font_->Underlined(); }
    // The child window a new control goes into: the group box named by the description, or this one.
    HWND ParentFor(const ControlSpec& desc) const;
    int NewControlId() { return nextControlId_++; }
    // The hint follows the control's place and visibility.
    void AddHint(const Win32ControlCore& control, const std::string& text);
    void UpdateHint(const Win32ControlCore& control);
    // Shows the window without the first-show steps and without taking the activation.
    void ShowAgain();
    // ShowWindow SW_MINIMIZE / SW_RESTORE for the application's minimise and restore.
    void MinimiseFrame();
    void RestoreFrame();
    // A key pressed in this window or one of its controls, through OnKeyDown: true when
    // handled there (the message then goes no further).
    bool HandleKeyDown(const KeyStroke& stroke);
    // A control's or timer's event through the general error handler.
    template <class Handler, class... Args>
    void Fire(const Handler& handler, Args&&... args);

protected:
    std::unique_ptr<Label> NewLabel(const ControlSpec& desc) override;
    std::unique_ptr<Button> NewButton(const ButtonSpec& desc) override;
    std::unique_ptr<CheckBox> NewCheckBox(const ControlSpec& desc) override;
    std::unique_ptr<GroupBox> NewGroupBox(const ControlSpec& desc) override;
    std::unique_ptr<Edit> NewEdit(const ControlSpec& desc) override;
    std::unique_ptr<UpDown> NewUpDown(const UpDownSpec& desc) override;
    std::unique_ptr<ListBox> NewListBox(const ListBoxSpec& desc) override;
    std::unique_ptr<ListView> NewListView(const ListViewSpec& desc) override;
    std::unique_ptr<Bevel> NewBevel(const ControlSpec& desc) override;
    std::unique_ptr<Timer> NewTimer(const std::string& name) override;

private:
    // The control with its child window, known to the window's notifications and hints.
    template <class T, class SpecT>
    std::unique_ptr<T> Make(const SpecT& desc);

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleSystemCommand(WPARAM command);
    void HandleActivation(WPARAM wParam);
    Win32ControlCore* ControlOf(HWND hwnd) const;
    void SetOuterSize(int width, int height);
    // OnResize when the outer (restored) size differs from the one last seen.
    void CheckResize();
    // The outer rectangle on the screen, a minimised window's normal one.
    RECT RestoredRect() const;
    SIZE RestoredOuterSize() const;
    void Centre();
    // The program's icon in the window's caption and task switcher, at the sizes for its
    // resolution.
    void SetIcons();
    // WM_DPICHANGED: the font, the controls and the icons for the new resolution, then the
    // rectangle the system suggests.
    void ChangeDpi(int dpi, const RECT& suggested);

    Win32Ui* ui_;
    int dpi_;
    std::shared_ptr<const UiFont> font_;
    ScopedIcon bigIcon_;
    ScopedIcon smallIcon_;
    ScopedWindow window_;
    HWND tooltip_ = nullptr;  // owned by window_, destroyed with it
    bool shownBefore_ = false;
    bool maximiseAtShow_ = false;
    SIZE lastOuterSize_{};
    HWND lastFocus_ = nullptr;
    int nextControlId_ = 100;  // above IDOK and IDCANCEL, which Enter and Esc send
    std::map<HWND, Win32ControlCore*> controlByHandle_;
};

template <class Handler, class... Args>
void Win32Window::Fire(const Handler& handler, Args&&... args) {
    if (ui_) ui_->Fire(handler, std::forward<Args>(args)...);
}

}  // namespace platform::win32

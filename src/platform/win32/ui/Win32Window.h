#pragma once
// A top-level window of the Windows build with its controls and timers. Every message passes
// OnMessage first, then the window's own handling; control notifications (also those a group
// box receives for the controls inside it) go to the control they are about.
#include "platform/win32/WindowsApi.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Widgets.h"
#include "platform/win32/ui/UiFont.h"
#include "platform/win32/ui/UiHandles.h"

namespace platform::win32 {

class Win32Ui;
class Win32ControlCore;
class Win32Timer;

class Win32Window : public Window {
public:
    Win32Window(Win32Ui& ui, const WindowSpec& desc);
    ~Win32Window() override;

    const std::string& Name() const override { return spec_.name; }
    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;
    void Show() override;
    void Hide() override;
    bool Visible() const override;
    void Close() override;
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

    Label& AddLabel(const ControlSpec& desc) override;
    Button& AddButton(const ButtonSpec& desc) override;
    CheckBox& AddCheckBox(const ControlSpec& desc) override;
    GroupBox& AddGroupBox(const ControlSpec& desc) override;
    Edit& AddEdit(const ControlSpec& desc) override;
    UpDown& AddUpDown(const UpDownSpec& desc) override;
    ListBox& AddListBox(const ListBoxSpec& desc) override;
    ListView& AddListView(const ListViewSpec& desc) override;
    Bevel& AddBevel(const ControlSpec& desc) override;
    Timer& AddTimer(const std::string& name) override;
    Control* FindControl(const std::string& name) const override;
    Timer* FindTimer(const std::string& name) const override;

    void Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void* NativeHandle() const override { return window_.get(); }

    // --- For the windowing services and the controls -----------------------------------------
    HWND Handle() const { return window_.get(); }
    bool IsMain() const { return spec_.mainWindow; }
    // The services, or nullptr once they are gone.
    Win32Ui* Services() const { return ui_; }
    void Detach() { ui_ = nullptr; }
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
    // A control's or timer's event through the general error handler.
    template <class Handler, class... Args>
    void Fire(const Handler& handler, Args&&... args);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleSystemCommand(WPARAM command);
    void HandleActivation(WPARAM wParam);
    Win32ControlCore* ControlOf(HWND hwnd) const;
    template <class T>
    T& Adopt(std::unique_ptr<T> control);
    void SetOuterSize(int width, int height);
    // OnResize when the outer (restored) size differs from the one last seen.
    void CheckResize();
    SIZE RestoredOuterSize() const;
    void Centre();

    Win32Ui* ui_;
    WindowSpec spec_;
    std::shared_ptr<const UiFont> font_;
    ScopedWindow window_;
    HWND tooltip_ = nullptr;  // owned by window_, destroyed with it
    bool shownBefore_ = false;
    bool maximiseAtShow_ = false;
    SIZE lastOuterSize_{};
    HWND lastFocus_ = nullptr;
    int nextControlId_ = 100;  // above IDOK and IDCANCEL, which Enter and Esc send
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<HWND, Win32ControlCore*> controlByHandle_;
    std::vector<std::unique_ptr<Win32Timer>> timers_;
};

}  // namespace platform::win32

#include "platform/win32/ui/Win32Ui.h"

namespace platform::win32 {

template <class Handler, class... Args>
void Win32Window::Fire(const Handler& handler, Args&&... args) {
    if (ui_) ui_->Fire(handler, std::forward<Args>(args)...);
}

}  // namespace platform::win32

#pragma once
// Popup menus made from entry tables, only for the time they are shown.
#include "platform/win32/WindowsApi.h"

#include <vector>

#include "platform/Ui.h"
#include "platform/win32/ui/UiHandles.h"

namespace platform::win32 {

// CreatePopupMenu and AppendMenuA per entry: separators, greyed entries (MF_GRAYED | MF_DISABLED).
ScopedMenu BuildPopupMenu(const std::vector<MenuEntry>& entries);

// Tracks the menu modally at a screen point for the owner window; the chosen id or 0.
std::uint32_t TrackPopupMenuAt(HMENU menu, HWND owner, Point screen, UINT flags);
constexpr UINT kPopupMenuFlags = TPM_RETURNCMD | TPM_RIGHTBUTTON;

// A popup menu filled entry by entry, which the shell may add its own entries to.
class Win32NativeMenu : public NativeMenu {
public:
    explicit Win32NativeMenu(ScopedMenu menu) : menu_(std::move(menu)) {}
    void Append(const MenuEntry& entry) override;
    void* NativeHandle() const override { return menu_.get(); }
    std::uint32_t Track(Window& owner, Point screen) override;

private:
    ScopedMenu menu_;
};

}  // namespace platform::win32

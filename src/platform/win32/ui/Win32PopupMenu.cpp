#include "platform/win32/ui/Win32PopupMenu.h"

namespace platform::win32 {

namespace {

void AppendEntry(HMENU menu, const MenuEntry& entry) {
    if (entry.separator) {
        ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        return;
    }
    const UINT flags = MF_STRING | (entry.enabled ? MF_ENABLED : MF_GRAYED | MF_DISABLED);
    ::AppendMenuA(menu, flags, entry.id, entry.caption.c_str());
}

}  // namespace

ScopedMenu BuildPopupMenu(const std::vector<MenuEntry>& entries) {
    ScopedMenu menu(::CreatePopupMenu());
    if (!menu) return menu;
    for (const MenuEntry& entry : entries) AppendEntry(menu.get(), entry);
    return menu;
}

std::uint32_t TrackPopupMenuAt(HMENU menu, HWND owner, Point screen, UINT flags) {
    if (!menu) return 0;
    const BOOL chosen = ::TrackPopupMenuEx(menu, flags, screen.x, screen.y, owner, nullptr);
    // A menu opened for a window in the background (the tray's) closes properly only when
    // its owner gets a message afterwards.
    if (owner) ::PostMessageA(owner, WM_NULL, 0, 0);
    return chosen > 0 ? static_cast<std::uint32_t>(chosen) : 0;
}

void Win32NativeMenu::Append(const MenuEntry& entry) { AppendEntry(menu_.get(), entry); }

std::uint32_t Win32NativeMenu::Track(Window& owner, Point screen) {
    return TrackPopupMenuAt(menu_.get(), static_cast<HWND>(owner.NativeHandle()), screen,
                            TPM_RETURNCMD | TPM_VERTICAL | TPM_RIGHTBUTTON);
}

}  // namespace platform::win32

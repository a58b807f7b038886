#include "platform/win32/ui/controls/Win32ListBox.h"

#include "platform/win32/ui/Dpi.h"
#include "platform/win32/ui/Win32Window.h"

namespace platform::win32 {

Win32ListBox::Win32ListBox(Win32Window& form, const ListBoxSpec& desc)
    // No LBS_SORT: items stay in the order added. LBS_NOINTEGRALHEIGHT keeps the given height.
    : Win32Control(form, desc,
                   ChildWindowSpec{"LISTBOX",
                                   LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                                   WS_EX_CLIENTEDGE}),
      itemHeight_(desc.itemHeight) {
    ::SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, ToPixels(itemHeight_, form.Dpi()));
}

void Win32ListBox::OnDpiChanged(int oldDpi) {
    // The new font has set a height of its own: the layout's comes back, at the new scale.
    (void)oldDpi;
    ::SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, ToPixels(itemHeight_, Form().Dpi()));
}

int Win32ListBox::Count() const {
    const LRESULT count = ::SendMessageA(Handle(), LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : static_cast<int>(count);
}

std::string Win32ListBox::Item(int index) const {
    if (!InRange(index)) return {};
    const LRESULT length = ::SendMessageA(Handle(), LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR || length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied =
        ::SendMessageA(Handle(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

void Win32ListBox::AddItem(const std::string& text) {
    ::SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Win32ListBox::DeleteItem(int index) {
    if (InRange(index)) ::SendMessageA(Handle(), LB_DELETESTRING, index, 0);
}

void Win32ListBox::Clear() { ::SendMessageA(Handle(), LB_RESETCONTENT, 0, 0); }

int Win32ListBox::SelectedIndex() const {
    const LRESULT index = ::SendMessageA(Handle(), LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

void Win32ListBox::SetSelectedIndex(int index) {
    ::SendMessageA(Handle(), LB_SETCURSEL, InRange(index) ? index : -1, 0);
}

int Win32ListBox::ItemHeight() const {
    const LRESULT height = ::SendMessageA(Handle(), LB_GETITEMHEIGHT, 0, 0);
    return height == LB_ERR ? 0 : FromPixels(static_cast<int>(height), Form().Dpi());
}

}  // namespace platform::win32

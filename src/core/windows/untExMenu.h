#pragma once
// A popup menu of the caller's own entries, a separator and the shell's context menu for a
// file, tracked modally; the chosen entry or shell command runs before ShowExMenu returns.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/System.h"
#include "platform/Widgets.h"

namespace zorvik {

// One entry of the caller's table. The entry at position i carries Id 1024 + i: a choice is
// mapped back to its entry by subtracting 1024, and the shell's entries use ids 1 to 1023.
struct ExMenuItem {
    const char* Caption = "";  // not owned
    std::uint32_t Id = 0;
    bool Enabled = true;       // false: greyed, cannot be chosen
    std::function<void()> OnClick;  // may be empty: choosing the entry then does nothing
};

constexpr std::uint32_t kFirstExMenuItemId = 1024;

// FileName: the file whose shell context menu follows the entries (empty or unknown: the
// entries and the separator only). X, Y: screen point. Wnd: the owner window.
void ShowExMenu(platform::System& sys, const std::string& FileName, int X, int Y,
                platform::Window& Wnd, const std::vector<ExMenuItem>& Items);

// Text with a backslash appended, except for the empty text, a drive root ("C:\") or a lone
// backslash, and texts already ending in one.
std::string AddBackslash(const std::string& Text);

// GetFileAttributesA succeeds and reports a directory.
bool IsDirectory(platform::System& sys, const std::string& Path);

}  // namespace zorvik

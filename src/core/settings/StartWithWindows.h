#pragma once
// The program's own value in the current user's Run key, which starts it hidden in the tray
// at logon. Not kept in Settings.ini: the value itself is the setting.
#include "platform/System.h"

namespace zorvik {

// The modes of StartWithWindows.
inline constexpr int kRunValueQuery = 0;
inline constexpr int kRunValueRegister = 1;
inline constexpr int kRunValueRemove = 2;

// kRunValueQuery asks whether the Run value exists, kRunValueRegister writes it for the
// program's current path, kRunValueRemove deletes it; any other mode does nothing. True only
// for a query that finds the value. A Run key that cannot be opened changes nothing.
bool StartWithWindows(platform::System& sys, int mode);

}  // namespace zorvik

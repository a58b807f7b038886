#pragma once
// The balloon that tells what a change of the start-up places brought: one line per entry
// added or changed, naming the program and the place, e.g.
//   New start-up entry: bot.exe in HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run
//   Changed start-up entry: tool.exe in C:\Users\bob\Start Menu\Programs\Startup
// Removed entries are not told.
#include <string>
#include <vector>

#include "core/engine/watch/EntryNews.h"

namespace zorvik {

inline constexpr const char* kEntryBalloonTitle = "Start up change!";

// Empty when nothing was added or changed. Lines that would not fit the balloon are counted
// in a last line instead ("and 3 more").
std::string EntryBalloonText(const std::vector<EntryNews>& news);

}  // namespace zorvik

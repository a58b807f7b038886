#pragma once
// A line of `zorvikc watch`: one start-up entry added, changed or removed, as a JSON object
// on one line (UTF-8), for a log forwarder or a script that reads line by line:
//   {"time": "2024-05-01T12:00:00.000Z", "change": "added", "kind": "REG",
//    "place": "HKEY_CURRENT_USER\\Software\\...\\Run", "name": "Bot", "text": "c:\\bot.exe",
//    "program": "c:\\bot.exe", "running": true, "sockets": [{...}], "level": "suspicious",
//    "key": "REG|..."}
#include <optional>
#include <string>
#include <vector>

#include "core/engine/verdict/Verdict.h"
#include "core/engine/watch/EntryNews.h"
#include "platform/Clock.h"
#include "platform/Processes.h"

namespace zorvik {

// ISO 8601 in UTC with milliseconds: "2024-05-01T12:00:00.000Z".
std::string IsoUtcText(const platform::UtcTime& time);

struct WatchLineFacts {
    std::optional<platform::UtcTime> time;  // none: null
    std::string program;                    // the program the entry's text names
    bool running = false;
    std::vector<platform::TcpRow> sockets;
    // The verdict level of the program a scan lists with this entry now; none (null) when no
    // listed program holds it: not running, no socket, trusted, or the entry removed.
    std::optional<VerdictLevel> level;
};

// The line without its line end.
std::string WatchLine(const EntryNews& news, const WatchLineFacts& facts);

}  // namespace zorvik

#pragma once
// The program a start-up entry names, and whether it runs now with which sockets: what a watch
// tells beside each new, changed or removed entry.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Processes.h"
#include "platform/System.h"

namespace zorvik {

// The program a command names, as the text gives it (nothing is looked up): the quoted part;
// for a path with blanks left unquoted, the first blank-ended part that ends in a program's
// extension (".exe", ".com", ".bat", ".cmd"); for a first word without a folder, that word
// when it ends in such an extension, else the first later word that does ("start bot.exe"),
// else the first word. A start-up folder's entry names itself.
std::string ProgramNamedBy(const std::string& text);

// The processes running at one moment and the TCP rows they own, each read once.
class RunningPrograms {
public:
    // Every process the snapshot names (the TCP tables' owners where the system gives no
    // snapshot). The tables are read at the first program found running: under Wine telling
    // each socket's owner costs more than the rest. table null: no sockets.
    static RunningPrograms Take(platform::System& sys, platform::TcpTable* table);

    struct Match {
        bool running = false;
        // The rows of every matching process, IPv4 then IPv6, in table order.
        std::vector<platform::TcpRow> sockets;
    };
    // The processes of program: those whose file name (long or 8.3) is the program's, and
    // whose path is the program's too when the program names a folder.
    Match Of(platform::System& sys, const std::string& program);

private:
    struct Process {
        std::uint32_t pid = 0;
        std::string path;  // as GetProcessPath gives it
    };
    const std::vector<platform::TcpRow>& Sockets();

    platform::TcpTable* table_ = nullptr;
    std::vector<Process> processes_;
    std::optional<std::vector<platform::TcpRow>> sockets_;
};

}  // namespace zorvik

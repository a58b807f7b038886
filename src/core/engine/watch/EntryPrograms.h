#pragma once
// The program a start-up entry names, and whether it runs now with which sockets: what a watch
// tells beside each new, changed or removed entry.
#include <cstdint>
#include <optional>
#include <set>
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

// The processes running at one moment and the TCP rows they own, each read once and only when
// a program asks for it: under Wine each process's path costs milliseconds and each table tens
// of them, while a change names one program or two.
class RunningPrograms {
public:
    // Every process the snapshot names (the TCP tables' owners where the system gives no
    // snapshot). A process's path is looked up when its image name could be the program's; the
    // tables are read at the first program found running. table null: no sockets.
    static RunningPrograms Take(platform::System& sys, platform::TcpTable* table);

    struct Match {
        bool running = false;
        // The matching processes: the ones a scan's verdict on the program is asked of.
        std::set<std::uint32_t> pids;
        // The rows of every matching process, IPv4 then IPv6, in table order.
        std::vector<platform::TcpRow> sockets;
    };
    // The processes of program: those whose file name (long or 8.3) is the program's, and
    // whose path is the program's too when the program names a folder.
    Match Of(platform::System& sys, const std::string& program);
    // Every row of the TCP tables, IPv4 then IPv6, in table order: read at the first ask.
    const std::vector<platform::TcpRow>& Sockets();

private:
    struct Process {
        std::uint32_t pid = 0;
        std::optional<std::string> imageName;  // lower case; none: unknown
        std::optional<std::string> path;       // as GetProcessPath gives it, once asked
    };
    // Whether the process's path could name a file called fileName (lower case).
    static bool MayBe(const Process& process, const std::string& fileName);
    const std::string& PathOf(platform::System& sys, Process& process);

    platform::TcpTable* table_ = nullptr;
    std::vector<Process> processes_;
    std::optional<std::vector<platform::TcpRow>> sockets_;
};

}  // namespace zorvik

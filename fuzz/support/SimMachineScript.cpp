#include "support/SimMachineScript.h"

#include <map>
#include <vector>

#include "platform/sim/autostart/SimWmi.h"
#include "platform/sim/system/SimFileFacts.h"
#include "support/FuzzFields.h"

namespace fuzz {
namespace {

// Bounds that keep one input cheap: the sim builds every structure it is told to.
constexpr std::uint32_t kMaxPid = 1u << 20;
constexpr std::size_t kMaxThreads = 64;
constexpr std::size_t kMaxModules = 256;

platform::sim::SimProcess ProcessOf(const std::vector<std::string>& f) {
    platform::sim::SimProcess p;
    p.pid = NumberOf(FieldAt(f, 1), kMaxPid);
    p.parentPid = NumberOf(FieldAt(f, 2), kMaxPid);
    p.imagePath = Unescape(FieldAt(f, 3));
    for (const char flag : FieldAt(f, 4)) {
        switch (flag) {
            case 'o': p.openable = false; break;
            case 'l': p.openableLimited = false; break;
            case 'm': p.modulesReadable = false; break;
            case 'f': p.fileNameReadable = false; break;
            case 'i': p.imageNameReadable = false; break;
            case 'k': p.terminable = false; break;
            case 's':
                p.threads.front().threadState = 5;
                p.threads.front().waitReason = 5;
                p.threads.front().userTime = 0;
                break;
            case 't':
                if (p.threads.size() < kMaxThreads) p.threads.push_back({});
                break;
            default: break;
        }
    }
    return p;
}

platform::TcpRow SocketOf(const std::vector<std::string>& f) {
    platform::TcpRow row;
    row.owningPid = NumberOf(FieldAt(f, 1), kMaxPid);
    row.state = NumberOf(FieldAt(f, 2));
    row.localPort = static_cast<std::uint16_t>(NumberOf(FieldAt(f, 3), 65535));
    row.family = FieldAt(f, 4) == "6" ? platform::AddressFamily::V6 : platform::AddressFamily::V4;
    return row;
}

}  // namespace

void ScriptMachine(const std::string& script, ScriptedMachine& machine) {
    platform::sim::SimSystem& sys = machine.sys;
    // Processes are added once all their lines are read, so that "mem" may follow "proc".
    std::map<std::uint32_t, platform::sim::SimProcess> processes;
    std::vector<std::string> users;
    bool extended = true, legacy = true;
    for (const std::string& line : SplitFields(script, '\n')) {
        const std::vector<std::string> f = SplitFields(line, '|');
        const std::string& command = f[0];
        if (command == "proc") {
            platform::sim::SimProcess p = ProcessOf(f);
            processes[p.pid] = p;
        } else if (command == "mem") {
            const std::uint32_t pid = NumberOf(FieldAt(f, 1), kMaxPid);
            if (processes.count(pid)) processes[pid].imageMemory = Unescape(FieldAt(f, 2));
        } else if (command == "dll") {
            const std::uint32_t pid = NumberOf(FieldAt(f, 1), kMaxPid);
            if (processes.count(pid) && processes[pid].modules.size() < kMaxModules)
                processes[pid].modules.push_back(Unescape(FieldAt(f, 2)));
        } else if (command == "wmi") {
            platform::WmiEventConsumer consumer;
            consumer.kind = FieldAt(f, 1) == "1" ? platform::WmiConsumerKind::ActiveScript
                                                 : platform::WmiConsumerKind::CommandLine;
            consumer.name = Unescape(FieldAt(f, 2));
            consumer.commandLineTemplate = Unescape(FieldAt(f, 3));
            consumer.executablePath = Unescape(FieldAt(f, 4));
            consumer.scriptText = Unescape(FieldAt(f, 5));
            consumer.scriptFileName = Unescape(FieldAt(f, 6));
            sys.wmiRepository().AddEventConsumer(consumer);
        } else if (command == "sock") {
            sys.procs().AddTcpRow(SocketOf(f));
        } else if (command == "reg") {
            const auto root = static_cast<platform::RootKey>(NumberOf(FieldAt(f, 1), 3));
            const auto type = static_cast<platform::RegType>(NumberOf(FieldAt(f, 4), 11));
            sys.reg().Put(root, Unescape(FieldAt(f, 2)), Unescape(FieldAt(f, 3)), type,
                          Unescape(FieldAt(f, 5)));
        } else if (command == "file") {
            sys.fs().AddFile(Unescape(FieldAt(f, 1)), Unescape(FieldAt(f, 2)));
        } else if (command == "dir") {
            sys.fs().AddDirectory(Unescape(FieldAt(f, 1)));
        } else if (command == "lock") {
            sys.fs().Lock(Unescape(FieldAt(f, 1)), true);
        } else if (command == "short") {
            sys.fs().SetShortName(Unescape(FieldAt(f, 1)), Unescape(FieldAt(f, 2)));
        } else if (command == "user") {
            users.push_back(Unescape(FieldAt(f, 1)));
        } else if (command == "trust") {
            machine.trusted.entries.push_back(Unescape(FieldAt(f, 1)));
        } else if (command == "env") {
            sys.env().Set(Unescape(FieldAt(f, 1)), Unescape(FieldAt(f, 2)));
        } else if (command == "ignoresafe") {
            machine.options.ignoreSafe = true;
        } else if (command == "facts") {
            const std::string path = Unescape(FieldAt(f, 1));
            if (!sys.fs().Exists(path)) continue;
            platform::sim::ScriptedFileFacts facts;
            facts.sha256 = Unescape(FieldAt(f, 2));
            facts.version = platform::VersionStrings{Unescape(FieldAt(f, 3)), "", "", "", true,
                                                     Unescape(FieldAt(f, 5))};
            facts.signature.state = platform::SignatureState::NotTrusted;
            facts.signature.signer = Unescape(FieldAt(f, 4));
            sys.facts().Script(path, facts);
        } else if (command == "tcp") {
            extended = FieldAt(f, 1) != "0";
            legacy = FieldAt(f, 2) != "0";
        } else if (command == "nosnapshot") {
            sys.procs().SetSystemInformationQuery(false);
        } else if (command == "xp") {
            sys.procs().SetLimitedQueries(false);
        }
    }
    sys.procs().SetTcpFunctions(extended, legacy);
    if (!users.empty()) sys.users().SetUsers(users);
    for (auto& [pid, process] : processes) sys.procs().AddProcess(process);
}

}  // namespace fuzz

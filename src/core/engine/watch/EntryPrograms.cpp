#include "core/engine/watch/EntryPrograms.h"

#include <optional>
#include <set>

#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"
#include "core/base/untFunc.h"
#include "core/engine/process/ProcessSnapshot.h"
#include "core/parse/UnquotedCommand.h"

namespace zorvik {

namespace {

constexpr std::string_view kBlanks = " \t";

bool EndsInProgramExtension(const std::string& part) {
    const std::string lower = AsciiLower(part);
    for (const std::string_view extension : parse::kMeantProgramExtensions)
        if (lower.ends_with(extension)) return true;
    return false;
}

}  // namespace

std::string ProgramNamedBy(const std::string& text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) return {};
    if (text[first] == '"') {
        const std::size_t close = text.find('"', first + 1);
        return text.substr(first + 1, close == std::string::npos ? std::string::npos
                                                                 : close - first - 1);
    }
    const std::string command = text.substr(first);
    const std::string firstWord = command.substr(0, command.find_first_of(kBlanks));
    if (!ProgramFolderOf(firstWord).empty()) {
        // A path with blanks, unquoted: Windows takes each blank in turn as its end.
        for (std::size_t blank = command.find_first_of(kBlanks); blank != std::string::npos;
             blank = command.find_first_of(kBlanks, blank + 1)) {
            if (EndsInProgramExtension(command.substr(0, blank))) return command.substr(0, blank);
        }
        return EndsInProgramExtension(command) ? command : firstWord;
    }
    if (EndsInProgramExtension(firstWord)) return firstWord;
    // A line of a script ("start bot.exe /q", "call c:\tools\run.cmd"): the first word that
    // names a program.
    for (std::size_t at = command.find_first_not_of(kBlanks, firstWord.size());
         at != std::string::npos;) {
        const std::size_t end = command.find_first_of(kBlanks, at);
        std::string word = command.substr(at, end == std::string::npos ? end : end - at);
        if (word.size() > 1 && word.front() == '"') word = word.substr(1, word.find('"', 1) - 1);
        if (EndsInProgramExtension(word)) return word;
        at = end == std::string::npos ? end : command.find_first_not_of(kBlanks, end);
    }
    return firstWord;
}

RunningPrograms RunningPrograms::Take(platform::System& sys, platform::TcpTable* table) {
    RunningPrograms running;
    running.table_ = table;
    if (const std::optional<ProcessSnapshot> snapshot = TakeProcessSnapshot(sys)) {
        for (SnapshotProcess& process : snapshot->Processes()) {
            if (process.pid == 0) continue;
            if (process.imageName) process.imageName = AsciiLower(*process.imageName);
            running.processes_.push_back({process.pid, std::move(process.imageName), {}});
        }
    } else {
        std::set<std::uint32_t> pids;
        for (const platform::TcpRow& row : running.Sockets()) pids.insert(row.owningPid);
        for (const std::uint32_t pid : pids) running.processes_.push_back({pid, {}, {}});
    }
    return running;
}

bool RunningPrograms::MayBe(const Process& process, const std::string& fileName) {
    // An 8.3 name on either side is told by its tilde; only the path can say more then.
    if (!process.imageName || fileName.find('~') != std::string::npos ||
        process.imageName->find('~') != std::string::npos)
        return true;
    return *process.imageName == fileName;
}

const std::string& RunningPrograms::PathOf(platform::System& sys, Process& process) {
    if (!process.path) {
        process.path = GetProcessPath(sys, process.pid);
        if (*process.path == kUnknownProcessPath) process.path->clear();
    }
    return *process.path;
}

const std::vector<platform::TcpRow>& RunningPrograms::Sockets() {
    if (sockets_) return *sockets_;
    sockets_.emplace();
    if (!table_) return *sockets_;
    for (const platform::AddressFamily family :
         {platform::AddressFamily::V4, platform::AddressFamily::V6}) {
        if (!table_->Supports(family)) continue;
        const auto rows = table_->Rows(family);
        if (rows) sockets_->insert(sockets_->end(), rows->begin(), rows->end());
    }
    return *sockets_;
}

RunningPrograms::Match RunningPrograms::Of(platform::System& sys, const std::string& program) {
    Match match;
    const std::string fileName = AsciiLower(ProgramFileNameOf(program));
    if (fileName.empty()) return match;
    // An 8.3 name is told by its tilde; only then is each process's short form asked for.
    const bool shortName = fileName.find('~') != std::string::npos;
    const bool namesFolder = !ProgramFolderOf(program).empty();
    // The program's long form, asked for only when a path is not the program's as written.
    std::optional<std::string> longProgram;
    std::set<std::uint32_t>& pids = match.pids;
    for (Process& process : processes_) {
        if (!MayBe(process, fileName)) continue;
        const std::string& found = PathOf(sys, process);
        if (found.empty()) continue;
        std::string path = AsciiLower(found);
        if (shortName && ProgramFileNameOf(path) != fileName)
            path = AsciiLower(GetShortPath(sys, found));
        if (ProgramFileNameOf(path) != fileName) continue;
        if (namesFolder && path != AsciiLower(program)) {
            if (!longProgram) longProgram = AsciiLower(GetLongPath(sys, program));
            if (longProgram->empty() || AsciiLower(GetLongPath(sys, found)) != *longProgram)
                continue;
        }
        pids.insert(process.pid);
    }
    match.running = !pids.empty();
    if (!match.running) return match;
    for (const platform::TcpRow& row : Sockets())
        if (pids.contains(row.owningPid)) match.sockets.push_back(row);
    return match;
}

}  // namespace zorvik

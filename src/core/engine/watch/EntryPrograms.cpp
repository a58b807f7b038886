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

bool SamePath(const std::string& lowerProgram, const std::string& lowerPath) {
    return !lowerPath.empty() && lowerProgram == lowerPath;
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
    for (std::size_t blank = command.find_first_of(kBlanks); blank != std::string::npos;
         blank = command.find_first_of(kBlanks, blank + 1)) {
        if (EndsInProgramExtension(command.substr(0, blank))) return command.substr(0, blank);
    }
    if (EndsInProgramExtension(command)) return command;
    return command.substr(0, command.find_first_of(kBlanks));
}

RunningPrograms RunningPrograms::Take(platform::System& sys, platform::TcpTable* table) {
    RunningPrograms running;
    std::set<std::uint32_t> pids;
    if (const std::optional<ProcessSnapshot> snapshot = TakeProcessSnapshot(sys))
        for (const std::uint32_t pid : snapshot->ProcessIds()) pids.insert(pid);
    if (table) {
        for (const platform::AddressFamily family :
             {platform::AddressFamily::V4, platform::AddressFamily::V6}) {
            if (!table->Supports(family)) continue;
            const auto rows = table->Rows(family);
            if (!rows) continue;
            for (const platform::TcpRow& row : *rows) {
                running.sockets_.push_back(row);
                pids.insert(row.owningPid);
            }
        }
    }
    for (const std::uint32_t pid : pids) {
        const std::string path = GetProcessPath(sys, pid);
        if (path.empty() || path == kUnknownProcessPath) continue;
        running.processes_.push_back(
            {pid, AsciiLower(GetLongPath(sys, path)), AsciiLower(GetShortPath(sys, path))});
        if (running.processes_.back().longPath.empty())
            running.processes_.back().longPath = AsciiLower(path);
    }
    return running;
}

RunningPrograms::Match RunningPrograms::Of(platform::System& sys,
                                           const std::string& program) const {
    Match match;
    const std::string fileName = AsciiLower(ProgramFileNameOf(program));
    if (fileName.empty()) return match;
    const bool namesFolder = !ProgramFolderOf(program).empty();
    std::string lowerProgram = AsciiLower(program);
    if (namesFolder) {
        const std::string longForm = GetLongPath(sys, program);
        if (!longForm.empty()) lowerProgram = AsciiLower(longForm);
    }
    std::set<std::uint32_t> pids;
    for (const Process& process : processes_) {
        const bool sameName = ProgramFileNameOf(process.longPath) == fileName ||
                              ProgramFileNameOf(process.shortPath) == fileName;
        if (!sameName) continue;
        if (namesFolder && !SamePath(lowerProgram, process.longPath) &&
            !SamePath(AsciiLower(program), process.shortPath))
            continue;
        pids.insert(process.pid);
    }
    match.running = !pids.empty();
    for (const platform::TcpRow& row : sockets_)
        if (pids.contains(row.owningPid)) match.sockets.push_back(row);
    return match;
}

}  // namespace zorvik

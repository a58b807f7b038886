#include "core/engine/verdict/GatherFacts.h"

#include <optional>
#include <string_view>
#include <unordered_map>

#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"
#include "core/engine/modules/SystemFiles.h"
#include "core/engine/process/HijackTest.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/engine/startup/follow/AccountEnvironment.h"
#include "core/engine/startup/follow/FollowedFiles.h"
#include "core/engine/startup/kinds/TaskKind.h"
#include "core/engine/changes/StableKeys.h"
#include "core/engine/verdict/FolderClass.h"
#include "core/engine/watch/PlaceEntries.h"
#include "core/parse/TaskXml.h"

namespace zorvik {

namespace {

// The current user's COM classes, as the rules and class servers name their keys.
constexpr std::string_view kUserClassPrefixes[] = {
    "hkey_current_user\\software\\classes\\clsid\\",
    "hkey_current_user\\software\\classes\\wow6432node\\clsid\\"};
constexpr const char* kMachineClasses = "Software\\Classes\\CLSID\\";
constexpr std::size_t kClassIdLength = 38;  // "{" 8-4-4-4-12 "}"

// The command of a text: the quoted part, or up to the first blank; a trailing comma (as
// Winlogon's Userinit keeps it) is no part of the path.
std::string CommandOf(const std::string& text) {
    std::string command;
    if (!text.empty() && text[0] == '"') {
        const std::size_t close = text.find('"', 1);
        command = text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    } else {
        command = text.substr(0, text.find(' '));
    }
    while (!command.empty() && command.back() == ',') command.pop_back();
    return command;
}

// The class id of a current user's class key the text names, or empty.
std::string UserClassIdIn(const std::string& lowerKey) {
    for (const std::string_view prefix : kUserClassPrefixes) {
        const std::size_t at = lowerKey.find(prefix);
        if (at == std::string::npos) continue;
        const std::string id = lowerKey.substr(at + prefix.size(), kClassIdLength);
        if (id.size() == kClassIdLength && id.front() == '{' && id.back() == '}') return id;
    }
    return {};
}

}  // namespace

std::string OtherFileStarted(platform::System& sys, const std::string& expandedText,
                             const std::string& programPath, const std::string& shortPath) {
    const std::string lowerText = AsciiLower(expandedText);
    const std::string lowerProgram = AsciiLower(programPath);
    const std::string lowerShort = AsciiLower(shortPath);
    if (lowerText.find(lowerProgram) != std::string::npos ||
        (!lowerShort.empty() && lowerText.find(lowerShort) != std::string::npos))
        return {};
    const std::string command = CommandOf(expandedText);
    if (!IsAbsolutePath(command)) return {};
    const std::string lowerCommand = AsciiLower(command);
    if (lowerCommand == lowerProgram || lowerCommand == lowerShort) return {};
    const std::string name = AsciiLower(ProgramFileNameOf(command));
    if (name != AsciiLower(ProgramFileNameOf(programPath)) &&
        name != AsciiLower(ProgramFileNameOf(shortPath)))
        return {};
    if (!IsExistingFile(sys, command)) return {};
    const std::string longPath = sys.files().LongPath(command);
    // Its long form may be the program's after all (a short form in the text).
    if (AsciiLower(longPath) == lowerProgram) return {};
    return longPath.empty() ? command : longPath;
}

struct FactsGathering::State {
    platform::System& sys;
    VerdictCache& cache;
    std::string windowsDirectory;
    std::string systemFolder;
    // Whether a file of that name lies in the system folder, by lower-case name.
    std::unordered_map<std::string, bool> systemNames;
    std::optional<std::vector<platform::ScheduledTask>> tasks;  // listed at the first task hit

    bool InSystemFolderByName(const std::string& name) {
        const std::string lower = AsciiLower(name);
        const auto known = systemNames.find(lower);
        if (known != systemNames.end()) return known->second;
        const bool exists = IsExistingFile(sys, systemFolder + "\\" + name);
        systemNames.emplace(lower, exists);
        return exists;
    }

    bool TaskHidden(const TaskStart& hit) {
        if (!tasks) tasks = sys.tasks() ? sys.tasks()->List() : std::vector<platform::ScheduledTask>{};
        const std::string path = AsciiLower(hit.Task);
        for (const platform::ScheduledTask& task : *tasks)
            if (AsciiLower(task.path) == path) return task.hidden;
        // Only the file tells (a scheduler that lists no tasks, as Wine's).
        if (hit.File.empty() || IsWorkItemTask(hit.File)) return false;
        const std::optional<std::string> bytes = ReadSmallFile(sys, hit.File, kTaskFileLimit);
        if (!bytes) return false;
        const std::optional<parse::TaskDefinition> definition = parse::ParseTaskXml(*bytes);
        return definition && definition->hidden;
    }

    std::string UserClassOverMachine(const std::string& key) {
        const std::string id = UserClassIdIn(AsciiLower(key));
        if (id.empty()) return {};
        const platform::RegKey machine =
            platform::OpenKey(sys.registry(), platform::RootKey::LocalMachine,
                              kMachineClasses + id, platform::KeyAccess::Read);
        return machine ? key : std::string();
    }

    void AddModules(const ProcessRow& row, ProgramFacts& facts) {
        if (!row.processId) return;
        std::optional<platform::PathList> modules = sys.processes().LoadedModules(*row.processId);
        if (!modules) return;
        modules->DropFirst();
        const std::string lowerWindows = AsciiLower(windowsDirectory) + "\\";
        for (std::size_t i = 0; i < modules->size(); ++i) {
            const std::string path((*modules)[i]);
            // Below the Windows folder lie its own copies (WinSxS, the system folders).
            if (AsciiLower(path).starts_with(lowerWindows)) continue;
            if (!InSystemFolderByName(ProgramFileNameOf(path))) continue;
            const CachedFileFacts& module = cache.Module(sys, path);
            const platform::SignatureVerdict* trusted =
                module.signature.embedded.state == platform::SignatureState::Trusted
                    ? &module.signature.embedded
                    : module.signature.catalog ? &*module.signature.catalog : nullptr;
            facts.systemNamedModules.push_back(
                {path, trusted ? trusted->state : module.signature.embedded.state});
        }
    }
};

FactsGathering::FactsGathering(platform::System& sys, VerdictCache& cache)
    : state_(std::make_unique<State>(State{sys, cache, sys.files().WindowsDirectory(),
                                           sys.files().SystemDirectory(), {}, std::nullopt})) {}

FactsGathering::~FactsGathering() = default;

ProgramFacts FactsGathering::Gather(const ProcessRow& row, const CachedFileFacts& file,
                                    std::vector<std::string>& startsOther) {
    State& state = *state_;
    platform::System& sys = state.sys;
    ProgramFacts facts;
    facts.path = row.caption;
    facts.windowsDirectory = state.windowsDirectory;
    facts.fileReadable = file.file && file.file->readable;
    facts.signature = file.signature;
    facts.version = file.version;
    facts.attributes = sys.files().Attributes(row.caption);
    facts.systemOwnFile = facts.fileReadable && InSystemFolder(sys, row.caption) &&
                          OriginalNameReason(file.version, row.caption).empty();
    const FolderPlace folder = FolderPlaceOf(row.caption, state.windowsDirectory);
    if (folder.folderClass == FolderClass::Other && sys.fileFacts())
        facts.folderWritableByUsers = sys.fileFacts()->FolderWritableByUsers(folder.folder);

    startsOther.clear();
    if (row.data) {
        const ProcInfo& findings = *row.data;
        const std::string shortPath = sys.files().ShortPath(row.caption);
        ForEachHit(findings, [&](StartupHit hit) {
            const std::string text = ExpandVariables(sys, HitTextOf(findings, hit));
            const HitTrail* trail = TrailOf(findings, hit);
            const bool followed = trail && (!trail->RunsInstead.empty() || !trail->Script.empty());
            std::string other = followed || HitModule(findings, hit)
                                    ? std::string()
                                    : OtherFileStarted(sys, text, row.caption, shortPath);
            const bool own = other.empty();
            startsOther.push_back(std::move(other));
            if (!own) return;
            const EntryPlace where = EntryPlaceOf(findings, hit);
            OwnStartEntry entry{hit.kind, where.place, where.name, AsciiLower(text),
                             trail ? trail->Script : std::string(), false, {}};
            if (hit.kind == StartupKind::Task)
                entry.hiddenTask = state.TaskHidden(findings.TaskList.at(hit.index));
            entry.userClassOverMachine = state.UserClassOverMachine(where.place);
            if (entry.userClassOverMachine.empty() && trail && !trail->Server.empty())
                entry.userClassOverMachine = state.UserClassOverMachine(trail->Server);
            facts.entries.push_back(std::move(entry));
        });
        for (const ExeStart& exe : findings.ExeList)
            if (!exe.Replaced.empty()) facts.replaced.push_back(exe.Replaced);
    }
    state.AddModules(row, facts);

    const std::size_t hijack = row.details.rfind(kHijackVerdict);
    facts.hijacked = hijack != std::string::npos;
    if (facts.hijacked) {
        const std::size_t parent = row.details.rfind(kStartedByPrefix, hijack);
        if (parent != std::string::npos) {
            const std::size_t from = parent + std::string_view(kStartedByPrefix).size();
            facts.startedBy = row.details.substr(from, hijack - from);
        }
    }
    return facts;
}

}  // namespace zorvik

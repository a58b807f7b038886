#include "core/engine/startup/StartupKinds.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "core/engine/startup/kinds/BitsKind.h"
#include "core/engine/startup/kinds/ExeKind.h"
#include "core/engine/startup/kinds/FolderKind.h"
#include "core/engine/startup/kinds/ProfileKind.h"
#include "core/engine/startup/kinds/RegistryKind.h"
#include "core/engine/startup/kinds/ServiceKind.h"
#include "core/engine/startup/kinds/ShimKind.h"
#include "core/engine/startup/kinds/ShortcutKind.h"
#include "core/engine/startup/kinds/TaskKind.h"
#include "core/engine/startup/kinds/TerminalKind.h"
#include "core/engine/startup/kinds/TextFileKind.h"
#include "core/engine/startup/kinds/WmiKind.h"

namespace zorvik {

namespace {

template <auto List>
constexpr HitListAccess ListAccess() {
    return {
        [](const ProcInfo& findings) { return (findings.*List).size(); },
        [](const ProcInfo& findings, std::size_t index) { return (findings.*List).at(index).Disabled; },
        [](ProcInfo& findings, std::size_t index) -> bool* {
            auto& hits = findings.*List;
            return index < hits.size() ? &hits[index].Disabled : nullptr;
        },
        [](ProcInfo& from, ProcInfo& to) {
            for (auto& hit : from.*List) (to.*List).push_back(std::move(hit));
        },
        [](const ProcInfo& findings, std::size_t index) -> const std::string& {
            return (findings.*List).at(index).Text;
        },
        [](ProcInfo& findings, const std::string& text) {
            auto& hits = findings.*List;
            if (!hits.empty()) hits.back().Text = text;
        },
        [](ProcInfo& findings, std::size_t index) -> HitTrail* {
            auto& hits = findings.*List;
            return index < hits.size() ? &hits[index].Trail : nullptr;
        },
        [](const ProcInfo& findings, std::size_t index) -> const HitTrail* {
            const auto& hits = findings.*List;
            return index < hits.size() ? &hits[index].Trail : nullptr;
        },
    };
}

StartupApproval NoApproval(platform::System&, const ProcInfo&, std::size_t) {
    return StartupApproval::Unknown;
}

// For a kind whose Disable is refused (noDisable): never called.
DisableOutcome NoDisable(platform::System&, const ProcInfo&, std::size_t, const std::string&) {
    return {};
}

const StartupKindRow kRows[] = {
    {
        .kind = StartupKind::Reg,
        .name = "REG",
        .readPlaces = ReadRegistryPlaces,
        .record = [](const StartupSpot& spot, const StartupText& text, bool disabled,
                     ProcInfo& findings) {
            findings.RegList.push_back({spot.where, spot.key, text.valueName, disabled});
        },
        .hits = ListAccess<&ProcInfo::RegList>(),
        .columns = [](const ProcInfo& findings, std::size_t i) -> std::vector<std::string> {
            const RegStart& hit = findings.RegList.at(i);
            return {hit.Root, hit.Key, hit.Name};
        },
        .approval = [](platform::System& sys, const ProcInfo& findings, std::size_t i) {
            return RunValueApproval(sys, findings.RegList.at(i));
        },
        .opening = [](const ProcInfo& findings, std::size_t i) {
            return RegistryOpening(findings.RegList.at(i));
        },
        .disable = [](platform::System& sys, const ProcInfo& findings, std::size_t i,
                      const std::string& programFileName) {
            return DisableRegistryValue(sys, findings.RegList.at(i), programFileName);
        },
        .watchedPlaces = WatchRegistryPlaces,
    },
    {
        .kind = StartupKind::Ini,
        .name = "INI",
        .readPlaces = ReadProfilePlaces,
        .record = [](const StartupSpot& spot, const StartupText&, bool disabled,
                     ProcInfo& findings) {
            findings.IniList.push_back({spot.where, spot.key, spot.ident, disabled});
        },
        .hits = ListAccess<&ProcInfo::IniList>(),
        .columns = [](const ProcInfo& findings, std::size_t i) -> std::vector<std::string> {
            const IniStart& hit = findings.IniList.at(i);
            return {hit.FileName, hit.Section, hit.Ident};
        },
        .approval = NoApproval,
        .opening = [](const ProcInfo& findings, std::size_t i) {
            return ProfileOpening(findings.IniList.at(i));
        },
        .disable = [](platform::System& sys, const ProcInfo& findings, std::size_t i,
                      const std::string&) {
            return DisableProfileEntry(sys, findings.IniList.at(i));
        },
        .watchedPlaces = WatchProfilePlaces,
        .entryPlace = [](const ProcInfo& findings, std::size_t i) {
            return ProfileEntryPlace(findings.IniList.at(i));
        },
    },
    {
        .kind = StartupKind::Fol,
        .name = "FOL",
        .readPlaces = ReadFolderPlaces,
        .record = [](const StartupSpot& spot, const StartupText& text, bool disabled,
                     ProcInfo& findings) {
            findings.FolList.push_back({spot.where, disabled, text.valueName});
        },
        .hits = ListAccess<&ProcInfo::FolList>(),
        .columns = [](const ProcInfo& findings, std::size_t i) -> std::vector<std::string> {
            return {findings.FolList.at(i).Path};
        },
        .keyParts = [](const ProcInfo& findings, std::size_t i) -> std::vector<std::string> {
            const FilStart& hit = findings.FolList.at(i);
            return {hit.Path, hit.Entry};
        },
        .approval = [](platform::System& sys, const ProcInfo& findings, std::size_t i) {
            return FolderEntryApproval(sys, findings.FolList.at(i));
        },
        .opening = [](const ProcInfo& findings, std::size_t i) {
            return FolderOpening(findings.FolList.at(i));
        },
        .disable = [](platform::System& sys, const ProcInfo& findings, std::size_t i,
                      const std::string& programFileName) {
            return DisableFolderEntry(sys, findings.FolList.at(i), programFileName);
        },
        .watchedPlaces = WatchFolderPlaces,
    },
    {
        .kind = StartupKind::Fil,
        .name = "FIL",
        .readPlaces = ReadTextFilePlaces,
        .record = [](const StartupSpot& spot, const StartupText&, bool disabled,
                     ProcInfo& findings) { findings.FilList.push_back({spot.where, disabled, {}}); },
        .hits = ListAccess<&ProcInfo::FilList>(),
        .columns = [](const ProcInfo& findings, std::size_t i) -> std::vector<std::string> {
            return {findings.FilList.at(i).Path};
        },
        .approval = NoApproval,
        .opening = [](const ProcInfo& findings, std::size_t i) {
            return TextFileOpening(findings.FilList.at(i));
        },
        .disable = [](platform::System& sys, const ProcInfo& findings, std::size_t i,
                      const std::string& programFileName) {
            return DisableTextFileLines(sys, findings.FilList.at(i).Path, programFileName);
        },
        .watchedPlaces = WatchTextFilePlaces,
    },
    {
        .kind = StartupKind::Svc,
        .name = "SVC",
        .readPlaces = ReadServicePlaces,
        .record = [](const StartupSpot& spot, const StartupText& text, bool disabled,
                     ProcInfo& findings) {
            findings.SvcList.push_back(
                {spot.where, spot.key, spot.ident, text.valueName, spot.startType, disabled});
        },
        .hits = ListAccess<&ProcInfo::SvcList>(),
        .columns = [](const ProcInfo& findings, std::size_t i) -> std::vector<std::string> {
            const SvcStart& hit = findings.SvcList.at(i);
            return {hit.Service, hit.Value, StartTypeText(hit.StartType)};
        },
        // The start type is the entry's state, not where it is: Disable changes it.
        .keyParts = [](const ProcInfo& findings, std::size_t i) -> std::vector<std::string> {
            const SvcStart& hit = findings.SvcList.at(i);
            return {hit.Root, hit.Key, hit.Value};
        },
        .approval = NoApproval,
        .opening = [](const ProcInfo& findings, std::size_t i) {
            return ServiceOpening(findings.SvcList.at(i));
        },
        .disable = [](platform::System& sys, const ProcInfo& findings, std::size_t i,
                      const std::string&) { return DisableService(sys, findings.SvcList.at(i)); },
        .tipLine = [](const ProcInfo& findings, std::size_t i) {
            const SvcStart& hit = findings.SvcList.at(i);
            return "Service " + hit.Service + ": start type " + StartTypeText(hit.StartType);
        },
        .watchedPlaces = WatchServicePlaces,
    },
    {
        .kind = StartupKind::Task,
        .name = "TASK",
        .readPlaces = ReadTaskPlaces,
        .record = [](const StartupSpot& spot, const StartupText& text, bool disabled,
                     ProcInfo& findings) {
            findings.TaskList.push_back({spot.where, spot.key, text.valueName, disabled});
            findings.TaskList.back().CacheKey = spot.ident;
        },
        .hits = ListAccess<&ProcInfo::TaskList>(),
        .columns = [](const ProcInfo& findings, std::size_t i) {
            return TaskColumns(findings.TaskList.at(i));
        },
        // The task, whatever it runs: its programs are the texts of one entry.
        .keyParts = [](const ProcInfo& findings, std::size_t i) -> std::vector<std::string> {
            return {findings.TaskList.at(i).Task};
        },
        .approval = NoApproval,
        .opening = [](const ProcInfo& findings, std::size_t i) {
            return TaskOpening(findings.TaskList.at(i));
        },
        .disable = [](platform::System& sys, const ProcInfo& findings, std::size_t i,
                      const std::string&) {
            return DisableScheduledTask(sys, findings.TaskList.at(i));
        },
        .tipLine = [](const ProcInfo& findings, std::size_t i) {
            return TaskTipLine(findings.TaskList.at(i));
        },
        .watchedPlaces = WatchTaskPlaces,
    },
    {
        .kind = StartupKind::Lnk,
        .name = "LNK",
        .readPlaces = ReadShortcutPlaces,
        .record = [](const StartupSpot& spot, const StartupText&, bool disabled,
                     ProcInfo& findings) {
            findings.LnkList.push_back({spot.where, spot.key, spot.ident, disabled});
        },
        .hits = ListAccess<&ProcInfo::LnkList>(),
        .columns = [](const ProcInfo& findings, std::size_t i) -> std::vector<std::string> {
            const LnkStart& hit = findings.LnkList.at(i);
            return {hit.Folder, hit.Entry, hit.Target};
        },
        .keyParts = [](const ProcInfo& findings, std::size_t i) -> std::vector<std::string> {
            const LnkStart& hit = findings.LnkList.at(i);
            return {hit.Folder, hit.Entry};
        },
        .approval = [](platform::System& sys, const ProcInfo& findings, std::size_t i) {
            const LnkStart& hit = findings.LnkList.at(i);
            return FolderEntryApproval(sys, hit.Folder, hit.Entry);
        },
        .opening = [](const ProcInfo& findings, std::size_t i) {
            return ShortcutOpening(findings.LnkList.at(i));
        },
        .disable = [](platform::System& sys, const ProcInfo& findings, std::size_t i,
                      const std::string&) { return DisableShortcut(sys, findings.LnkList.at(i)); },
        .watchedPlaces = WatchShortcutPlaces,
    },
    {
        .kind = StartupKind::Exe,
        .name = "EXE",
        .readPlaces = ReadExePlaces,
        .record = [](const StartupSpot& spot, const StartupText&, bool disabled,
                     ProcInfo& findings) {
            findings.ExeList.push_back({spot.where, {}, disabled});
        },
        .hits = ListAccess<&ProcInfo::ExeList>(),
        .columns = [](const ProcInfo& findings, std::size_t i) -> std::vector<std::string> {
            const ExeStart& hit = findings.ExeList.at(i);
            if (hit.Replaced.empty()) return {hit.Path};
            return {hit.Path, "not the system's own file: " + hit.Replaced};
        },
        // Whether the file there is the system's own is the entry's state, not where it is.
        .keyParts = [](const ProcInfo& findings, std::size_t i) -> std::vector<std::string> {
            return {findings.ExeList.at(i).Path};
        },
        .approval = NoApproval,
        .opening = [](const ProcInfo& findings, std::size_t i) {
            return ExeOpening(findings.ExeList.at(i));
        },
        .disable = NoDisable,
        // Not watched: the program is found only while it runs with sockets, which no change
        // to its folder tells.
        .noDisable = kExeNoDisable,
    },
    {
        .kind = StartupKind::Wmi,
        .name = "WMI",
        .readPlaces = ReadWmiPlaces,
        .record = [](const StartupSpot& spot, const StartupText& text, bool disabled,
                     ProcInfo& findings) {
            findings.WmiList.push_back(
                {spot.where, spot.key, text.valueName, spot.ident, disabled});
        },
        .hits = ListAccess<&ProcInfo::WmiList>(),
        .columns = [](const ProcInfo& findings, std::size_t i) -> std::vector<std::string> {
            const WmiStart& hit = findings.WmiList.at(i);
            return {hit.Class, hit.Name, WmiCommandLine(hit)};
        },
        // A consumer is told by its class, its name and the property read; the command is
        // what the entry says.
        .keyParts = [](const ProcInfo& findings, std::size_t i) -> std::vector<std::string> {
            const WmiStart& hit = findings.WmiList.at(i);
            return {hit.Class, hit.Name, hit.Property};
        },
        .approval = NoApproval,
        .opening = [](const ProcInfo&, std::size_t) { return PlaceOpening{}; },
        .disable = NoDisable,
        // Nothing to watch: WMI tells no change to its repository that the platform follows.
        // A new consumer: "... in CommandLineEventConsumer Updater", its property the name.
        .entryPlace = [](const ProcInfo& findings, std::size_t i) {
            const WmiStart& hit = findings.WmiList.at(i);
            return EntryPlace{hit.Class + " " + hit.Name, hit.Property};
        },
        .noShow = kWmiNoShow,
        .noDisable = kWmiNoDisable,
    },
    {
        .kind = StartupKind::Sdb,
        .name = "SDB",
        .readPlaces = ReadShimPlaces,
        .record = [](const StartupSpot& spot, const StartupText& text, bool disabled,
                     ProcInfo& findings) {
            findings.ShimList.push_back({spot.where, text.valueName, disabled});
        },
        .hits = ListAccess<&ProcInfo::ShimList>(),
        .columns = [](const ProcInfo& findings, std::size_t i) -> std::vector<std::string> {
            const FileEntryStart& hit = findings.ShimList.at(i);
            return {hit.File, hit.Entry};
        },
        .approval = NoApproval,
        .opening = [](const ProcInfo& findings, std::size_t i) {
            return ShimOpening(findings.ShimList.at(i));
        },
        .disable = [](platform::System& sys, const ProcInfo& findings, std::size_t i,
                      const std::string&) {
            return DisableShimDatabase(sys, findings.ShimList.at(i));
        },
        .watchedPlaces = WatchShimPlaces,
    },
    {
        .kind = StartupKind::Terminal,
        .name = "TERMINAL",
        .readPlaces = ReadTerminalPlaces,
        .record = [](const StartupSpot& spot, const StartupText& text, bool disabled,
                     ProcInfo& findings) {
            findings.TerminalList.push_back({spot.where, text.valueName, disabled});
        },
        .hits = ListAccess<&ProcInfo::TerminalList>(),
        .columns = [](const ProcInfo& findings, std::size_t i) -> std::vector<std::string> {
            const FileEntryStart& hit = findings.TerminalList.at(i);
            return {hit.File, hit.Entry};
        },
        // The file alone: the default profile is the entry's state, not where it is.
        .keyParts = [](const ProcInfo& findings, std::size_t i) -> std::vector<std::string> {
            return {findings.TerminalList.at(i).File};
        },
        .approval = NoApproval,
        .opening = [](const ProcInfo& findings, std::size_t i) {
            return TerminalOpening(findings.TerminalList.at(i));
        },
        .disable = NoDisable,
        .watchedPlaces = WatchTerminalPlaces,
        .noDisable = kTerminalNoDisable,
    },
    {
        .kind = StartupKind::Bits,
        .name = "BITS",
        .readPlaces = ReadBitsPlaces,
        .record = [](const StartupSpot& spot, const StartupText&, bool disabled,
                     ProcInfo& findings) {
            findings.BitsList.push_back({spot.where, spot.key, spot.ident, disabled});
        },
        .hits = ListAccess<&ProcInfo::BitsList>(),
        .columns = [](const ProcInfo& findings, std::size_t i) -> std::vector<std::string> {
            const BitsStart& hit = findings.BitsList.at(i);
            return {hit.Job, hit.Id, hit.Command};
        },
        // The job's id alone: its name is anyone's choice, its command what the entry says.
        .keyParts = [](const ProcInfo& findings, std::size_t i) -> std::vector<std::string> {
            return {findings.BitsList.at(i).Id};
        },
        .approval = NoApproval,
        .opening = [](const ProcInfo&, std::size_t) { return PlaceOpening{}; },
        .disable = [](platform::System& sys, const ProcInfo& findings, std::size_t i,
                      const std::string&) { return DisableBitsJob(sys, findings.BitsList.at(i)); },
        // Nothing to watch: BITS tells no change to its queue that the platform follows.
        // A new job: "... in BITS job Updater", its id the name.
        .entryPlace = [](const ProcInfo& findings, std::size_t i) {
            const BitsStart& hit = findings.BitsList.at(i);
            return EntryPlace{std::string(kBitsJobPlace) + " " + hit.Job, hit.Id};
        },
        .noShow = kBitsNoShow,
    },
};

const std::pair<RegAction, const char*> kRegActions[] = {
    {RegAction::Check, "CHECK"},
    {RegAction::Enum, "ENUM"},
    {RegAction::Enum2, "ENUM2"},
    {RegAction::Match, "MATCH"},
};

}  // namespace

std::span<const StartupKindRow> StartupKindRows() { return kRows; }

const StartupKindRow& RowOf(StartupKind kind) {
    for (const StartupKindRow& row : kRows)
        if (row.kind == kind) return row;
    // Every kind has its row; reaching here is a table left incomplete.
    std::terminate();
}

std::optional<StartupKind> StartupKindNamed(const std::string& text) {
    for (const StartupKindRow& row : kRows)
        if (text == row.name) return row.kind;
    return std::nullopt;
}

const char* StartupCaption(StartupKind kind) { return RowOf(kind).name; }

RegAction RegActionOf(const std::string& text) {
    for (const auto& [action, name] : kRegActions)
        if (text == name) return action;
    return RegAction::None;
}

std::vector<std::string> StartupTypeNames() {
    std::vector<std::string> names;
    for (const StartupKindRow& row : kRows) names.push_back(row.name);
    return names;
}

std::vector<std::string> RegActionNames() {
    std::vector<std::string> names;
    for (const auto& action : kRegActions) names.push_back(action.second);
    return names;
}

void ForEachHit(const ProcInfo& findings, const std::function<void(StartupHit)>& visit) {
    for (const StartupKindRow& row : kRows) {
        const std::size_t count = row.hits.count(findings);
        for (std::size_t i = 0; i < count; ++i) visit({row.kind, i});
    }
}

std::size_t HitCount(const ProcInfo& findings) {
    std::size_t count = 0;
    for (const StartupKindRow& row : kRows) count += row.hits.count(findings);
    return count;
}

std::vector<std::string> HitTipLines(const ProcInfo& findings) {
    std::vector<std::string> lines;
    ForEachHit(findings, [&](StartupHit hit) {
        const auto tipLine = RowOf(hit.kind).tipLine;
        if (!tipLine) return;
        std::string line = tipLine(findings, hit.index);
        if (line.empty()) return;
        if (std::find(lines.begin(), lines.end(), line) == lines.end())
            lines.push_back(std::move(line));
    });
    for (std::string& line : ModuleTipLines(findings)) lines.push_back(std::move(line));
    return lines;
}

void MoveHits(ProcInfo& from, ProcInfo& to) {
    // The module hits follow their hits to the places these take in to's lists.
    for (ModuleHit& hit : from.ModuleHits) {
        hit.Index += RowOf(hit.Kind).hits.count(to);
        to.ModuleHits.push_back(std::move(hit));
    }
    from.ModuleHits.clear();
    for (const StartupKindRow& row : kRows) row.hits.moveAll(from, to);
}

bool* HitDisabledFlag(ProcInfo& findings, StartupHit hit) {
    return RowOf(hit.kind).hits.disabledFlag(findings, hit.index);
}

std::vector<std::string> ModuleTipLines(const ProcInfo& findings) {
    std::vector<std::string> lines;
    for (const ModuleHit& hit : findings.ModuleHits) {
        std::string line = "Found in module " + hit.Module;
        if (std::find(lines.begin(), lines.end(), line) == lines.end())
            lines.push_back(std::move(line));
    }
    return lines;
}

const std::string* HitModule(const ProcInfo& findings, StartupHit hit) {
    for (const ModuleHit& module : findings.ModuleHits)
        if (module.Kind == hit.kind && module.Index == hit.index) return &module.Module;
    return nullptr;
}

const HitTrail* TrailOf(const ProcInfo& findings, StartupHit hit) {
    return RowOf(hit.kind).hits.trailOf(findings, hit.index);
}

}  // namespace zorvik

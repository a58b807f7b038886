#include <optional>

#include "core/base/FixedTexts.h"
#include "core/base/untFunc.h"
#include "core/engine/startup/follow/FollowedFiles.h"
#include "core/engine/startup/kinds/TerminalKind.h"
#include "core/parse/TerminalSettings.h"

namespace zorvik {

namespace {

struct AccountFile {
    std::string path;
    std::string profile;  // the account's profile folder, for its variables
};

std::vector<AccountFile> AccountFiles(const ScanRule& rule, platform::System& sys,
                                      const StrAr& accounts) {
    std::vector<AccountFile> files;
    if (rule.path.empty()) return files;
    const std::string base = GetWindowsDrive(sys) + rule.path;
    const std::size_t user = base.find(kUserPlaceholder);
    if (user == std::string::npos) return {{base, {}}};
    for (const std::string& account : accounts)
        files.push_back({ReplaceAll(base, kUserPlaceholder, account), base.substr(0, user) + account});
    return files;
}

}  // namespace

void ReadTerminalPlaces(const ScanRule& rule, PlaceReading& reading) {
    platform::System& sys = reading.sys();
    for (const AccountFile& file : AccountFiles(rule, sys, reading.Accounts())) {
        const std::optional<std::string> bytes =
            ReadSmallFile(sys, file.path, kTerminalSettingsLimit);
        if (!bytes) continue;
        const std::optional<parse::TerminalStartup> startup = parse::ParseTerminalSettings(*bytes);
        if (!startup || !startup->startOnUserLogin || startup->commandLine.empty()) continue;
        reading.SetAccountProfile(file.profile);
        const std::uint32_t spot = reading.AddSpot(StartupKind::Terminal, file.path);
        reading.AddText(spot, reading.Expand(startup->commandLine), startup->profile);
    }
}

void WatchTerminalPlaces(const ScanRule& rule, WatchedPlaceList& places) {
    for (const AccountFile& file : AccountFiles(rule, places.sys(), places.Accounts()))
        places.AddFolderOf(file.path);
}

PlaceOpening TerminalOpening(const FileEntryStart& hit) {
    return {kTextEditor, hit.File, std::nullopt};
}

}  // namespace zorvik

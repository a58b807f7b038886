#include <optional>
#include <unordered_set>

#include "core/base/AsciiLower.h"
#include "core/base/FixedTexts.h"
#include "core/base/untFunc.h"
#include "core/engine/startup/RegistryText.h"
#include "core/engine/startup/follow/FollowedFiles.h"
#include "core/engine/startup/kinds/ShimKind.h"
#include "core/parse/ShimDatabase.h"

namespace zorvik {

namespace {

constexpr const char* kDatabaseExtension = ".sdb";
// Below the rule's folder: the databases of 64-bit programs.
constexpr const char* k64BitFolder = "\\Custom64";
constexpr const char* kInstalledKeys[] = {
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\InstalledSDB",
    "Software\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\InstalledSDB",
};
constexpr const char* kDatabasePathValue = "DatabasePath";

struct DatabaseFile {
    std::string path;
    bool disabled = false;
};

class DatabaseList {
public:
    void Add(std::string path, bool disabled) {
        if (seen_.insert(AsciiLower(path)).second) files_.push_back({std::move(path), disabled});
    }
    const std::vector<DatabaseFile>& Files() const { return files_; }

private:
    std::unordered_set<std::string> seen_;
    std::vector<DatabaseFile> files_;
};

void ListFolder(platform::Files& files, const std::string& folder, DatabaseList& out) {
    const auto entries = files.List(folder + "\\*");
    if (!entries) return;
    const std::string disabledExtension = std::string(kDatabaseExtension) + kBackupSuffix;
    for (const platform::FindEntry& entry : *entries) {
        if (entry.attributes & platform::kAttrDirectory) continue;
        const std::string lower = AsciiLower(entry.name);
        if (lower.ends_with(kDatabaseExtension)) out.Add(folder + "\\" + entry.name, false);
        else if (lower.ends_with(disabledExtension)) out.Add(folder + "\\" + entry.name, true);
    }
}

// The databases the registry registers: one renamed to ".bak" since is a disabled entry.
void ListRegistered(PlaceReading& reading, DatabaseList& out) {
    platform::System& sys = reading.sys();
    platform::Registry& reg = sys.registry();
    for (const char* installed : kInstalledKeys) {
        std::vector<std::string> ids;
        {
            const platform::RegKey key = platform::OpenKey(reg, platform::RootKey::LocalMachine,
                                                           installed, platform::KeyAccess::Read);
            if (!key) continue;
            ids = reg.SubKeyNames(key.get());
        }
        for (const std::string& id : ids) {
            const platform::RegKey key =
                platform::OpenKey(reg, platform::RootKey::LocalMachine,
                                  std::string(installed) + "\\" + id, platform::KeyAccess::Read);
            const std::optional<std::string> path =
                key ? ReadTextValue(reg, key.get(), kDatabasePathValue) : std::nullopt;
            if (!path || path->empty()) continue;
            const std::string file = reading.Expand(*path);
            if (IsExistingFile(sys, file)) out.Add(file, false);
            else if (IsExistingFile(sys, file + kBackupSuffix)) out.Add(file + kBackupSuffix, true);
        }
    }
}

void ReadDatabase(PlaceReading& reading, const DatabaseFile& file) {
    const std::optional<std::string> bytes =
        ReadSmallFile(reading.sys(), file.path, kShimDatabaseSizeLimit);
    if (!bytes) return;
    const std::optional<parse::ShimDatabase> database = parse::ParseShimDatabase(*bytes);
    if (!database) return;
    const std::uint32_t spot = reading.AddSpot(StartupKind::Sdb, file.path, database->name);
    for (const std::string& dll : database->shimDlls)
        reading.AddText(spot, dll, kShimDllEntry, file.disabled);
    for (const parse::ShimFix& fix : database->fixes)
        reading.AddText(spot, fix.commandLine, fix.program + ": " + fix.shim, file.disabled);
}

}  // namespace

void ReadShimPlaces(const ScanRule& rule, PlaceReading& reading) {
    DatabaseList databases;
    if (!rule.path.empty()) {
        const std::string folder = GetWindowsDrive(reading.sys()) + rule.path;
        ListFolder(reading.sys().files(), folder, databases);
        ListFolder(reading.sys().files(), folder + k64BitFolder, databases);
    }
    ListRegistered(reading, databases);
    for (const DatabaseFile& file : databases.Files()) ReadDatabase(reading, file);
}

void WatchShimPlaces(const ScanRule& rule, WatchedPlaceList& places) {
    if (!rule.path.empty()) {
        const std::string folder = GetWindowsDrive(places.sys()) + rule.path;
        places.AddFolder(folder);
        places.AddFolder(folder + k64BitFolder);
    }
    for (const char* installed : kInstalledKeys)
        places.AddKey(platform::RootKey::LocalMachine, installed, true);
}

}  // namespace zorvik

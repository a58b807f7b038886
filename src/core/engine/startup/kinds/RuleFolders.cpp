#include "core/engine/startup/kinds/RuleFolders.h"

#include "core/base/AsciiLower.h"
#include "core/base/FixedTexts.h"
#include "core/base/untFunc.h"
#include "core/engine/startup/RegistryText.h"
#include "core/engine/startup/follow/AccountEnvironment.h"

namespace zorvik {

namespace {

constexpr const char* kUserShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

struct ShellFolderName {
    const char* name;
    platform::RootKey root;
};

constexpr ShellFolderName kShellFolders[] = {
    {"Startup", platform::RootKey::CurrentUser},
    {"Common Startup", platform::RootKey::LocalMachine},
};

const ShellFolderName* ShellFolderNamed(const std::string& name) {
    for (const ShellFolderName& folder : kShellFolders)
        if (AsciiLower(name) == AsciiLower(folder.name)) return &folder;
    return nullptr;
}

}  // namespace

std::vector<std::string> ShellFolderNames() {
    std::vector<std::string> names;
    for (const ShellFolderName& folder : kShellFolders) names.push_back(folder.name);
    return names;
}

std::optional<std::string> ShellFolderPath(platform::System& sys, const std::string& name) {
    const ShellFolderName* folder = ShellFolderNamed(name);
    if (!folder) return std::nullopt;
    platform::Registry& reg = sys.registry();
    const platform::RegKey key =
        platform::OpenKey(reg, folder->root, kUserShellFoldersKey, platform::KeyAccess::Read);
    if (!key) return std::nullopt;
    const std::optional<platform::RegValue> value = reg.Query(key.get(), folder->name);
    if (!value || !IsTextType(value->type)) return std::nullopt;
    std::string path = value->data.substr(0, value->data.find('\0'));
    if (value->type == platform::RegType::ExpandSz) path = ExpandVariables(sys, path);
    while (!path.empty() && path.back() == '\\') path.pop_back();
    if (path.empty()) return std::nullopt;
    return path;
}

std::vector<RuleFolder> RuleFolders(const ScanRule& rule, StartupKind kind, PlaceReading& reading) {
    platform::System& sys = reading.sys();
    std::vector<RuleFolder> folders;
    const std::string shellName = rule.Value("Folder");
    if (!shellName.empty()) {
        const std::optional<std::string> folder = ShellFolderPath(sys, shellName);
        if (folder && PathExists(sys, *folder) && reading.FirstTimeRead(kind, *folder))
            folders.push_back({*folder, {}});
        return folders;
    }
    const std::string base = GetWindowsDrive(sys) + rule.path;
    const std::size_t user = base.find(kUserPlaceholder);
    // A folder of no account (all users') is one place. FOL rules alone list it once per
    // account, as they always have; any other kind would give one entry per account, each
    // with the same key.
    if (user == std::string::npos && kind != StartupKind::Fol) {
        if (PathExists(sys, base)) {
            reading.FirstTimeRead(kind, base);
            folders.push_back({base, {}});
        }
        return folders;
    }
    for (const std::string& account : reading.Accounts()) {
        std::string folder = ReplaceAll(base, kUserPlaceholder, account);
        if (!PathExists(sys, folder)) continue;
        reading.FirstTimeRead(kind, folder);
        std::string profile =
            user == std::string::npos ? std::string() : base.substr(0, user) + account;
        folders.push_back({std::move(folder), std::move(profile)});
    }
    return folders;
}

void WatchRuleFolders(const ScanRule& rule, WatchedPlaceList& places) {
    const std::string shellName = rule.Value("Folder");
    if (!shellName.empty()) {
        const ShellFolderName* folder = ShellFolderNamed(shellName);
        if (!folder) return;
        places.AddKey(folder->root, kUserShellFoldersKey);
        if (const std::optional<std::string> path = ShellFolderPath(places.sys(), shellName))
            places.AddFolder(*path);
        return;
    }
    const std::string base = GetWindowsDrive(places.sys()) + rule.path;
    for (const std::string& account : places.Accounts())
        places.AddFolder(ReplaceAll(base, kUserPlaceholder, account));
}

}  // namespace zorvik

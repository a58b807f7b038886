#include "core/engine/startup/StartupApproval.h"

#include <string>

#include "core/base/AsciiLower.h"
#include "core/base/untFunc.h"
#include "core/engine/startup/RegistryText.h"
#include "core/engine/startup/StartupKinds.h"

namespace zorvik {

namespace {

constexpr const char* kApprovedKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";
constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kRunKeyTail = "\\currentversion\\run";
constexpr const char* kWow64Node = "\\wow6432node\\";

constexpr unsigned char kAllowedByte = 2;

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

StartupApproval FromFirstByte(const std::string& data) {
    if (data.empty()) return StartupApproval::Unknown;
    const auto first = static_cast<unsigned char>(data[0]);
    if (first == kAllowedByte) return StartupApproval::Allowed;
    if (first % 2 == 1) return StartupApproval::Disabled;
    return StartupApproval::Unknown;
}

StartupApproval ApprovalEntry(platform::System& sys, platform::RootKey root,
                              const std::string& list, const std::string& name) {
    const platform::RegKey approved =
        platform::OpenKey(sys.registry(), root, kApprovedKey + list, platform::KeyAccess::Read);
    if (!approved) return StartupApproval::Unknown;
    const std::optional<platform::RegValue> value = sys.registry().Query(approved.get(), name);
    return value ? FromFirstByte(value->data) : StartupApproval::Unknown;
}

std::string FolderForCompare(const std::string& path) {
    std::string folder = AsciiLower(path);
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

// Whether the shell names folder under the value valueName of its Shell Folders key in root.
bool IsShellFolder(platform::System& sys, platform::RootKey root, const char* valueName,
                   const std::string& folder) {
    const platform::RegKey key =
        platform::OpenKey(sys.registry(), root, kShellFoldersKey, platform::KeyAccess::Read);
    if (!key) return false;
    const std::optional<std::string> named = ReadTextValue(sys.registry(), key.get(), valueName);
    return named && !named->empty() && FolderForCompare(*named) == FolderForCompare(folder);
}

}  // namespace

StartupApproval RunValueApproval(platform::System& sys, const RegStart& hit) {
    const platform::RootKey root = RootKeyFromName(hit.Root);
    if (root != platform::RootKey::CurrentUser && root != platform::RootKey::LocalMachine)
        return StartupApproval::Unknown;
    std::string key = AsciiLower(hit.Key);
    if (!key.empty() && key.back() == '\\') key.pop_back();
    if (!EndsWith(key, kRunKeyTail)) return StartupApproval::Unknown;
    const bool wow64 = ("\\" + key).find(kWow64Node) != std::string::npos;

    return ApprovalEntry(sys, root, wow64 ? "Run32" : "Run", hit.Name);
}

StartupApproval FolderEntryApproval(platform::System& sys, const FilStart& hit) {
    return FolderEntryApproval(sys, hit.Path, hit.Entry);
}

StartupApproval FolderEntryApproval(platform::System& sys, const std::string& folder,
                                    const std::string& entry) {
    if (entry.empty()) return StartupApproval::Unknown;
    platform::RootKey root = platform::RootKey::None;
    if (IsShellFolder(sys, platform::RootKey::CurrentUser, "Startup", folder))
        root = platform::RootKey::CurrentUser;
    else if (IsShellFolder(sys, platform::RootKey::LocalMachine, "Common Startup", folder))
        root = platform::RootKey::LocalMachine;
    else
        return StartupApproval::Unknown;
    return ApprovalEntry(sys, root, "StartupFolder", entry);
}

std::vector<StartupApproval> ApprovalsOf(platform::System& sys, const ProcInfo& findings) {
    std::vector<StartupApproval> approvals;
    ForEachHit(findings, [&](StartupHit hit) {
        approvals.push_back(RowOf(hit.kind).approval(sys, findings, hit.index));
    });
    return approvals;
}

}  // namespace zorvik

#include "core/engine/StartupApproval.h"

#include <string>

#include "core/base/AsciiLower.h"
#include "core/base/untFunc.h"
#include "core/engine/StartupRows.h"

namespace zorvik {

namespace {

constexpr const char* kApprovedKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";
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

}  // namespace

StartupApproval RunValueApproval(platform::System& sys, const RegStart& hit) {
    const platform::RootKey root = RootKeyFromName(hit.Root);
    if (root != platform::RootKey::CurrentUser && root != platform::RootKey::LocalMachine)
        return StartupApproval::Unknown;
    std::string key = AsciiLower(hit.Key);
    if (!key.empty() && key.back() == '\\') key.pop_back();
    if (!EndsWith(key, kRunKeyTail)) return StartupApproval::Unknown;
    const bool wow64 = ("\\" + key).find(kWow64Node) != std::string::npos;

    const platform::RegKey approved = platform::OpenKey(
        sys.registry(), root, std::string(kApprovedKey) + (wow64 ? "Run32" : "Run"),
        platform::KeyAccess::Read);
    if (!approved) return StartupApproval::Unknown;
    const std::optional<platform::RegValue> value = sys.registry().Query(approved.get(), hit.Name);
    return value ? FromFirstByte(value->data) : StartupApproval::Unknown;
}

std::vector<StartupApproval> ApprovalsOf(platform::System& sys, const ProcInfo& findings) {
    std::vector<StartupApproval> approvals;
    for (const StartupRow& row : StartupRowsOf(findings)) {
        approvals.push_back(row.kind == StartupKind::Reg
                                ? RunValueApproval(sys, findings.RegList[row.index])
                                : StartupApproval::Unknown);
    }
    return approvals;
}

}  // namespace zorvik

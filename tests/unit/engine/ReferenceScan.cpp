#include "unit/engine/ReferenceScan.h"

#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/base/FixedTexts.h"
#include "core/base/PathParts.h"
#include "core/base/TextLines.h"
#include "core/base/untFunc.h"
#include "core/engine/process/HijackTest.h"
#include "core/engine/process/ProcessSnapshot.h"
#include "core/engine/startup/RegistryText.h"
#include "core/engine/ScanCycle.h"
#include "core/engine/startup/ScanRules.h"
#include "unit/engine/StartupMatch.h"
#include "core/engine/untScan.h"

namespace scantest {
namespace {

using namespace zorvik;

const char* const kComponentsKey = "SOFTWARE\\Microsoft\\Active Setup\\Installed Components";

// One search: the rules walked in file order, each hit recorded as it is found.
class StartupSearch {
public:
    StartupSearch(platform::System& sys, const StartupMatch& match, ProcInfo& findings)
        : sys_(sys), match_(match), findings_(findings) {}

    void Run(const ScanRule& rule) {
        if (rule.type == "REG") SearchRegistry(rule);
        else if (rule.type == "INI") SearchProfile(rule);
        else if (rule.type == "FOL") SearchFolder(rule);
        else if (rule.type == "FIL") SearchTextFile(rule);
    }

    int hitCount() const { return hitCount_; }
    bool found() const { return found_; }
    bool allDisabled() const { return allDisabled_; }

private:
    // Tests text and, when it names the program, appends the element to its list.
    template <typename Element>
    void Record(std::vector<Element>& list, Element element, const std::string& text) {
        if (!match_.Names(text)) return;
        element.Disabled = match_.Disabled(text);
        found_ = true;
        ++hitCount_;
        if (!element.Disabled) allDisabled_ = false;
        list.push_back(std::move(element));
    }

    void SearchRegistry(const ScanRule& rule) {
        const platform::RootKey root = RootKeyFromName(rule.root);
        if (root == platform::RootKey::None) return;
        platform::Registry& reg = sys_.registry();
        if (rule.action == "CHECK") {
            platform::RegKey key = platform::OpenKey(reg, root, rule.key, platform::KeyAccess::Read);
            if (!key) return;
            if (auto text = ReadTextValue(reg, key.get(), rule.name))
                Record(findings_.RegList, RegStart{rule.root, rule.key, rule.name}, *text);
        } else if (rule.action == "ENUM") {
            SearchValues(rule.root, root, rule.key);
        } else if (rule.action == "ENUM2") {
            std::vector<std::string> subKeys;
            {
                platform::RegKey key =
                    platform::OpenKey(reg, root, rule.key, platform::KeyAccess::Read);
                if (!key) return;
                subKeys = reg.SubKeyNames(key.get());
            }
            for (const std::string& subKey : subKeys)
                SearchValues(rule.root, root, rule.key + "\\" + subKey);
        }
    }

    // Every text value of one key; values of other types are passed over.
    void SearchValues(const std::string& rootName, platform::RootKey root, const std::string& path) {
        platform::Registry& reg = sys_.registry();
        platform::RegKey key = platform::OpenKey(reg, root, path, platform::KeyAccess::Read);
        if (!key) return;
        for (const std::string& valueName : reg.ValueNames(key.get())) {
            if (auto text = ReadTextValue(reg, key.get(), valueName))
                Record(findings_.RegList, RegStart{rootName, path, valueName}, *text);
        }
    }

    void SearchProfile(const ScanRule& rule) {
        // Without a file, section and entry there is nothing to read; an empty name would
        // otherwise ask the profile reader for lists rather than an entry.
        if (rule.name.empty() || rule.section.empty() || rule.ident.empty()) return;
        const std::string text = sys_.profile().ReadString(rule.name, rule.section, rule.ident, "");
        Record(findings_.IniList, IniStart{rule.name, rule.section, rule.ident}, text);
    }

    void SearchFolder(const ScanRule& rule) {
        const std::string base = GetWindowsDrive(sys_) + rule.path;
        StrAr accounts;
        GetUserAccounts(sys_, accounts);
        for (const std::string& account : accounts) {
            const std::string folder = ReplaceAll(base, kUserPlaceholder, account);
            if (!PathExists(sys_, folder)) continue;
            auto entries = sys_.files().List(folder + "\\*");
            if (!entries) continue;
            for (const platform::FindEntry& entry : *entries) {
                // Passes over "." and ".." and every other name that begins with a dot.
                if (entry.name.empty() || entry.name[0] == '.') continue;
                Record(findings_.FolList, FilStart{folder, false, entry.name}, entry.name);
            }
        }
    }

    void SearchTextFile(const ScanRule& rule) {
        const std::string file = GetWindowsDrive(sys_) + rule.path;
        if (!PathExists(sys_, file)) return;
        std::string bytes;
        // A folder, or a file another program holds locked, gives no hits; the search goes on.
        if (!sys_.files().ReadAll(file, bytes).ok) return;
        for (const std::string& line : SplitTextLines(bytes))
            Record(findings_.FilList, FilStart{file, false, {}}, line);
    }

    platform::System& sys_;
    const StartupMatch& match_;
    ProcInfo& findings_;
    int hitCount_ = 0;
    bool found_ = false;
    bool allDisabled_ = true;
};

void ReferenceActiveSetup(platform::System& sys, const ScanOptions& options,
                          const TrustedList& trusted, ProcessList& list) {
    platform::Registry& reg = sys.registry();
    std::vector<std::string> components;
    {
        platform::RegKey key = platform::OpenKey(reg, platform::RootKey::LocalMachine,
                                                 kComponentsKey, platform::KeyAccess::Read);
        if (!key) return;
        components = reg.SubKeyNames(key.get());
    }
    for (const std::string& component : components) {
        std::optional<std::string> stub;
        {
            platform::RegKey key = platform::OpenKey(reg, platform::RootKey::LocalMachine,
                                                     std::string(kComponentsKey) + "\\" + component,
                                                     platform::KeyAccess::Read);
            if (!key) continue;
            stub = ReadTextValue(reg, key.get(), "StubPath");
            if (!stub || stub->empty() || reg.Query(key.get(), "IsInstalled")) continue;
        }
        if (IsTrusted(trusted, *stub)) continue;
        auto info = std::make_unique<ProcInfo>();
        std::string details;
        const std::string programFileName = ExtractProgramName(*stub);
        const std::string shortFileName = GetShortPath(sys, programFileName);
        if (!ReferenceFindStartups(sys, options, programFileName, shortFileName, *info, details))
            continue;
        list.Add(ReplaceAll(ExtractProgramPath(sys, *stub), ".bak", ""), "-1",
                 "Probable Bot Loader, " + details, std::move(info));
    }
}

void ReferenceExamine(platform::System& sys, const ProcessSnapshot* snapshot,
                      const ScanOptions& options, const TrustedList& trusted, ProcessList& list,
                      std::uint32_t pid) {
    const std::string path = GetProcessPath(sys, pid);
    if (path.empty() || IsTrusted(trusted, path)) return;
    auto findings = std::make_unique<ProcInfo>();
    std::string details = kBotProcessDetails;
    const bool startsWithWindows =
        ReferenceFindStartups(sys, options, ProgramFileNameOf(path),
                              ProgramFileNameOf(GetShortPath(sys, path)), *findings, details);
    std::optional<std::size_t> row;
    if (startsWithWindows) row = list.Add(path, std::to_string(pid), details, std::move(findings));
    if (HijackTest(sys, snapshot, pid, details, path)) {
        if (row) list.SetDetails(*row, details);
        else list.Add(path, std::to_string(pid), details, std::move(findings));
    }
}

}  // namespace

bool ReferenceFindStartups(platform::System& sys, const ScanOptions& options,
                           const std::string& ProgramFileName, const std::string& ShortFileName,
                           ProcInfo& Findings, std::string& Details) {
    const StartupMatch match(ProgramFileName, ShortFileName);
    StartupSearch search(sys, match, Findings);
    for (const ScanRule& rule : ReadScanRules(sys)) search.Run(rule);
    Details += std::to_string(search.hitCount()) + " Start up\\s detected";
    if (options.IgnoreSafe() && search.allDisabled()) return false;
    return search.found();
}

void ReferenceScanCycle(platform::System& sys, platform::TcpTable& table,
                        const ScanOptions& options, const TrustedList& trusted, ProcessList& list) {
    {
        const std::optional<ProcessSnapshot> snapshot = TakeProcessSnapshot(sys);
        std::unordered_set<std::uint32_t> seen;
        for (platform::AddressFamily family :
             {platform::AddressFamily::V4, platform::AddressFamily::V6}) {
            if (family == platform::AddressFamily::V6 && !table.Supports(family)) continue;
            const std::optional<std::vector<platform::TcpRow>> rows = table.Rows(family);
            if (!rows) continue;
            for (const platform::TcpRow& socket : *rows) {
                if (socket.state != platform::kTcpStateListen &&
                    socket.state != platform::kTcpStateEstab) continue;
                if (!seen.insert(socket.owningPid).second) continue;
                ReferenceExamine(sys, snapshot ? &*snapshot : nullptr, options, trusted, list,
                                 socket.owningPid);
            }
        }
    }
    ReferenceActiveSetup(sys, options, trusted, list);
}

}  // namespace scantest

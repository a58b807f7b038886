#pragma once
// Simulated machines that a bot, a broken installer or a damaged disk could leave behind, each
// beside one clean program that starts from the Run key and owns a socket. The hostile-machine
// tests scan each one and check that nothing is lost; the benchmarks time the same scans.
// Free of GoogleTest so that both can use it.
#include <cstdint>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/Processes.h"
#include "platform/sim/system/SimSystem.h"

namespace hostile {

using platform::RegType;
using platform::RootKey;
using platform::sim::SimProcess;
using platform::sim::SimSystem;

inline const std::string kRulesPath = "C:\\Zorvik\\Scan.ini";
inline const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const std::string kCheckKey = "Software\\Hostile";
inline const std::string kCheckName = "Shell";
inline const std::string kEnum2Key = "Software\\Hostile\\Services";
inline const std::string kListFile = "C:\\hostile.txt";  // the FIL rule's file
inline const std::string kCleanPath = "C:\\Apps\\alpha.exe";
inline const std::string kCleanRunName = "Alpha";
inline constexpr std::uint32_t kCleanPid = 10;
inline constexpr std::uint32_t kHostilePid = 66;
inline constexpr std::uint32_t kParentPid = 500;

inline std::string Section(const std::string& name, const std::string& body) {
    return "[" + name + "]\r\n" + body;
}
inline std::string RegRule(const std::string& name, const std::string& key,
                           const std::string& action, const std::string& valueName = "") {
    return Section(name, "Type=REG\r\nRoot=HKEY_CURRENT_USER\r\nKey=" + key + "\r\nAction=" +
                             action + "\r\n" + (valueName.empty() ? "" : "Name=" + valueName + "\r\n"));
}
inline std::string RunRule() { return RegRule("Run", kRunKey, "ENUM"); }

// One rule of every kind the hostile places need, the Run key among them.
inline std::string BaseRules() {
    return RunRule() + RegRule("Check", kCheckKey, "CHECK", kCheckName) +
           RegRule("Services", kEnum2Key, "ENUM2") +
           Section("win.ini", "Type=INI\r\nName=win.ini\r\nSection=windows\r\nIdent=load\r\n") +
           Section("List", "Type=FIL\r\nPath=hostile.txt\r\n");
}

inline SimProcess Process(std::uint32_t pid, const std::string& path) {
    SimProcess process;
    process.pid = pid;
    process.parentPid = kParentPid;
    process.imagePath = path;
    return process;
}

inline void AddProgram(SimSystem& sys, const SimProcess& process) {
    sys.fs().AddFile(process.imagePath, "MZ");
    sys.procs().AddProcess(process);
    sys.procs().AddSocket(process.pid, platform::kTcpStateListen);
}

// The machine every case starts from: the rules, the parent, the clean program.
inline void BaseMachine(SimSystem& sys) {
    sys.fs().AddFile(kRulesPath, BaseRules());
    SimProcess parent = Process(kParentPid, "C:\\WINDOWS\\explorer.exe");
    parent.parentPid = 4;
    sys.fs().AddFile(parent.imagePath, "MZ");
    sys.procs().AddProcess(parent);
    AddProgram(sys, Process(kCleanPid, kCleanPath));
    sys.reg().PutString(RootKey::CurrentUser, kRunKey, kCleanRunName, kCleanPath);
}

// Every registry type that is not text, and numbers no type has, with data that names the
// clean program: none of them may count as its start-up.
inline void NonTextValues(SimSystem& sys, const std::string& key, const std::string& firstName) {
    const std::string named = kCleanPath + std::string(1, '\0');
    const std::vector<std::pair<std::uint32_t, std::string>> values = {
        {0, named}, {3, named}, {4, "\x01\x02\x03\x04"}, {5, ""}, {6, "\x43\x00"},
        {7, named + named + std::string(1, '\0')}, {8, std::string(3, '\xff')}, {9, named},
        {10, "x"}, {11, std::string(8, '\0')}, {12, named}, {0xFFFF, named},
        {0xFFFFFFFF, std::string(1, '\0')}};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string name = i == 0 ? firstName : "Value" + std::to_string(i);
        sys.reg().Put(RootKey::CurrentUser, key, name, static_cast<RegType>(values[i].first),
                      values[i].second);
    }
}

struct HostileMachine {
    const char* name;
    void (*make)(SimSystem& sys);  // run after BaseMachine
    bool cleanProgramFound;        // false where no rule that finds it can be read
};

inline const std::vector<HostileMachine>& HostileMachines() {
    static const std::vector<HostileMachine> machines = {
        {"NonTextValuesOfEveryTypeInCheckEnumAndEnum2Keys", [](SimSystem& sys) {
             NonTextValues(sys, kCheckKey, kCheckName);
             NonTextValues(sys, kRunKey, "Planted");
             NonTextValues(sys, kEnum2Key + "\\svc", "ImagePath");
         }, true},
        {"TenThousandSubkeys", [](SimSystem& sys) {
             for (int i = 0; i < 10000; ++i)
                 sys.reg().PutString(RootKey::CurrentUser, kEnum2Key + "\\svc" + std::to_string(i),
                                     "ImagePath", "C:\\Services\\svc" + std::to_string(i) + ".exe");
         }, true},
        // Keys below keys read with "*" parts and as services: lists of odd shapes and start
        // types of every size, none naming the clean program, below 10,000 subkeys.
        {"OddListsAndStartTypesBelowTenThousandSubkeys", [](SimSystem& sys) {
             const std::string deep = "Software\\Hostile\\Deep";
             sys.fs().AddFile(kRulesPath,
                              BaseRules() + RegRule("Deep", deep + "\\*\\*", "MATCH", "*") +
                                  Section("Services as services",
                                          "Type=SVC\r\nRoot=HKEY_CURRENT_USER\r\nKey=" + kEnum2Key +
                                              "\r\n"));
             const std::string lists[] = {"", std::string(1, '\0'), std::string(4, '\0'),
                                          "no zero at all", std::string(64 << 10, '\0'),
                                          std::string(1 << 20, 'a'), [] {
                                              std::string many;
                                              for (int i = 0; i < 100000; ++i) many += "a" + std::string(1, '\0');
                                              return many;
                                          }()};
             for (std::size_t i = 0; i < std::size(lists); ++i)
                 sys.reg().Put(RootKey::CurrentUser, deep + "\\a\\b", "List" + std::to_string(i),
                               RegType::MultiSz, lists[i]);
             sys.reg().MakeKey(RootKey::CurrentUser, deep + "\\*\\*");
             const std::string starts[] = {"", "\x04", "\x04\0\0", std::string(8, '\x04'),
                                           std::string(4, '\xff')};
             for (int i = 0; i < 10000; ++i) {
                 const std::string service = kEnum2Key + "\\svc" + std::to_string(i);
                 sys.reg().PutString(RootKey::CurrentUser, service, "ImagePath",
                                     "C:\\Services\\svc" + std::to_string(i) + ".exe");
                 sys.reg().Put(RootKey::CurrentUser, service, "Start",
                               i % 6 == 5 ? RegType::Sz : RegType::Dword, starts[i % 5]);
                 sys.reg().PutString(RootKey::CurrentUser, deep + "\\k" + std::to_string(i) + "\\x",
                                     "", "C:\\Classes\\lib" + std::to_string(i) + ".dll");
             }
             sys.reg().PutString(RootKey::CurrentUser, kEnum2Key + "\\svc1", "Parameters", "not a key");
             sys.reg().Put(RootKey::CurrentUser, kEnum2Key + "\\svc2\\Parameters", "ServiceDll",
                           RegType::MultiSz, lists[6]);
         }, true},
        {"ATwoMegabyteValue", [](SimSystem& sys) {
             sys.reg().PutString(RootKey::CurrentUser, kRunKey, "Huge", std::string(2 << 20, 'A'));
         }, true},
        {"ATwoMegabyteFileWithoutLineEnds", [](SimSystem& sys) {
             sys.fs().AddFile(kListFile, std::string(2 << 20, 'b'));
         }, true},
        {"AFileOfAMillionBareCarriageReturns", [](SimSystem& sys) {
             sys.fs().AddFile(kListFile, std::string(1000000, '\r'));
         }, true},
        {"ALockedListFile", [](SimSystem& sys) {
             sys.fs().AddFile(kListFile, kCleanPath + "\r\n");
             sys.fs().Lock(kListFile, true);
         }, true},
        {"AFolderWhereTheListFileShouldBe", [](SimSystem& sys) {
             sys.fs().AddDirectory(kListFile);
         }, true},
        {"ARulesFileOf5000Sections", [](SimSystem& sys) {
             std::string rules;
             for (int i = 0; i < 4999; ++i)
                 rules += RegRule("Filler" + std::to_string(i), "Software\\Filler" + std::to_string(i),
                                  "ENUM");
             sys.fs().AddFile(kRulesPath, rules + RunRule());  // the rule that finds it comes last
         }, true},
        {"ARulesFileOfRandomBytes", [](SimSystem& sys) {
             std::mt19937 random(12);
             std::string bytes(64 << 10, '\0');
             for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
             sys.fs().AddFile(kRulesPath, bytes);
         }, false},
        {"AProcessGoneBeforeItsPathIsRead", [](SimSystem& sys) {
             sys.procs().AddSocket(kHostilePid, platform::kTcpStateEstab);
         }, true},
        {"AProcessThatExitsWhileItsPathIsRead", [](SimSystem& sys) {
             SimProcess process = Process(kHostilePid, "C:\\Apps\\brief.exe");
             process.exitsAtOpen = 1;
             AddProgram(sys, process);
         }, true},
        {"AProcessThatExitsWhileItIsTestedForHijack", [](SimSystem& sys) {
             SimProcess process = Process(kHostilePid, "C:\\Apps\\brief.exe");
             process.threads = {{5, 5, 0}, {2, 0, 100}};  // suspended at start: a hijack sign
             process.exitsAtOpen = 2;
             AddProgram(sys, process);
             sys.reg().PutString(RootKey::CurrentUser, kRunKey, "Brief", process.imagePath);
         }, true},
        {"AProcessWhoseModuleNameCannotBeRead", [](SimSystem& sys) {
             SimProcess process = Process(kHostilePid, "C:\\Apps\\masked.exe");
             process.fileNameReadable = false;
             process.imageNameReadable = false;
             AddProgram(sys, process);
         }, true},
    };
    return machines;
}

// What the user had: every registry value and key, every file and folder, as text to compare.
class MachineImage {
public:
    explicit MachineImage(SimSystem& sys) {
        for (RootKey root : {RootKey::ClassesRoot, RootKey::CurrentUser, RootKey::LocalMachine})
            AddKeys(sys.registry(), root, "");
        AddFiles(sys, "C:");
    }
    bool operator==(const MachineImage& other) const { return entries_ == other.entries_; }
    std::size_t size() const { return entries_.size(); }

private:
    void AddKeys(platform::Registry& reg, RootKey root, const std::string& path) {
        const std::string where = std::to_string(static_cast<int>(root)) + "\\" + path;
        std::vector<std::string> subKeys;
        {
            const platform::RegKey key = platform::OpenKey(reg, root, path, platform::KeyAccess::Read);
            if (!key) return;
            entries_[where] = "key";
            for (const std::string& name : reg.ValueNames(key.get())) {
                const std::optional<platform::RegValue> value = reg.Query(key.get(), name);
                entries_[where + "|" + name] =
                    value ? std::to_string(static_cast<std::uint32_t>(value->type)) + ":" + value->data
                          : "unreadable";
            }
            subKeys = reg.SubKeyNames(key.get());
        }
        for (const std::string& name : subKeys) AddKeys(reg, root, path.empty() ? name : path + "\\" + name);
    }

    void AddFiles(SimSystem& sys, const std::string& folder) {
        const auto entries = sys.files().List(folder + "\\*");
        if (!entries) return;
        for (const platform::FindEntry& entry : *entries) {
            if (entry.name == "." || entry.name == "..") continue;
            const std::string path = folder + "\\" + entry.name;
            if (entry.attributes & platform::kAttrDirectory) {
                entries_[path] = "folder";
                AddFiles(sys, path);
            } else {
                entries_[path] = std::to_string(entry.attributes) + ":" +
                                 sys.fs().Content(path).value_or("unreadable");
            }
        }
    }

    std::map<std::string, std::string> entries_;
};

}  // namespace hostile

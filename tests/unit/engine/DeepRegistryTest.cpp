// REG rules with Action MATCH (keys below keys, lists of strings, a bound on the keys taken)
// and SVC rules (each service's command and DLL, with its start type), on the simulated system.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/startup/StartupKinds.h"
#include "unit/engine/ScanTestSupport.h"

namespace {

using platform::RegType;
using platform::RootKey;
using platform::sim::SimRegistry;
using scantest::Detected;

const std::string kBase = "Software\\Test";

std::string MatchRule(const std::string& section, const std::string& key, const std::string& more) {
    return "[" + section + "]\r\nType=REG\r\nRoot=HKEY_LOCAL_MACHINE\r\nKey=" + kBase + "\\" + key +
           "\r\nAction=MATCH\r\n" + more;
}

void Put(SimRegistry& reg, const std::string& key, const std::string& name,
         const std::string& text) {
    reg.PutString(RootKey::LocalMachine, kBase + "\\" + key, name, text);
}
void PutList(SimRegistry& reg, const std::string& key, const std::string& name,
             const std::string& data) {
    reg.Put(RootKey::LocalMachine, kBase + "\\" + key, name, RegType::MultiSz, data);
}

struct RegHit {
    std::string key;  // below kBase
    std::string name;
    bool disabled;
    bool operator==(const RegHit&) const = default;
};

void PrintTo(const RegHit& hit, std::ostream* os) {
    *os << hit.key << " [" << hit.name << "]" << (hit.disabled ? " disabled" : "");
}

struct MatchCase {
    const char* what;
    std::string rule;
    std::function<void(SimRegistry&)> arrange;
    std::vector<RegHit> hits;
};

void PrintTo(const MatchCase& c, std::ostream* os) { *os << c.what; }

class MatchRuleTest : public scantest::ScanTest, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(MatchRuleTest, FindsTheValuesOfTheKeysThePatternReaches) {
    const MatchCase& c = GetParam();
    WriteRules(c.rule);
    c.arrange(sys.reg());

    const auto result = Search("prog.exe");

    std::vector<RegHit> hits;
    for (const zorvik::RegStart& hit : result.info.RegList) {
        EXPECT_EQ(hit.Root, "HKEY_LOCAL_MACHINE");
        ASSERT_EQ(hit.Key.rfind(kBase + "\\", 0), 0u) << hit.Key;
        hits.push_back({hit.Key.substr(kBase.size() + 1), hit.Name, hit.Disabled});
    }
    EXPECT_EQ(hits, c.hits);
    EXPECT_EQ(result.details, Detected(static_cast<int>(c.hits.size())));
    EXPECT_EQ(sys.reg().OpenKeyCount(), 0);
}

// The data of a REG_MULTI_SZ value: each string ended by a zero byte, the list by one more.
std::string Strings(std::initializer_list<std::string> strings) {
    std::string data;
    for (const std::string& text : strings) data += text + '\0';
    return data + '\0';
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MatchRuleTest,
    ::testing::Values(
        MatchCase{
            "oneStarDefaultValue",
            MatchRule("COM", "CLSID\\*\\InprocServer32", ""),
            [](SimRegistry& reg) {
                Put(reg, "CLSID\\{A}\\InprocServer32", "", "C:\\x\\prog.exe");
                Put(reg, "CLSID\\{B}\\InprocServer32", "", "C:\\x\\other.dll");
                Put(reg, "CLSID\\{C}\\InprocServer32", "Named", "C:\\prog.exe");
                Put(reg, "CLSID\\{D}\\LocalServer32", "", "C:\\prog.exe");
                Put(reg, "CLSID\\{E}", "", "C:\\prog.exe");
                Put(reg, "CLSID\\{F}\\InprocServer32", "", "C:\\PROG.EXE.BAK");
            },
            {{"CLSID\\{A}\\InprocServer32", "", false}, {"CLSID\\{F}\\InprocServer32", "", true}}},
        MatchCase{
            "twoStarsEveryValue",
            MatchRule("Depend", "RunOnceEx\\*\\*", "Name=*\r\n"),
            [](SimRegistry& reg) {
                Put(reg, "RunOnceEx", "Top", "c:\\prog.exe");
                Put(reg, "RunOnceEx\\0001", "Own", "c:\\prog.exe");
                Put(reg, "RunOnceEx\\0001\\Depend", "1", "c:\\prog.exe /q");
                Put(reg, "RunOnceEx\\0001\\Depend", "2", "c:\\other.exe");
                Put(reg, "RunOnceEx\\0002\\Depend\\Deeper", "1", "c:\\prog.exe");
                Put(reg, "RunOnceEx\\0002\\Other", "a", "c:\\prog.exe");
            },
            {{"RunOnceEx\\0001\\Depend", "1", false}, {"RunOnceEx\\0002\\Other", "a", false}}},
        MatchCase{
            "everyTextValueWithTheDefaultAndLists",
            MatchRule("All", "Keys\\*", "Name=*\r\n"),
            [](SimRegistry& reg) {
                const std::string key = kBase + "\\Keys\\K";
                Put(reg, "Keys\\K", "", "prog.exe");
                reg.Put(RootKey::LocalMachine, key, "Number", RegType::Dword,
                        std::string("\x01\0\0\0", 4));
                reg.Put(RootKey::LocalMachine, key, "Bytes", RegType::Binary, "prog.exe");
                reg.Put(RootKey::LocalMachine, key, "Expand", RegType::ExpandSz,
                        std::string("%SystemRoot%\\prog.exe\0", 22));
                PutList(reg, "Keys\\K", "List", Strings({"autocheck autochk *", "c:\\prog.exe"}));
            },
            {{"Keys\\K", "", false}, {"Keys\\K", "Expand", false}, {"Keys\\K", "List", false}}},
        MatchCase{"namedValue",
                  MatchRule("Dlls", "Services\\*\\Parameters", "Name=ServiceDll\r\n"),
                  [](SimRegistry& reg) {
                      Put(reg, "Services\\A\\Parameters", "ServiceDll", "c:\\prog.exe");
                      Put(reg, "Services\\A\\Parameters", "Other", "c:\\prog.exe");
                      Put(reg, "Services\\B", "ServiceDll", "c:\\prog.exe");
                      reg.Put(RootKey::LocalMachine, kBase + "\\Services\\C\\Parameters",
                              "ServiceDll", RegType::ExpandSz,
                              std::string("c:\\prog.exe.bak\0", 16));
                  },
                  {{"Services\\A\\Parameters", "ServiceDll", false},
                   {"Services\\C\\Parameters", "ServiceDll", true}}},
        // Windows reads a list up to its first empty string.
        MatchCase{
            "listStringsEachATextUpToTheEmptyOne",
            MatchRule("Boot", "Session Manager", "Name=BootExecute\r\n"),
            [](SimRegistry& reg) {
                PutList(reg, "Session Manager", "BootExecute",
                        Strings({"autocheck autochk *", "c:\\prog.exe", "c:\\prog.exe.bak /x", "",
                                 "c:\\after\\prog.exe"}));
            },
            {{"Session Manager", "BootExecute", false}, {"Session Manager", "BootExecute", true}}},
        MatchCase{"listWithoutEndingZero",
                  MatchRule("Boot", "Session Manager", "Name=BootExecute\r\n"),
                  [](SimRegistry& reg) {
                      PutList(reg, "Session Manager", "BootExecute",
                              std::string("a\0c:\\prog.exe", 13));
                  },
                  {{"Session Manager", "BootExecute", false}}},
        // Each subkey taken for a "*", at whatever depth, counts: a1, x and y here.
        MatchCase{"limitCountsTheSubkeysOfEveryStar",
                  MatchRule("Deep", "Deep\\*\\*", "Name=*\r\nLimit=3\r\n"),
                  [](SimRegistry& reg) {
                      Put(reg, "Deep\\a1\\x", "v", "prog.exe");
                      Put(reg, "Deep\\a1\\y", "v", "prog.exe");
                      Put(reg, "Deep\\a2\\z", "v", "prog.exe");
                  },
                  {{"Deep\\a1\\x", "v", false}, {"Deep\\a1\\y", "v", false}}},
        MatchCase{"limitZeroTakesNoSubkey",
                  MatchRule("Deep", "Deep\\*\\*", "Name=*\r\nLimit=0\r\n"),
                  [](SimRegistry& reg) { Put(reg, "Deep\\a1\\x", "v", "prog.exe"); },
                  {}},
        MatchCase{"limitNotANumberIsTheDefault",
                  MatchRule("Deep", "Deep\\*\\*", "Name=*\r\nLimit=-2\r\n") +
                      MatchRule("Deep words", "Deep\\*\\*", "Name=*\r\nLimit=few\r\n") +
                      MatchRule("Deep digit", "Deep\\*\\*", "Name=*\r\nLimit=1x\r\n"),
                  [](SimRegistry& reg) { Put(reg, "Deep\\a2\\z", "v", "prog.exe"); },
                  {{"Deep\\a2\\z", "v", false},
                   {"Deep\\a2\\z", "v", false},
                   {"Deep\\a2\\z", "v", false}}},
        // A key naming its own program (quoted or not, any case) is passed over; the same
        // rule without the key finds it.
        MatchCase{"otherProgramPassesOverTheKeysOwnProgram",
                  MatchRule("Other", "App Paths\\*", "OtherProgram=1\r\n") +
                      MatchRule("Every", "App Paths\\*", ""),
                  [](SimRegistry& reg) {
                      Put(reg, "App Paths\\msedge.exe", "", "C:\\Bot\\prog.exe");
                      Put(reg, "App Paths\\prog.exe", "", "\"C:\\Program Files\\PROG.EXE\"");
                  },
                  {{"App Paths\\msedge.exe", "", false},
                   {"App Paths\\msedge.exe", "", false},
                   {"App Paths\\prog.exe", "", false}}},
        MatchCase{"missingKeysFindNothing",
                  MatchRule("Gone", "None\\*\\X", "") + MatchRule("Gone too", "Keys\\*\\None", ""),
                  [](SimRegistry& reg) { Put(reg, "Keys\\K", "", "prog.exe"); },
                  {}}),
    [](const auto& info) { return std::string(info.param.what); });

// A registry that counts the keys opened, to show how many keys a walk costs.
class CountingSystem : public platform::System {
public:
    class CountingRegistry : public platform::Registry {
    public:
        explicit CountingRegistry(platform::Registry& inner) : inner_(inner) {}
        int opens = 0;
        Handle Open(RootKey root, const std::string& path, platform::KeyAccess access) override {
            ++opens;
            return inner_.Open(root, path, access);
        }
        Handle OpenBelow(Handle parent, const std::string& path,
                         platform::KeyAccess access) override {
            ++opens;
            return inner_.OpenBelow(parent, path, access);
        }
        Handle Create(RootKey root, const std::string& path) override {
            return inner_.Create(root, path);
        }
        void Close(Handle key) override { inner_.Close(key); }
        std::vector<std::string> SubKeyNames(Handle key) override {
            return inner_.SubKeyNames(key);
        }
        std::vector<std::string> ValueNames(Handle key) override { return inner_.ValueNames(key); }
        std::optional<platform::RegValue> Query(Handle key, const std::string& name) override {
            return inner_.Query(key, name);
        }
        bool Set(Handle key, const std::string& name, const platform::RegValue& value) override {
            return inner_.Set(key, name, value);
        }
        bool DeleteValue(Handle key, const std::string& name) override {
            return inner_.DeleteValue(key, name);
        }
        bool DeleteTree(RootKey root, const std::string& path) override {
            return inner_.DeleteTree(root, path);
        }

    private:
        platform::Registry& inner_;
    };

    platform::sim::SimSystem sim;
    CountingRegistry counting{sim.registry()};
    platform::Registry& registry() override { return counting; }
    platform::Files& files() override { return sim.files(); }
    platform::Profile& profile() override { return sim.profile(); }
    platform::Accounts& accounts() override { return sim.accounts(); }
    platform::Processes& processes() override { return sim.processes(); }
    platform::Sockets& sockets() override { return sim.sockets(); }
    platform::Shell& shell() override { return sim.shell(); }
    platform::Ui& ui() override { return sim.ui(); }
};

// A class registry of 10,000 classes: the default bound reaches the last one opening each key
// once; a rule's Limit stops the walk there, also in what it opens.
TEST(MatchLimitTest, TenThousandSubkeysAreWalkedOnceOrUpToTheLimit) {
    CountingSystem sys;
    constexpr int kClasses = 10000;
    for (int i = 0; i < kClasses; ++i) {
        const bool names = i == 50 || i == 150 || i == kClasses - 1;
        Put(sys.sim.reg(), "CLSID\\{" + std::to_string(i) + "}\\InprocServer32", "",
            names ? "c:\\prog.exe" : "c:\\lib" + std::to_string(i) + ".dll");
    }
    struct Case {
        std::string limit;
        std::vector<std::string> classes;
        int opens;
    };
    const Case cases[] = {
        {"", {"{50}", "{150}", "{9999}"}, kClasses + 1},
        {"Limit=100\r\n", {"{50}"}, 100 + 1},
    };
    for (const Case& c : cases) {
        sys.sim.fs().AddFile(scantest::kRulesPath,
                             MatchRule("COM", "CLSID\\*\\InprocServer32", c.limit));
        sys.counting.opens = 0;
        scantest::SwitchOptions options;
        zorvik::ProcInfo findings;
        std::string details;
        zorvik::FindStartups(sys, options, "prog.exe", "", findings, details);

        std::vector<std::string> classes;
        for (const zorvik::RegStart& hit : findings.RegList)
            classes.push_back(
                hit.Key.substr(kBase.size() + 7, hit.Key.find('}') - kBase.size() - 6));
        EXPECT_EQ(classes, c.classes) << c.limit;
        EXPECT_EQ(sys.counting.opens, c.opens) << c.limit;
    }
}

// ---- services ----

const std::string kServices = "SYSTEM\\CurrentControlSet\\Services";

std::string ServiceRule() {
    return "[Services]\r\nType=SVC\r\nRoot=HKEY_LOCAL_MACHINE\r\nKey=" + kServices + "\r\n";
}

void PutService(SimRegistry& reg, const std::string& name, const std::string& imagePath,
                std::optional<std::uint32_t> start) {
    const std::string key = kServices + "\\" + name;
    if (!imagePath.empty()) reg.PutString(RootKey::LocalMachine, key, "ImagePath", imagePath);
    if (start) {
        const std::uint32_t n = *start;
        reg.Put(RootKey::LocalMachine, key, "Start", RegType::Dword,
                std::string{static_cast<char>(n), static_cast<char>(n >> 8),
                            static_cast<char>(n >> 16), static_cast<char>(n >> 24)});
    }
}

struct SvcHit {
    std::string service;
    std::string value;
    std::optional<std::uint32_t> start;
    std::vector<std::string> columns;
    bool disabled;
    bool operator==(const SvcHit&) const = default;
};

void PrintTo(const SvcHit& hit, std::ostream* os) {
    *os << hit.service << " " << hit.value << " start "
        << (hit.start ? std::to_string(*hit.start) : "none") << (hit.disabled ? " disabled" : "");
}

struct ServiceCase {
    const char* what;
    std::function<void(SimRegistry&)> arrange;
    std::vector<SvcHit> hits;
    bool listedIgnoringSafe;
};

void PrintTo(const ServiceCase& c, std::ostream* os) { *os << c.what; }

class ServiceRuleTest : public scantest::ScanTest,
                        public ::testing::WithParamInterface<ServiceCase> {};

TEST_P(ServiceRuleTest, FindsEachServiceWithItsStartType) {
    const ServiceCase& c = GetParam();
    WriteRules(ServiceRule());
    c.arrange(sys.reg());
    options.ignoreSafe = true;

    const auto result = Search("prog.exe");

    std::vector<SvcHit> hits;
    const auto& row = zorvik::RowOf(zorvik::StartupKind::Svc);
    for (std::size_t i = 0; i < result.info.SvcList.size(); ++i) {
        const zorvik::SvcStart& hit = result.info.SvcList[i];
        EXPECT_EQ(hit.Root, "HKEY_LOCAL_MACHINE");
        EXPECT_EQ(hit.Key, kServices + "\\" + hit.Service);
        hits.push_back(
            {hit.Service, hit.Value, hit.StartType, row.columns(result.info, i), hit.Disabled});
    }
    EXPECT_EQ(hits, c.hits);
    EXPECT_TRUE(result.info.RegList.empty());
    EXPECT_EQ(result.listed, c.listedIgnoringSafe);
    EXPECT_EQ(sys.reg().OpenKeyCount(), 0);
}

const std::string kDll = "Parameters\\ServiceDll";

INSTANTIATE_TEST_SUITE_P(
    Cases, ServiceRuleTest,
    ::testing::Values(
        ServiceCase{"eachStartType",
                    [](SimRegistry& reg) {
                        const char* names[] = {"Boot", "System", "Auto", "Manual", "Off"};
                        for (std::uint32_t start = 0; start < 5; ++start)
                            PutService(reg, names[start], "c:\\prog.exe", start);
                        PutService(reg, "Other", "c:\\other.exe", 2);
                    },
                    {{"Boot", "ImagePath", 0, {"Boot", "ImagePath", "boot"}, false},
                     {"System", "ImagePath", 1, {"System", "ImagePath", "system"}, false},
                     {"Auto", "ImagePath", 2, {"Auto", "ImagePath", "automatic"}, false},
                     {"Manual", "ImagePath", 3, {"Manual", "ImagePath", "manual"}, false},
                     {"Off", "ImagePath", 4, {"Off", "ImagePath", "disabled"}, true}},
                    true},
        ServiceCase{"onlyADisabledService",
                    [](SimRegistry& reg) {
                        PutService(reg, "Off", "\"C:\\Program Files\\prog.exe\" -s", 4);
                    },
                    {{"Off", "ImagePath", 4, {"Off", "ImagePath", "disabled"}, true}},
                    false},
        ServiceCase{"serviceDllAndImagePath",
                    [](SimRegistry& reg) {
                        PutService(reg, "Shared", "%SystemRoot%\\system32\\svchost.exe -k netsvcs",
                                   2);
                        reg.Put(RootKey::LocalMachine, kServices + "\\Shared\\Parameters",
                                "ServiceDll", RegType::ExpandSz, std::string("c:\\prog.exe\0", 12));
                        PutService(reg, "Both", "c:\\prog.exe", 3);
                        reg.PutString(RootKey::LocalMachine, kServices + "\\Both\\Parameters",
                                      "ServiceDll", "c:\\prog.exe.bak");
                    },
                    {{"Shared", kDll, 2, {"Shared", kDll, "automatic"}, false},
                     {"Both", "ImagePath", 3, {"Both", "ImagePath", "manual"}, false},
                     {"Both", kDll, 3, {"Both", kDll, "manual"}, true}},
                    true},
        ServiceCase{"failureCommand",
                    [](SimRegistry& reg) {
                        PutService(reg, "Flaky", "c:\\windows\\flaky.exe", 2);
                        reg.PutString(RootKey::LocalMachine, kServices + "\\Flaky",
                                      "FailureCommand", "c:\\prog.exe /restart");
                    },
                    {{"Flaky", "FailureCommand", 2, {"Flaky", "FailureCommand", "automatic"},
                      false}},
                    true},
        ServiceCase{
            "oddStartValues",
            [](SimRegistry& reg) {
                PutService(reg, "NoStart", "c:\\prog.exe", std::nullopt);
                PutService(reg, "Seven", "c:\\prog.exe", 7);
                PutService(reg, "Text", "c:\\prog.exe", std::nullopt);
                reg.PutString(RootKey::LocalMachine, kServices + "\\Text", "Start", "4");
                PutService(reg, "Short", "c:\\prog.exe", std::nullopt);
                reg.Put(RootKey::LocalMachine, kServices + "\\Short", "Start", RegType::Dword,
                        std::string("\x04", 1));
            },
            {{"NoStart", "ImagePath", std::nullopt, {"NoStart", "ImagePath", "unknown"}, false},
             {"Seven", "ImagePath", 7, {"Seven", "ImagePath", "7"}, false},
             {"Text", "ImagePath", std::nullopt, {"Text", "ImagePath", "unknown"}, false},
             {"Short", "ImagePath", std::nullopt, {"Short", "ImagePath", "unknown"}, false}},
            true},
        ServiceCase{"imagePathNoText",
                    [](SimRegistry& reg) {
                        reg.Put(RootKey::LocalMachine, kServices + "\\Odd", "ImagePath",
                                RegType::Binary, "c:\\prog.exe");
                    },
                    {},
                    false}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace

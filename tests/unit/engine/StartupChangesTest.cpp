// Start-up entries between two scans: each hit's stable key, and what a comparison of two
// scans' entries calls added, changed and removed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/engine/changes/StableKeys.h"
#include "core/engine/changes/StartupChanges.h"

namespace {

using zorvik::EntryChange;
using zorvik::ProcInfo;
using zorvik::StartupChange;
using zorvik::StartupEntries;
using zorvik::StartupHit;
using zorvik::StartupKind;

TEST(StableKeyTest, NamesKindPlaceAndValueOrEntryWhateverTheCase) {
    ProcInfo findings;
    findings.RegList.push_back({"HKEY_CURRENT_USER", "Software\\Run", "Bot", false});
    findings.RegList.push_back({"HKEY_LOCAL_MACHINE", "Software\\Run", "", true});
    // Two parts that would join to the same text but for the escapes.
    findings.RegList.push_back({"HKEY_CURRENT_USER", "Run|a", "b", false});
    findings.RegList.push_back({"HKEY_CURRENT_USER", "Run", "a|b", false});
    findings.RegList.push_back({"HKEY_CURRENT_USER", "Run", "100%7c", false});
    findings.IniList.push_back({"win.ini", "Windows", "Load", false});
    findings.FolList.push_back({"C:\\Startup", false, "Bot.lnk"});
    findings.FolList.push_back({"C:\\Startup", false, "other.lnk"});
    findings.FilList.push_back({"C:\\AUTOEXEC.BAT", false, {}});
    // Its start type is the service's state: disabling it keeps the key.
    findings.SvcList.push_back({"HKEY_LOCAL_MACHINE", "Services\\Bot", "Bot", "ImagePath", 2, false});
    findings.SvcList.push_back({"HKEY_LOCAL_MACHINE", "Services\\Bot", "Bot", "ImagePath", 4, true});
    findings.TaskList.push_back({"\\Vendor\\Updater", "", "C:\\Bot.exe /q", false});
    struct Case {
        StartupHit hit;
        std::string key;
    };
    const Case cases[] = {
        {{StartupKind::Reg, 0}, "REG|hkey_current_user|software\\run|bot"},
        {{StartupKind::Reg, 1}, "REG|hkey_local_machine|software\\run|"},
        {{StartupKind::Reg, 2}, "REG|hkey_current_user|run%7ca|b"},
        {{StartupKind::Reg, 3}, "REG|hkey_current_user|run|a%7cb"},
        {{StartupKind::Reg, 4}, "REG|hkey_current_user|run|100%257c"},
        {{StartupKind::Ini, 0}, "INI|win.ini|windows|load"},
        {{StartupKind::Fol, 0}, "FOL|c:\\startup|bot.lnk"},
        {{StartupKind::Fol, 1}, "FOL|c:\\startup|other.lnk"},
        {{StartupKind::Fil, 0}, "FIL|c:\\autoexec.bat"},
        {{StartupKind::Svc, 0}, "SVC|hkey_local_machine|services\\bot|imagepath"},
        {{StartupKind::Svc, 1}, "SVC|hkey_local_machine|services\\bot|imagepath"},
        {{StartupKind::Task, 0}, "TASK|\\vendor\\updater"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(zorvik::StableKeyOf(findings, c.hit), c.key) << c.key;
}

TEST(StartupChangesTest, AddedChangedAndRemovedByKeyAndTexts) {
    const StartupEntries before = {
        {"REG|run|bot", {"c:\\bot.exe"}},
        {"REG|run|tool", {"c:\\tool.exe"}},
        {"FIL|c:\\autoexec.bat", {"c:\\a.exe", "c:\\b.exe"}},
    };
    struct Case {
        const char* name;
        StartupEntries after;
        std::vector<StartupChange> changes;
        bool detection;
    };
    const Case cases[] = {
        {"same", before, {}, false},
        {"one added",
         {{"REG|run|bot", {"c:\\bot.exe"}},
          {"REG|run|new", {"c:\\new.exe"}},
          {"REG|run|tool", {"c:\\tool.exe"}},
          {"FIL|c:\\autoexec.bat", {"c:\\a.exe", "c:\\b.exe"}}},
         {{"REG|run|new", EntryChange::Added}},
         true},
        {"one changed",
         {{"REG|run|bot", {"c:\\bot.exe /x"}},
          {"REG|run|tool", {"c:\\tool.exe"}},
          {"FIL|c:\\autoexec.bat", {"c:\\a.exe", "c:\\b.exe"}}},
         {{"REG|run|bot", EntryChange::Changed}},
         true},
        {"a line fewer under one key",
         {{"REG|run|bot", {"c:\\bot.exe"}},
          {"REG|run|tool", {"c:\\tool.exe"}},
          {"FIL|c:\\autoexec.bat", {"c:\\a.exe"}}},
         {{"FIL|c:\\autoexec.bat", EntryChange::Changed}},
         true},
        {"removed only",
         {{"REG|run|tool", {"c:\\tool.exe"}}},
         {{"FIL|c:\\autoexec.bat", EntryChange::Removed}, {"REG|run|bot", EntryChange::Removed}},
         false},
        {"all new", {{"REG|run|z", {"z"}}},
         {{"FIL|c:\\autoexec.bat", EntryChange::Removed},
          {"REG|run|bot", EntryChange::Removed},
          {"REG|run|tool", EntryChange::Removed},
          {"REG|run|z", EntryChange::Added}},
         true},
    };
    for (const Case& c : cases) {
        const std::vector<StartupChange> changes = zorvik::CompareStartupEntries(before, c.after);
        ASSERT_EQ(changes.size(), c.changes.size()) << c.name;
        for (std::size_t i = 0; i < changes.size(); ++i) {
            EXPECT_EQ(changes[i].key, c.changes[i].key) << c.name;
            EXPECT_EQ(changes[i].change, c.changes[i].change) << c.name;
            EXPECT_EQ(zorvik::FindChange(changes, changes[i].key), &changes[i]) << c.name;
        }
        EXPECT_EQ(zorvik::FindChange(changes, "REG|run|unknown"), nullptr) << c.name;
        EXPECT_EQ(zorvik::AnyAddedOrChanged(changes), c.detection) << c.name;
    }
}

}  // namespace

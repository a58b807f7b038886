// The places a watch covers, as the rules name them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/engine/watch/WatchedPlaces.h"
#include "unit/engine/ScanTestSupport.h"

namespace {

using platform::RootKey;
using platform::WatchedKind;
using platform::WatchedPlace;
using scantest::IniRule;
using scantest::PathRule;
using scantest::RegRule;

std::string Describe(const std::vector<WatchedPlace>& places) {
    std::string out;
    for (const WatchedPlace& place : places) {
        out += place.kind == WatchedKind::RegistryKey ? "key " : "folder ";
        if (place.root == RootKey::CurrentUser) out += "HKCU\\";
        if (place.root == RootKey::LocalMachine) out += "HKLM\\";
        out += place.path + (place.subtree ? " +subtree" : "") + "\n";
    }
    return out;
}

TEST(WatchedPlacesTest, EachRuleGivesWhatItsReaderReads) {
    struct Case {
        const char* what;
        std::string rules;
        std::string places;
    };
    const std::string run = scantest::kRunKey;
    const std::string shellFolders =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    const Case cases[] = {
        {"a value, a key's values", RegRule("One", "HKEY_CURRENT_USER", run, "CHECK", "Bot") +
                                        RegRule("All", "HKEY_LOCAL_MACHINE", run, "ENUM"),
         "key HKCU\\" + run + "\nkey HKLM\\" + run + "\n"},
        {"each subkey's values", RegRule("Sub", "HKEY_LOCAL_MACHINE", "Software\\Items", "ENUM2"),
         "key HKLM\\Software\\Items +subtree\n"},
        {"one key twice, once with its subkeys",
         RegRule("A", "HKEY_CURRENT_USER", run, "ENUM") +
             RegRule("B", "HKEY_CURRENT_USER", "SOFTWARE\\MICROSOFT\\Windows\\CurrentVersion\\Run",
                     "ENUM2"),
         "key HKCU\\" + run + " +subtree\n"},
        {"an unknown root or action", RegRule("R", "HKCU", run, "ENUM") +
                                          RegRule("A", "HKEY_CURRENT_USER", run, "LIST"),
         ""},
        {"a start-up folder per account",
         PathRule("Startup", "FOL", "Users\\*USER*\\Startup"),
         "folder C:\\Users\\ann\\Startup\nfolder C:\\Users\\bob\\Startup\n"},
        {"a text file and a profile file by their folders",
         PathRule("Batch", "FIL", "autoexec.bat") + IniRule("Load", "win.ini", "windows", "load") +
             IniRule("Sys", "C:\\Other\\system.ini", "boot", "shell"),
         "folder C:\\\nfolder C:\\WINDOWS\nfolder C:\\Other\n"},
        {"shortcuts per account, and the folder the shell names with its value",
         PathRule("Shortcuts", "LNK", "Users\\*USER*\\Startup") +
             "[Moved]\r\nType=FOL\r\nFolder=Startup\r\n" +
             "[Unknown]\r\nType=LNK\r\nFolder=Desktop\r\n",
         "folder C:\\Users\\ann\\Startup\nfolder C:\\Users\\bob\\Startup\nkey HKCU\\" +
             shellFolders + "\nfolder C:\\Moved\n"},
    };
    for (const Case& c : cases) {
        platform::sim::SimSystem sys;
        sys.users().SetUsers({"ann", "bob"});
        sys.fs().AddFile(scantest::kRulesPath, c.rules);
        sys.reg().PutString(RootKey::CurrentUser, shellFolders, "Startup", "C:\\Moved\\");
        EXPECT_EQ(Describe(zorvik::WatchedPlacesOf(sys)), c.places) << c.what;
    }
}

}  // namespace

// The menu of the caller's entries and a file's shell context menu, and the walk that finds
// the file in the shell's namespace, on the simulated shell.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/base/Errors.h"
#include "core/windows/FindShellItem.h"
#include "core/windows/untExMenu.h"
#include "platform/sim/ui/SimShellNamespace.h"
#include "platform/sim/system/SimSystem.h"
#include "platform/sim/ui/SimUi.h"

namespace {

using namespace platform;
using platform::sim::SimShellCall;
using platform::sim::SimShellVerb;
using zorvik::ExMenuItem;

constexpr const char* kProgram = "C:\\Apps\\Bot.exe";

class ExMenuTest : public ::testing::Test {
protected:
    ExMenuTest() {
        WindowSpec desc;
        desc.name = "frmMain";
        desc.mainWindow = true;
        main = gui.NewWindow(desc);
        sys.fs().AddFile("C:\\Apps\\Readme.txt", "read me");
        sys.fs().AddFile(kProgram, "MZ");
        ns.SetContextMenu(kProgram, {SimShellVerb{"Open", [this] { ++opened; }},
                                     SimShellVerb{"Properties", {}}});
        items = {ExMenuItem{"Terminate Process", 1024, true, [this] { clicks.push_back(0); }},
                 ExMenuItem{"Add to Trusted Program List", 1025, true,
                            [this] { clicks.push_back(1); }},
                 ExMenuItem{"Open Location", 1026, true, [this] { clicks.push_back(2); }}};
    }

    void Show(const std::string& file) { zorvik::ShowExMenu(sys, file, 300, 200, *main, items); }

    // The captions of the one menu shown, in order; "-" for a separator.
    std::vector<std::string> Shown() const {
        std::vector<std::string> out;
        if (gui.Menus().size() != 1) return out;
        for (const MenuEntry& e : gui.Menus()[0].entries)
            out.push_back(e.separator ? "-" : e.caption);
        return out;
    }

    // Every menu and shell object is given up again.
    void ExpectAllReleased() const {
        EXPECT_EQ(gui.LiveNativeMenus(), 0);
        EXPECT_EQ(ns.LiveObjects(), 0);
    }

    sim::SimSystem sys;
    sim::SimUi& gui = sim::GuiOf(sys);
    sim::SimShellNamespace& ns = sim::ShellNamespaceOf(sys);
    std::unique_ptr<Window> main;
    std::vector<ExMenuItem> items;
    std::vector<int> clicks;
    int opened = 0;
};

const std::vector<std::string> kEntriesAndSeparator = {
    "Terminate Process", "Add to Trusted Program List", "Open Location", "-"};

TEST_F(ExMenuTest, TheShellEntriesFollowTheSeparatorAndDismissingRunsNothing) {
    Show(kProgram);

    ASSERT_EQ(gui.Menus().size(), 1u);
    const sim::MenuRecord& menu = gui.Menus()[0];
    EXPECT_EQ(menu.owner, "frmMain");
    EXPECT_EQ(menu.screen, (Point{300, 200}));
    EXPECT_EQ(menu.result, 0u);
    const std::vector<std::string> captions = {"Terminate Process", "Add to Trusted Program List",
                                               "Open Location", "-", "Open", "Properties"};
    EXPECT_EQ(Shown(), captions);
    const std::vector<std::uint32_t> ids = {1024, 1025, 1026, 0, 1, 2};
    for (std::size_t i = 0; i < ids.size() && i < menu.entries.size(); ++i)
        EXPECT_EQ(menu.entries[i].id, ids[i]) << i;

    ASSERT_EQ(ns.Queries().size(), 1u);
    const sim::SimContextMenuQuery& query = ns.Queries()[0];
    EXPECT_EQ(query.path, kProgram);
    EXPECT_EQ(query.indexMenu, 4u);
    EXPECT_EQ(query.idCmdFirst, 1u);
    EXPECT_EQ(query.idCmdLast, 1023u);
    EXPECT_EQ(query.flags, kContextMenuNormal);

    EXPECT_TRUE(clicks.empty());
    EXPECT_TRUE(ns.Invocations().empty());
    EXPECT_EQ(opened, 0);
    ExpectAllReleased();
}

TEST_F(ExMenuTest, ATableEntryRunsItsHandlerWhileTheMenuStillExists) {
    for (int entry = 0; entry < 3; ++entry) {
        clicks.clear();
        int menusDuringHandler = -1;
        items[entry].OnClick = [&, entry] {
            clicks.push_back(entry);
            menusDuringHandler = gui.LiveNativeMenus();
        };
        gui.QueueMenuChoice(1024 + entry);
        Show(kProgram);
        EXPECT_EQ(clicks, std::vector<int>{entry});
        EXPECT_EQ(menusDuringHandler, 1) << entry;
        EXPECT_TRUE(ns.Invocations().empty());
        ExpectAllReleased();
    }
}

TEST_F(ExMenuTest, AGreyedEntryIsShownGreyedAndCannotBeChosen) {
    items[0].Enabled = false;
    gui.QueueMenuChoice(1024);
    Show(kProgram);
    ASSERT_EQ(gui.Menus().size(), 1u);
    EXPECT_FALSE(gui.Menus()[0].entries[0].enabled);
    EXPECT_TRUE(gui.Menus()[0].entries[1].enabled);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(ExMenuTest, ChoosingAnEntryWithoutHandlerOrPastTheTableDoesNothing) {
    items[1].OnClick = nullptr;
    gui.QueueMenuChoice(1025);
    Show(kProgram);
    EXPECT_TRUE(clicks.empty());

    // A choice maps back to its entry by position: an id beyond the table names none, even
    // when an entry carries that id.
    items = {ExMenuItem{"First", 1024, true, [this] { clicks.push_back(0); }},
             ExMenuItem{"Stray", 1030, true, [this] { clicks.push_back(1); }}};
    gui.QueueMenuChoice(1030);
    Show(kProgram);
    EXPECT_EQ(gui.Menus().back().result, 1030u);
    EXPECT_TRUE(clicks.empty());
    EXPECT_TRUE(ns.Invocations().empty());
    ExpectAllReleased();
}

TEST_F(ExMenuTest, AShellEntryRunsThatCommandAndNothingElse) {
    gui.QueueMenuChoice(1);  // "Open"
    Show(kProgram);
    ASSERT_EQ(ns.Invocations().size(), 1u);
    EXPECT_EQ(ns.Invocations()[0].path, kProgram);
    EXPECT_EQ(ns.Invocations()[0].verb, 0u);
    EXPECT_EQ(ns.Invocations()[0].show, kShowNormal);
    EXPECT_EQ(opened, 1);

    gui.QueueMenuChoice(2);  // "Properties"
    Show(kProgram);
    ASSERT_EQ(ns.Invocations().size(), 2u);
    EXPECT_EQ(ns.Invocations()[1].verb, 1u);
    EXPECT_EQ(opened, 1);

    EXPECT_TRUE(clicks.empty());
    EXPECT_TRUE(sim::ShellOf(sys).Executions().empty());
    EXPECT_TRUE(gui.MessageBoxes().empty());
    ExpectAllReleased();
}

TEST_F(ExMenuTest, AShellCommandThatFailsIsSwallowed) {
    ns.SetContextMenu(kProgram,
                      {SimShellVerb{"Open", [] { throw zorvik::AppError("no handler"); }},
                       SimShellVerb{"Print", [] { throw std::runtime_error("printer gone"); }},
                       SimShellVerb{"Send", [] { throw 5; }}});
    for (std::uint32_t id = 1; id <= 3; ++id) {
        gui.QueueMenuChoice(id);
        EXPECT_NO_THROW(Show(kProgram)) << id;
    }
    EXPECT_EQ(ns.Invocations().size(), 3u);
    EXPECT_TRUE(clicks.empty());
    ExpectAllReleased();
}

TEST_F(ExMenuTest, AFileTheShellCannotFindGivesTheEntriesAndTheSeparatorOnly) {
    const char* const files[] = {"", "C:\\Apps\\Gone.exe", "C:\\Nowhere\\Bot.exe",
                                 "\\\\server\\share\\Bot.exe", "Bot.exe", "Q:\\Bot.exe"};
    for (const char* file : files) {
        gui.ClearRecords();
        gui.QueueMenuChoice(1);  // no shell entry carries it
        Show(file);
        EXPECT_EQ(Shown(), kEntriesAndSeparator) << file;
        EXPECT_TRUE(ns.Queries().empty()) << file;
        EXPECT_TRUE(ns.Invocations().empty()) << file;
        ExpectAllReleased();
    }
}

TEST_F(ExMenuTest, AFailedShellCallEndsTheMenuWithTheSystemsText) {
    struct Case {
        SimShellCall call;
        const char* path;
        std::uint32_t code;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {SimShellCall::GetUIObjectOf, kProgram, 0x80070005, "Access is denied.",
         "Access is denied."},
        {SimShellCall::QueryContextMenu, kProgram, 0x8007000E, "Not enough storage.",
         "Not enough storage."},
        {SimShellCall::BindToObject, "C:\\Apps", 0x80070015, "The device is not ready.",
         "The device is not ready."},
        {SimShellCall::GetDisplayNameOf, "C:\\Apps\\Readme.txt", 0x80004005, "",
         "OLE error 80004005"},
    };
    for (const Case& c : cases) {
        sim::SimSystem fresh;
        sim::SimShellNamespace& shell = sim::ShellNamespaceOf(fresh);
        sim::SimUi& ui = sim::GuiOf(fresh);
        WindowSpec desc;
        desc.name = "frmMain";
        desc.mainWindow = true;
        std::unique_ptr<Window> owner = ui.NewWindow(desc);
        fresh.fs().AddFile("C:\\Apps\\Readme.txt", "");
        fresh.fs().AddFile(kProgram, "MZ");
        shell.SetContextMenu(kProgram, {SimShellVerb{"Open", {}}});
        shell.FailCall(c.call, c.path, static_cast<std::int32_t>(c.code), c.text);
        ui.QueueMenuChoice(1024);

        try {
            zorvik::ShowExMenu(fresh, kProgram, 1, 1, *owner, items);
            ADD_FAILURE() << c.path << ": no error";
        } catch (const zorvik::AppError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_TRUE(ui.Menus().empty()) << c.message;
        EXPECT_TRUE(clicks.empty()) << c.message;
        EXPECT_EQ(ui.LiveNativeMenus(), 0) << c.message;
        EXPECT_EQ(shell.LiveObjects(), 0) << c.message;
    }
}

TEST_F(ExMenuTest, AnErrorFromTheChosenHandlerLeavesAndTheMenuIsDestroyed) {
    items[2].OnClick = [] { throw zorvik::AppError("Unable to open"); };
    gui.QueueMenuChoice(1026);
    EXPECT_THROW(Show(kProgram), zorvik::AppError);
    ExpectAllReleased();
}

TEST_F(ExMenuTest, WithoutAMenuNothingIsShownOrRun) {
    gui.SetNativeMenusAvailable(false);
    gui.QueueMenuChoice(1024);
    Show(kProgram);
    EXPECT_TRUE(gui.Menus().empty());
    EXPECT_TRUE(clicks.empty());
    ExpectAllReleased();
}

class FindShellItemTest : public ::testing::Test {
protected:
    FindShellItemTest() {
        sys.fs().AddFile("C:\\Apps\\Readme.txt", "");
        sys.fs().AddFile(kProgram, "MZ");
        sys.fs().AddDirectory("C:\\Apps\\Data");
        sys.fs().AddFile("D:\\Tools\\scan.exe", "MZ");
    }

    // The parsing name of what FindShellItem gave, asked of the folder it gave: the simulated
    // folders refuse ids that are not theirs, so this also proves the parent is the right one.
    std::string Found(const std::string& path) {
        std::shared_ptr<ShellFolder> parent;
        std::unique_ptr<ShellItemId> item = zorvik::FindShellItem(sys, path, parent);
        if (!item) return "(none)";
        if (!parent) return "(no parent)";
        std::string name;
        if (parent->GetDisplayNameOf(*item, kDisplayForParsing, name).Failed())
            return "(not the parent's)";
        return name;
    }

    std::vector<std::uint32_t> EnumerationFlags() const {
        std::vector<std::uint32_t> flags;
        for (const auto& e : ns.Enumerations()) flags.push_back(e.flags);
        return flags;
    }

    sim::SimSystem sys;
    sim::SimShellNamespace& ns = sim::ShellNamespaceOf(sys);
};

constexpr std::uint32_t kFolders = kEnumFolders | kEnumIncludeHidden;
constexpr std::uint32_t kEverything = kFolders | kEnumNonFolders;

TEST_F(FindShellItemTest, WalksFromMyComputerDownToTheFile) {
    EXPECT_EQ(Found(kProgram), kProgram);
    ASSERT_EQ(ns.Enumerations().size(), 3u);
    EXPECT_EQ(ns.Enumerations()[0].folder, sim::kSimMyComputerName);
    EXPECT_EQ(ns.Enumerations()[1].folder, "C:\\");
    EXPECT_EQ(ns.Enumerations()[2].folder, "C:\\Apps");
    // Files are asked for only at the last component, and only when it is no directory.
    EXPECT_EQ(EnumerationFlags(), (std::vector<std::uint32_t>{kFolders, kFolders, kEverything}));
    EXPECT_EQ(ns.LiveObjects(), 0);
}

TEST_F(FindShellItemTest, FindsFoldersDrivesAndFilesOnOtherDrives) {
    EXPECT_EQ(Found("C:\\Apps"), "C:\\Apps");
    EXPECT_EQ(EnumerationFlags(), (std::vector<std::uint32_t>{kFolders, kFolders}));
    EXPECT_EQ(Found("C:\\Apps\\Data"), "C:\\Apps\\Data");
    EXPECT_EQ(Found("C:\\"), "C:\\");
    EXPECT_EQ(Found("C:\\Apps\\"), "C:\\Apps");
    EXPECT_EQ(Found("D:\\Tools\\scan.exe"), "D:\\Tools\\scan.exe");
    EXPECT_EQ(ns.LiveObjects(), 0);
}

TEST_F(FindShellItemTest, IgnoresLetterCaseAndGivesTheShellsSpelling) {
    EXPECT_EQ(Found("c:\\apps\\BOT.EXE"), kProgram);
    EXPECT_EQ(Found("C:\\APPS\\data"), "C:\\Apps\\Data");
}

TEST_F(FindShellItemTest, HiddenItemsAreFound) {
    sys.fs().SetAttributes(kProgram, kAttrHidden);
    sys.fs().SetAttributes("C:\\Apps", kAttrDirectory | kAttrHidden);
    EXPECT_EQ(Found(kProgram), kProgram);
}

TEST_F(FindShellItemTest, WhatIsNotThereIsNotFound) {
    const char* const paths[] = {
        "C:\\Nope\\Bot.exe",          // a missing folder
        "C:\\Apps\\Gone.exe",         // a missing file
        "C:\\Apps\\Bot.exe\\x",       // a file is no folder
        "C:\\Apps\\Readme.txt\\",     // nor with a trailing backslash
        "Q:\\Bot.exe",                // no such drive
        "C:",                         // a drive without its root
        "\\\\server\\share\\Bot.exe", // no drive letter
        "Apps\\Bot.exe",
    };
    for (const char* path : paths) EXPECT_EQ(Found(path), "(none)") << path;
    EXPECT_EQ(ns.LiveObjects(), 0);
}

TEST_F(FindShellItemTest, TheWalkStopsAtTheFirstMissingComponent) {
    EXPECT_EQ(Found("C:\\Nope\\Deeper\\Bot.exe"), "(none)");
    EXPECT_EQ(ns.Enumerations().size(), 2u);
}

TEST_F(FindShellItemTest, AnEnumerationThatCannotStartFindsNothing) {
    ns.FailEnumeration("C:\\Apps");
    EXPECT_EQ(Found(kProgram), "(none)");
    EXPECT_EQ(Found("C:\\Apps"), "C:\\Apps");
}

TEST_F(FindShellItemTest, AnEmptyPathGivesTheDesktopAndNoItem) {
    std::shared_ptr<ShellFolder> parent;
    EXPECT_EQ(zorvik::FindShellItem(sys, "", parent), nullptr);
    ASSERT_NE(parent, nullptr);
    std::unique_ptr<ShellEnumerator> items = parent->EnumObjects(kFolders);
    ASSERT_NE(items, nullptr);
    std::unique_ptr<ShellItemId> first = items->Next();
    ASSERT_NE(first, nullptr);
    std::string name;
    EXPECT_FALSE(parent->GetDisplayNameOf(*first, kDisplayForParsing, name).Failed());
    EXPECT_EQ(name, sim::kSimMyComputerName);
}

TEST(AddBackslashTest, AddsOneUnlessEmptyARootOrEndingInOne) {
    struct Case {
        const char* text;
        const char* result;
    };
    const Case cases[] = {
        {"", ""},           {"C:\\", "C:\\"},         {"\\", "\\"},
        {"C:\\dir", "C:\\dir\\"}, {"C:\\dir\\", "C:\\dir\\"}, {"C:", "C:\\"},
        {"dir", "dir\\"},   {"\\\\", "\\\\"},
    };
    for (const Case& c : cases) EXPECT_EQ(zorvik::AddBackslash(c.text), c.result) << c.text;
}

TEST(IsDirectoryTest, OnlyExistingFolders) {
    sim::SimSystem sys;
    sys.fs().AddFile("C:\\Apps\\Bot.exe", "MZ");
    sys.fs().AddDirectory("C:\\Hidden");
    sys.fs().SetAttributes("C:\\Hidden", kAttrDirectory | kAttrHidden);
    EXPECT_TRUE(zorvik::IsDirectory(sys, "C:\\Apps"));
    EXPECT_TRUE(zorvik::IsDirectory(sys, "C:\\"));
    EXPECT_TRUE(zorvik::IsDirectory(sys, "C:\\Hidden"));
    EXPECT_FALSE(zorvik::IsDirectory(sys, "C:\\Apps\\Bot.exe"));
    EXPECT_FALSE(zorvik::IsDirectory(sys, "C:\\Apps\\Gone"));
    EXPECT_FALSE(zorvik::IsDirectory(sys, ""));
}

}  // namespace

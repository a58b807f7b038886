// The real shell namespace and context menus as the process menu uses them: finding a file by
// walking down from My Computer, its context-menu object filling a real popup menu, and the
// pieces that turn the shell's answers into text. No menu is tracked (it would wait for a user).
#include <gtest/gtest.h>

#include "platform/win32/WindowsApi.h"

#include <shlobj.h>

#include <cstring>
#include <memory>
#include <string>

#include "core/base/Errors.h"
#include "core/windows/FindShellItem.h"
#include "core/windows/ShellCheck.h"
#include "core/windows/untExMenu.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "platform/Ui.h"
#include "platform/win32/shell/HResultText.h"
#include "platform/win32/shell/StrRetText.h"

namespace {

using namespace platform;

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

class ExMenuWin32Test : public ::testing::Test {
protected:
    void SetUp() override {
        Files& files = sys->files();
        // The long form: the shell's parsing names never use 8.3 names.
        const std::string temp = files.LongPath(files.TempDirectory());
        ASSERT_FALSE(temp.empty());
        folder = zorvik::AddBackslash(temp) + "Zorvik ExMenu " + std::to_string(::GetCurrentProcessId());
        ASSERT_TRUE(files.CreateDirectory(folder)) << folder;
        program = folder + "\\Bot Tool.txt";
        ASSERT_TRUE(files.WriteAll(program, "not a bot").ok);
    }

    void TearDown() override {
        sys->files().Delete(program);
        sys->files().RemoveDirectory(folder);
    }

    // The parsing name of what the walk found, asked of the folder it gave back.
    std::string Found(const std::string& path) {
        std::shared_ptr<ShellFolder> parent;
        std::unique_ptr<ShellItemId> item = zorvik::FindShellItem(*sys, path, parent);
        if (!item) return "(none)";
        if (!parent) return "(no parent)";
        std::string name;
        ShellResult result = parent->GetDisplayNameOf(*item, kDisplayForParsing, name);
        if (result.Failed()) return "(failed: " + result.text + ")";
        return name;
    }

    std::unique_ptr<System> sys = CreateSystem();
    std::string folder;
    std::string program;
};

TEST_F(ExMenuWin32Test, FindsARealFileAndItsFolder) {
    EXPECT_EQ(Upper(Found(program)), Upper(program));
    EXPECT_EQ(Upper(Found(Upper(program))), Upper(program));
    EXPECT_EQ(Upper(Found(folder)), Upper(folder));
    EXPECT_EQ(Upper(Found(folder.substr(0, 3))), Upper(folder.substr(0, 3)));  // the drive
}

TEST_F(ExMenuWin32Test, WhatIsNotThereIsNotFound) {
    EXPECT_EQ(Found(folder + "\\Gone.exe"), "(none)");
    EXPECT_EQ(Found(folder + "\\Missing\\Bot Tool.txt"), "(none)");
    EXPECT_EQ(Found(program + "\\deeper"), "(none)");
    std::shared_ptr<ShellFolder> parent;
    EXPECT_EQ(zorvik::FindShellItem(*sys, "", parent), nullptr);
    EXPECT_NE(parent, nullptr);  // the desktop
}

TEST_F(ExMenuWin32Test, TheFilesContextMenuFillsARealMenu) {
    std::shared_ptr<ShellFolder> parent;
    std::unique_ptr<ShellItemId> item = zorvik::FindShellItem(*sys, program, parent);
    ASSERT_NE(item, nullptr);
    std::unique_ptr<ShellContextMenu> shellMenu;
    ShellResult object = parent->GetUIObjectOf(*item, shellMenu);
    ASSERT_FALSE(object.Failed()) << object.text;
    ASSERT_NE(shellMenu, nullptr);

    std::unique_ptr<NativeMenu> menu = sys->ui().NewNativeMenu();
    ASSERT_NE(menu, nullptr);
    MenuEntry own;
    own.caption = "Open Location";
    own.id = 1024;
    menu->Append(own);
    MenuEntry separator;
    separator.separator = true;
    menu->Append(separator);

    ShellResult added = shellMenu->QueryContextMenu(*menu, 2, 1, 1023, kContextMenuNormal);
    ASSERT_FALSE(added.Failed()) << added.text;
    HMENU handle = static_cast<HMENU>(menu->NativeHandle());
    const int count = ::GetMenuItemCount(handle);
    EXPECT_GT(added.code, 0) << "the shell added no entry";
    EXPECT_GT(count, 2);
    // The caller's entries stay on top; every shell entry that can be chosen is in 1..1023.
    EXPECT_EQ(::GetMenuItemID(handle, 0), 1024u);
    EXPECT_NE(::GetMenuState(handle, 1, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    for (int i = 2; i < count; ++i) {
        const UINT id = ::GetMenuItemID(handle, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators, submenus
        EXPECT_GE(id, 1u) << i;
        EXPECT_LE(id, 1023u) << i;
        EXPECT_LT(id, static_cast<UINT>(added.code) + 1) << i;
    }
}

TEST_F(ExMenuWin32Test, NativeMenusCarryTheEntriesAsAppended) {
    std::unique_ptr<NativeMenu> menu = sys->ui().NewNativeMenu();
    ASSERT_NE(menu, nullptr);
    MenuEntry on;
    on.caption = "Add to Trusted Program List";
    on.id = 1025;
    MenuEntry off;
    off.caption = "Terminate Process";
    off.id = 1024;
    off.enabled = false;
    MenuEntry separator;
    separator.separator = true;
    menu->Append(off);
    menu->Append(on);
    menu->Append(separator);
    HMENU handle = static_cast<HMENU>(menu->NativeHandle());
    ASSERT_EQ(::GetMenuItemCount(handle), 3);
    EXPECT_NE(::GetMenuState(handle, 0, MF_BYPOSITION) & MF_GRAYED, 0u);
    EXPECT_EQ(::GetMenuState(handle, 1, MF_BYPOSITION) & MF_GRAYED, 0u);
    EXPECT_NE(::GetMenuState(handle, 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    char caption[64] = {};
    ::GetMenuStringA(handle, 1, caption, sizeof caption, MF_BYPOSITION);
    EXPECT_STREQ(caption, "Add to Trusted Program List");

    menu.reset();
    EXPECT_FALSE(::IsMenu(handle));  // destroyed with its owner
}

TEST(StrRetTextTest, ReadsAllThreeKinds) {
    STRRET wide{};
    wide.uType = STRRET_WSTR;
    const wchar_t text[] = L"C:\\Apps\\Bot.exe";
    wide.pOleStr = static_cast<LPWSTR>(::CoTaskMemAlloc(sizeof text));
    ASSERT_NE(wide.pOleStr, nullptr);
    std::memcpy(wide.pOleStr, text, sizeof text);
    EXPECT_EQ(platform::win32::TakeStrRetText(wide, nullptr), "C:\\Apps\\Bot.exe");
    EXPECT_EQ(wide.pOleStr, nullptr);  // freed and not to be read again

    // An id list of one item whose name lies 4 bytes in, then the zero terminator.
    unsigned char list[32] = {};
    const char name[] = "Bot.exe";
    list[0] = 4 + sizeof name;
    std::memcpy(list + 4, name, sizeof name);
    STRRET offset{};
    offset.uType = STRRET_OFFSET;
    offset.uOffset = 4;
    EXPECT_EQ(platform::win32::TakeStrRetText(offset, reinterpret_cast<LPCITEMIDLIST>(list)),
              "Bot.exe");

    STRRET inline_{};
    inline_.uType = STRRET_CSTR;
    std::strcpy(inline_.cStr, "D:\\Tools");
    EXPECT_EQ(platform::win32::TakeStrRetText(inline_, nullptr), "D:\\Tools");
    // A full buffer without its zero is read to its end, not beyond.
    std::memset(inline_.cStr, 'x', sizeof inline_.cStr);
    EXPECT_EQ(platform::win32::TakeStrRetText(inline_, nullptr), std::string(MAX_PATH, 'x'));
}

TEST(HResultTextTest, FailuresCarryTheSystemsTextAndSuccessesTheirCode) {
    const ShellResult denied = platform::win32::ResultOf(E_ACCESSDENIED);
    EXPECT_TRUE(denied.Failed());
    ASSERT_FALSE(denied.text.empty());
    EXPECT_GT(static_cast<unsigned char>(denied.text.back()), ' ');  // no line break left
    try {
        zorvik::CheckShell(denied);
        ADD_FAILURE() << "no error";
    } catch (const zorvik::AppError& e) {
        EXPECT_EQ(e.what(), denied.text);
    }

    const ShellResult added = platform::win32::ResultOf(MAKE_HRESULT(SEVERITY_SUCCESS, 0, 7));
    EXPECT_FALSE(added.Failed());
    EXPECT_EQ(added.code, 7);
    EXPECT_TRUE(added.text.empty());
    EXPECT_NO_THROW(zorvik::CheckShell(added));

    // A code the system has no text for.
    const ShellResult unknown = platform::win32::ResultOf(static_cast<HRESULT>(0xA0041234));
    EXPECT_TRUE(unknown.Failed());
    EXPECT_TRUE(unknown.text.empty());
    try {
        zorvik::CheckShell(unknown);
        ADD_FAILURE() << "no error";
    } catch (const zorvik::AppError& e) {
        EXPECT_STREQ(e.what(), "OLE error A0041234");
    }
}

}  // namespace

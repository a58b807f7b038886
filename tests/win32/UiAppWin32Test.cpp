// The application object of the Windows build: windows' life cycle, the message loop, the
// general error handler with a real message box, popup menus, the open-file dialog's record and
// the notification icon.
#include "platform/win32/WindowsApi.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "core/windows/untOp.h"
#include "platform/Shell.h"
#include "platform/win32/ui/NotifyIconRecord.h"
#include "platform/win32/ui/OpenFileDialog.h"
#include "platform/win32/ui/Win32PopupMenu.h"
#include "platform/win32/shell/Win32Shell.h"

namespace {

using platform::MenuEntry;
using platform::Point;
using platform::WindowSpec;
using uitest::HandleOf;

WindowSpec WindowAt(const char* name, bool main = false) {
    WindowSpec desc;
    desc.name = name;
    desc.caption = name;
    desc.outerWidth = 400;
    desc.outerHeight = 300;
    desc.mainWindow = main;
    return desc;
}

class AppWin32 : public uitest::UiTest {};

void CALLBACK QuitLoop(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(1); }

TEST_F(AppWin32, WindowsAreMadeHiddenAtTheirSizeAndCentredAtTheFirstShow) {
    WindowSpec clientSpec = WindowAt("frmOp");
    clientSpec.frame = platform::WindowFrame::FixedToolWindow;
    clientSpec.clientWidth = 137;
    clientSpec.clientHeight = 121;
    auto byClient = ui.NewWindow(clientSpec);
    EXPECT_EQ(byClient->ClientWidth(), 137);
    EXPECT_EQ(byClient->ClientHeight(), 121);
    EXPECT_GT(byClient->OuterWidth(), 137);

    auto window = ui.NewWindow(WindowAt("frmMain", true));
    EXPECT_FALSE(window->Visible());
    EXPECT_EQ(window->OuterWidth(), 400);
    EXPECT_EQ(window->OuterHeight(), 300);
    EXPECT_EQ(ui.MainWindow(), window.get());
    std::vector<std::string> events;
    window->OnShow = [&] { events.push_back("show"); };
    window->OnResize = [&] { events.push_back("resize " + std::to_string(window->OuterWidth())); };
    window->Show();
    EXPECT_TRUE(IsWindowVisible(HandleOf(*window)));
    const Point at = window->Position();
    EXPECT_EQ(at.x, (GetSystemMetrics(SM_CXSCREEN) - 400) / 2);
    EXPECT_EQ(at.y, (GetSystemMetrics(SM_CYSCREEN) - 300) / 2);
    window->Show();  // shown already: only brought forward
    window->SetOuterWidth(500);
    window->SetOuterWidth(500);  // no change, no resize
    EXPECT_EQ(events, (std::vector<std::string>{"show", "resize 400", "resize 500"}));
    EXPECT_THROW(ui.NewWindow(WindowAt("frmOther", true)), std::logic_error);
    EXPECT_THROW(ui.NewWindow(WindowAt("frmMain")), std::logic_error);
}

TEST_F(AppWin32, TheCloseButtonAsksOnCloseAndAnAllowedCloseOfTheMainWindowEndsTheLoop) {
    auto side = ui.NewWindow(WindowAt("frmTrust"));
    auto main = ui.NewWindow(WindowAt("frmMain", true));
    side->Show();
    main->Show();
    bool allow = false;
    main->OnClose = [&](platform::CloseRequest& request) { request.allow = allow; };
    SendMessageA(HandleOf(*main), WM_CLOSE, 0, 0);
    EXPECT_TRUE(main->Visible()) << "refused";
    EXPECT_FALSE(ui.Terminated());

    SendMessageA(HandleOf(*side), WM_CLOSE, 0, 0);
    EXPECT_FALSE(side->Visible()) << "a close only hides";
    EXPECT_TRUE(IsWindow(HandleOf(*side)));
    EXPECT_FALSE(ui.Terminated());

    allow = true;
    SendMessageA(HandleOf(*main), WM_CLOSE, 0, 0);
    EXPECT_FALSE(main->Visible());
    EXPECT_TRUE(ui.Terminated());
}

TEST_F(AppWin32, AFailingCloseHandlerIsShownAndTheWindowStays) {
    auto main = ui.NewWindow(WindowAt("frmMain", true));
    main->Show();
    main->OnClose = [](platform::CloseRequest&) { throw std::runtime_error("cannot save"); };
    SendMessageA(HandleOf(*main), WM_CLOSE, 0, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "cannot save");
    EXPECT_EQ(boxes[0].owner, HandleOf(*main)) << "boxes are owned by the main window";
    EXPECT_TRUE(main->Visible());
    EXPECT_THROW(main->Close(), std::runtime_error) << "a close from code sees the exception";
}

TEST_F(AppWin32, EveryMessageReachesTheListenersFirst) {
    auto main = ui.NewWindow(WindowAt("frmMain", true));
    struct Seen {
        std::uint32_t message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    std::vector<Seen> seen;
    const std::uint32_t taskbarCreated = ui.RegisterMessage("TaskbarCreated");
    EXPECT_GE(taskbarCreated, 0xC000u);
    EXPECT_EQ(ui.RegisterMessage("TaskbarCreated"), taskbarCreated);
    const auto listener = [&](std::uint32_t m, std::uintptr_t w, std::intptr_t l) {
        if (m == 1025 || m == platform::kEndSessionMessage || m == taskbarCreated)
            seen.push_back(Seen{m, w, l});
    };
    const platform::ListenerToken listening = main->AddMessageListener(listener);
    main->Post(1025, 0, platform::kTrayDoubleClick);
    EXPECT_TRUE(seen.empty()) << "posted: waits for the loop";
    ui.ProcessMessages();
    main->Send(platform::kEndSessionMessage, 1, 0);
    PostMessageA(HandleOf(*main), taskbarCreated, 0, 0);
    ui.ProcessMessages();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].message, 1025u);
    EXPECT_EQ(seen[0].lParam, 515);
    EXPECT_EQ(seen[1].message, 22u);
    EXPECT_EQ(seen[1].wParam, 1u);
    EXPECT_EQ(seen[2].message, taskbarCreated);
}

TEST_F(AppWin32, RunShowsTheMainWindowAndHandlesMessagesUntilTerminate) {
    auto main = ui.NewWindow(WindowAt("frmMain", true));
    int shows = 0;
    main->OnShow = [&] { ++shows; };
    const auto listener = [&](std::uint32_t m, std::uintptr_t, std::intptr_t) {
        if (m == WM_APP + 7) ui.Terminate();
    };
    const platform::ListenerToken listening = main->AddMessageListener(listener);
    main->Post(WM_APP + 7, 0, 0);
    // Should Terminate not end the loop, this ends it, and the test fails below.
    const UINT_PTR guard = SetTimer(nullptr, 0, 10000, &QuitLoop);
    ui.Run();
    KillTimer(nullptr, guard);
    EXPECT_EQ(shows, 1);
    EXPECT_TRUE(main->Visible());
    EXPECT_TRUE(ui.Terminated());
    MSG leftover;
    EXPECT_FALSE(PeekMessageA(&leftover, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE))
        << "the loop took its own quit request";
}

TEST_F(AppWin32, TheMinimiseButtonMinimisesTheApplicationAndRestoreBringsItBack) {
    auto main = ui.NewWindow(WindowAt("frmMain", true));
    auto side = ui.NewWindow(WindowAt("frmOp"));
    main->Show();
    side->Show();
    int minimised = 0;
    ui.OnApplicationMinimise = [&] {
        ++minimised;
        main->Hide();
        ui.ShowTaskbarButton(false);
    };
    SendMessageA(HandleOf(*main), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(minimised, 1);
    EXPECT_TRUE(ui.ApplicationMinimised());
    EXPECT_FALSE(main->Visible());
    EXPECT_FALSE(side->Visible()) << "the side windows leave with the application";
    EXPECT_FALSE(ui.TaskbarButtonShown());
    EXPECT_EQ(main->OuterWidth(), 400) << "the normal size, not the minimised one";
    ui.MinimiseApplication();
    EXPECT_EQ(minimised, 1) << "minimised already";

    ui.ShowTaskbarButton(true);
    ui.RestoreApplication();
    EXPECT_FALSE(ui.ApplicationMinimised());
    EXPECT_TRUE(main->Visible());
    EXPECT_FALSE(IsIconic(HandleOf(*main)));
    EXPECT_TRUE(side->Visible());
    EXPECT_EQ(main->OuterWidth(), 400);
}

TEST_F(AppWin32, AFailingMinimiseNotificationEndsTheHandlerThatAskedForIt) {
    auto main = ui.NewWindow(WindowAt("frmMain", true));
    main->Show();
    ui.OnApplicationMinimise = [] { throw std::runtime_error("'x' is not a valid integer value"); };
    EXPECT_THROW(ui.MinimiseApplication(), std::runtime_error);
    ui.RestoreApplication();
    SendMessageA(HandleOf(*main), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_EQ(boxes.size(), 1u) << "the button's minimise goes through the error handler";
    EXPECT_EQ(boxes[0].text, "'x' is not a valid integer value");
}

TEST_F(AppWin32, AMaximisedStateSetWhileHiddenTakesEffectAtTheShow) {
    auto main = ui.NewWindow(WindowAt("frmMain", true));
    main->SetMaximised(true);
    EXPECT_FALSE(main->Visible());
    EXPECT_TRUE(main->Maximised());
    main->Show();
    EXPECT_TRUE(IsZoomed(HandleOf(*main)));
    main->SetMaximised(false);
    EXPECT_FALSE(IsZoomed(HandleOf(*main)));
}

TEST_F(AppWin32, TabMovesTheFocusInTheOrderTheControlsWereAdded) {
    zorvik::TfrmOp op(*sys);
    op.Show();
    op.ChkAutoScan.SetChecked(true);  // so that the interval box and arrows take the focus
    SetFocus(HandleOf(op.ChkAutoScan));
    std::vector<std::string> order;
    for (int i = 0; i < 6; ++i) {
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        ui.ProcessMessages();
        char name[32] = {};
        for (const char* control : {"ChkAutoScan", "EdtInt", "UpInt", "ChkMin", "ChkStartWin",
                                    "ChkIgnoreSafe", "ChkWatch"}) {
            if (HandleOf(*op.Form().FindControl(control)) == GetFocus())
                lstrcpynA(name, control, sizeof name);
        }
        order.push_back(name);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"EdtInt", "UpInt", "ChkMin", "ChkStartWin",
                                               "ChkIgnoreSafe", "ChkWatch"}));
}

TEST_F(AppWin32, TheProgramsManifestBringsVersion6OfTheCommonControls) {
    // The module the program's own imports were bound to: other system DLLs may have loaded
    // the older version beside it. Its path names the side-by-side assembly; its version
    // resource is no proof, as Wine's version 6 reports 5.80.
    HMODULE controls = nullptr;
    ASSERT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                       GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   reinterpret_cast<const char*>(&InitCommonControlsEx),
                                   &controls));
    char path[MAX_PATH] = {};
    GetModuleFileNameA(controls, path, MAX_PATH);
    std::string lower = path;
    CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
    EXPECT_NE(lower.find("\\winsxs\\"), std::string::npos) << path;
    EXPECT_NE(lower.find("microsoft.windows.common-controls_6595b64144ccf1df_6.0."),
              std::string::npos)
        << path;
}

// --- The general error handler's box, shown for real ------------------------------------------

struct ShownBox {
    std::string caption;
    std::vector<std::string> texts;
    bool icon = false;
    HWND owner = nullptr;
};

BOOL CALLBACK ReadBoxPart(HWND child, LPARAM param) {
    auto* seen = reinterpret_cast<ShownBox*>(param);
    if (uitest::ClassOf(child) != "Static") return TRUE;
    if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        seen->icon = true;
        return TRUE;
    }
    char text[300] = {};
    GetWindowTextA(child, text, sizeof text);
    if (text[0]) seen->texts.push_back(text);
    return TRUE;
}

ShownBox ReadBox(HWND box) {
    ShownBox shown;
    char caption[200] = {};
    GetWindowTextA(box, caption, sizeof caption);
    shown.caption = caption;
    shown.owner = GetWindow(box, GW_OWNER);
    EnumChildWindows(box, &ReadBoxPart, reinterpret_cast<LPARAM>(&shown));
    return shown;
}

TEST_F(AppWin32, TheGeneralErrorHandlerShowsAStopBoxTitledWithTheApplicationsTitle) {
    ui.SetMessageBoxInterceptor(nullptr);
    auto main = ui.NewWindow(WindowAt("frmMain", true));
    main->Show();
    ui.SetApplicationTitle("Zorvik");
    std::vector<ShownBox> shown;
    uitest::DialogWatcher watcher([&](HWND box) {
        shown.push_back(ReadBox(box));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    bool after = false;
    ui.RunHandler([] { throw std::runtime_error("'abc' is not a valid integer value"); });
    after = true;
    ASSERT_FALSE(shown.empty()) << "no box was shown";
    EXPECT_EQ(shown[0].caption, "Zorvik");
    EXPECT_EQ(shown[0].texts, (std::vector<std::string>{"'abc' is not a valid integer value"}));
    EXPECT_TRUE(shown[0].icon) << "the stop icon";
    EXPECT_EQ(shown[0].owner, HandleOf(*main));
    EXPECT_TRUE(after);
}

TEST_F(AppWin32, MessageBoxStylesFollowTheIcon) {
    using platform::MessageIcon;
    using platform::win32::MessageBoxFlags;
    EXPECT_EQ(MessageBoxFlags(MessageIcon::Error), static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(MessageBoxFlags(MessageIcon::Information),
              static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(MessageBoxFlags(MessageIcon::None), static_cast<UINT>(MB_OK));
    ui.ShowMessageBox(nullptr, "Success", "Success", MessageIcon::Information);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, nullptr) << "no main window yet";
}

// --- Popup menus ------------------------------------------------------------------------------

const std::vector<MenuEntry> kTrayMenu{
    {"Rescan", 10, true, false},  {"", 0, true, true},       {"Show\\Hide", 11, false, false},
    {"", 0, true, true},          {"Exit", 12, true, false},
};

TEST_F(AppWin32, PopupMenusAreBuiltFromTheirEntries) {
    platform::win32::ScopedMenu menu = platform::win32::BuildPopupMenu(kTrayMenu);
    HMENU h = menu.get();
    ASSERT_TRUE(IsMenu(h));
    ASSERT_EQ(GetMenuItemCount(h), 5);
    char text[40] = {};
    GetMenuStringA(h, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Rescan");
    EXPECT_EQ(GetMenuItemID(h, 0), 10u);
    EXPECT_EQ(GetMenuState(h, 0, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED), 0u);
    EXPECT_TRUE(GetMenuState(h, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuState(h, 2, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED),
              static_cast<UINT>(MF_GRAYED | MF_DISABLED));
    GetMenuStringA(h, 2, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Show\\Hide");
    menu.Reset();
    EXPECT_FALSE(IsMenu(h)) << "destroyed with its owner";
}

TEST_F(AppWin32, APopupMenuReturnsTheChosenEntryAndIsDestroyedAfterwards) {
    auto main = ui.NewWindow(WindowAt("frmMain", true));
    main->Show();
    HMENU shown = nullptr;
    int idle = 0;
    const auto listener = [&](std::uint32_t m, std::uintptr_t w, std::intptr_t) {
        if (m == WM_INITMENUPOPUP) shown = reinterpret_cast<HMENU>(w);
        // Whatever happens, the menu does not stay open.
        if (m == WM_ENTERIDLE && ++idle > 500) EndMenu();
    };
    const platform::ListenerToken listening = main->AddMessageListener(listener);
    PostMessageA(HandleOf(*main), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(HandleOf(*main), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(ui.RunPopupMenu(*main, kTrayMenu, Point{100, 100}), 10u);
    ASSERT_NE(shown, nullptr);
    EXPECT_FALSE(IsMenu(shown));

    PostMessageA(HandleOf(*main), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(ui.RunPopupMenu(*main, kTrayMenu, Point{100, 100}), 0u) << "dismissed";
}

TEST_F(AppWin32, NativeMenusTakeEntriesAndTrack) {
    auto main = ui.NewWindow(WindowAt("frmMain", true));
    main->Show();
    std::unique_ptr<platform::NativeMenu> menu = ui.NewNativeMenu();
    ASSERT_NE(menu, nullptr);
    HMENU h = static_cast<HMENU>(menu->NativeHandle());
    menu->Append(MenuEntry{"Terminate Process", 1024, false, false});
    menu->Append(MenuEntry{"Add to Trusted Program List", 1025, true, false});
    menu->Append(MenuEntry{"", 0, true, true});
    ASSERT_EQ(GetMenuItemCount(h), 3);
    EXPECT_TRUE(GetMenuState(h, 0, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(h, 2, MF_BYPOSITION) & MF_SEPARATOR);
    // Down twice: the greyed entry can be highlighted but not chosen, the second can.
    PostMessageA(HandleOf(*main), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(HandleOf(*main), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(HandleOf(*main), WM_KEYDOWN, VK_RETURN, 0);
    int idle = 0;
    const auto listener = [&](std::uint32_t m, std::uintptr_t, std::intptr_t) {
        if (m == WM_ENTERIDLE && ++idle > 500) EndMenu();
    };
    const platform::ListenerToken listening = main->AddMessageListener(listener);
    EXPECT_EQ(menu->Track(*main, Point{50, 50}), 1025u);
    menu.reset();
    EXPECT_FALSE(IsMenu(h));
}

// --- The open-file dialog's record ------------------------------------------------------------

TEST(OpenFileRecordWin32, IsTheFullStructureOfThisBuildWithAnEmptyBuffer) {
    platform::OpenFileRequest request;
    request.filters = {{"Exe Files(*.exe)", "*.exe"}};
    request.title = "Add Trusted Program";
    const std::string filter = platform::win32::FilterText(request.filters);
    EXPECT_EQ(filter, std::string("Exe Files(*.exe)\0*.exe\0\0", 24));
    std::vector<char> buffer;
    const OPENFILENAMEA record =
        platform::win32::OpenFileRecord(request, nullptr, filter, buffer);
    EXPECT_EQ(record.lStructSize, sizeof(OPENFILENAMEA));
    if (sizeof(void*) == 4) {
        EXPECT_EQ(record.lStructSize, 88u);
    }
    EXPECT_EQ(record.nMaxFile, 261u);
    ASSERT_EQ(buffer.size(), 261u);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(record.lpstrFile, buffer.data());
    EXPECT_STREQ(record.lpstrTitle, "Add Trusted Program");
    EXPECT_EQ(record.hInstance, GetModuleHandleA(nullptr));
    EXPECT_EQ(record.Flags, 0u);
    EXPECT_EQ(record.lpstrInitialDir, nullptr);
    EXPECT_EQ(record.lpstrDefExt, nullptr);
    EXPECT_EQ(record.lpstrCustomFilter, nullptr);
}

// --- The notification icon and the shell ------------------------------------------------------

class ShellWin32 : public uitest::UiTest {
protected:
    platform::win32::Win32Shell& shell = dynamic_cast<platform::win32::Win32Shell&>(sys->shell());
};

TEST_F(ShellWin32, TheIconRecordIsTheBalloonSizeWithTextsCutToTheirFields) {
    auto main = ui.NewWindow(WindowAt("frmMain", true));
    platform::NotifyIconData data;
    data.window = main.get();
    data.id = 0;
    data.flags = platform::kNotifyMessage | platform::kNotifyIcon | platform::kNotifyTip;
    data.callbackMessage = 1025;
    data.tip = std::string(200, 't');
    data.infoText = std::string(300, 'i');
    data.infoTitle = "Detection!";
    data.timeout = 5000;
    data.infoFlags = platform::kBalloonInfoIcon;
    HICON icon = shell.IconFor(platform::TrayIconImage::Application);
    const NOTIFYICONDATAA record = platform::win32::NotifyIconRecord(data, icon);
    EXPECT_EQ(record.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE));
    if (sizeof(void*) == 4) {
        EXPECT_EQ(record.cbSize, 488u);
    }
    EXPECT_EQ(record.hWnd, HandleOf(*main));
    EXPECT_EQ(record.uFlags, 7u);
    EXPECT_EQ(record.uCallbackMessage, 1025u);
    EXPECT_EQ(record.hIcon, icon);
    EXPECT_EQ(std::string(record.szTip), std::string(127, 't'));
    EXPECT_EQ(std::string(record.szInfo), std::string(255, 'i'));
    EXPECT_STREQ(record.szInfoTitle, "Detection!");
    EXPECT_EQ(record.uTimeout, 5000u);
    EXPECT_EQ(record.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));

    data.infoTitle = std::string(80, 'T');
    EXPECT_EQ(std::string(platform::win32::NotifyIconRecord(data, icon).szInfoTitle),
              std::string(63, 'T'));
}

TEST_F(ShellWin32, TheApplicationIconIsLoadedAtTheSmallIconSize) {
    HICON icon = shell.IconFor(platform::TrayIconImage::Application);
    ASSERT_NE(icon, nullptr) << "the program's icon, or the system's when it has none";
    EXPECT_EQ(shell.IconFor(platform::TrayIconImage::Application), icon) << "loaded once";
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    // The copies GetIconInfo hands out are the caller's.
    const platform::win32::ScopedBitmap colour(info.hbmColor);
    const platform::win32::ScopedBitmap maskBitmap(info.hbmMask);
    BITMAP mask{};
    GetObjectA(maskBitmap.get(), sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(shell.IconFor(platform::TrayIconImage::None), nullptr);
}

TEST_F(ShellWin32, TheIconGoesIntoTheNotificationAreaAndOut) {
    auto main = ui.NewWindow(WindowAt("frmMain", true));
    platform::NotifyIconData data;
    data.window = main.get();
    data.flags = platform::kNotifyMessage | platform::kNotifyIcon | platform::kNotifyTip;
    data.callbackMessage = 1025;
    data.icon = platform::TrayIconImage::Application;
    data.tip = "Zorvik";
    if (!shell.NotifyIcon(platform::NotifyAction::Add, data))
        GTEST_SKIP() << "no notification area on this system";
    data.flags = platform::kNotifyInfo;
    data.infoTitle = "Detection!";
    data.infoText = "New program detected";
    data.timeout = 5000;
    data.infoFlags = platform::kBalloonInfoIcon;
    EXPECT_TRUE(shell.NotifyIcon(platform::NotifyAction::Modify, data));
    EXPECT_TRUE(shell.NotifyIcon(platform::NotifyAction::Delete, data));
    EXPECT_FALSE(shell.NotifyIcon(platform::NotifyAction::Modify, data)) << "gone";
}

TEST_F(ShellWin32, ExecuteReturnsWhatTheShellAnswers) {
    platform::ShellExecuteRequest request;
    request.verb = "OPEN";
    request.file = "C:\\no such folder\\Zorvik Help.chm";
    const std::intptr_t result = sys->shell().Execute(request);
    EXPECT_LE(result, 32) << "a missing file fails";
    EXPECT_GT(result, 0);
}

}  // namespace

// The three windows on screens scaled to 150 % and 200 %: their controls grow with the
// resolution, stay inside the client area, and none covers another (a control inside its group
// box aside) beyond what the layout itself has at 96 dpi, where a check box's 17 pixels stand
// at 16 pixels' spacing and the interval box reaches under its arrows by one.
//
// Wine reads the resolution from LogPixels when a program starts and keeps it for the
// program's life, so each resolution is tried in a run of this program of its own, started
// with LogPixels set and put back after it. Wine has one monitor and moves no window to another
// of a different resolution: a change of resolution is tried by sending WM_DPICHANGED as the
// system would.
#include "platform/win32/WindowsApi.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/windows/main/untMain.h"
#include "core/windows/untOp.h"
#include "core/windows/untTrust.h"
#include "platform/win32/system/ScopedHandle.h"
#include "platform/win32/ui/Dpi.h"
#include "platform/win32/ui/controls/Win32Control.h"
#include "win32/UiTestSupport.h"

namespace {

using uitest::HandleOf;

constexpr const char* kDpiVariable = "ZORVIK_TEST_DPI";
constexpr const char* kSurveyVariable = "ZORVIK_TEST_SURVEY";
constexpr const char* kDesktopKey = "Control Panel\\Desktop";
constexpr const char* kLogPixels = "LogPixels";

// A visible control, in its window's client coordinates. Named by its place in the order made,
// its class and text, after the group box holding it: the same in every run.
struct Placed {
    std::string name;
    RECT rect;
};

// A window's outer size in the layout's pixels, its client area (at 0, 0) and its controls.
struct Layout {
    SIZE outer{};
    RECT client{};
    std::vector<Placed> controls;
};
using Layouts = std::map<std::string, Layout>;  // by window name

bool IsGroupBox(HWND hwnd) {
    return uitest::ClassOf(hwnd) == "Button" &&
           (uitest::StyleOf(hwnd) & BS_TYPEMASK) == BS_GROUPBOX;
}

void SurveyChildren(HWND form, const std::string& prefix, HWND parent, Layout& layout) {
    int index = 0;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string name = prefix + std::to_string(index++) + ":" + uitest::ClassOf(child) +
                                 ":" + platform::win32::WindowText(child);
        if (!IsWindowVisible(child)) continue;
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, form, reinterpret_cast<POINT*>(&r), 2);
        layout.controls.push_back({name, r});
        if (IsGroupBox(child)) SurveyChildren(form, name + "/", child, layout);
    }
}

// Every control the program added, whichever they are.
Layout Survey(const platform::Window& window) {
    Layout layout;
    layout.outer = SIZE{window.OuterWidth(), window.OuterHeight()};
    HWND form = HandleOf(window);
    GetClientRect(form, &layout.client);
    SurveyChildren(form, "", form, layout);
    return layout;
}

bool Holds(const Placed& outer, const Placed& inner) {
    return inner.name.rfind(outer.name + "/", 0) == 0;
}

std::string Describe(const RECT& r) {
    std::ostringstream text;
    text << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
    return text.str();
}

// The pairs of controls that overlap, neither holding the other, with the size of the overlap.
std::map<std::string, SIZE> Overlaps(const Layout& layout) {
    std::map<std::string, SIZE> overlaps;
    const auto& c = layout.controls;
    for (std::size_t i = 0; i < c.size(); ++i) {
        for (std::size_t j = i + 1; j < c.size(); ++j) {
            if (Holds(c[i], c[j]) || Holds(c[j], c[i])) continue;
            RECT common{};
            if (IntersectRect(&common, &c[i].rect, &c[j].rect))
                overlaps[c[i].name + " | " + c[j].name] =
                    SIZE{common.right - common.left, common.bottom - common.top};
        }
    }
    return overlaps;
}

// Inside the client area, and no overlap but the layout's own, no deeper than it grown by the
// scale (the other side of an overlap is the controls' extent, which may follow their text).
void ExpectTidy(const std::string& window, const Layout& scaled, const Layout& unscaled,
                double factor) {
    for (const Placed& p : scaled.controls) {
        RECT within{};
        UnionRect(&within, &scaled.client, &p.rect);
        EXPECT_TRUE(EqualRect(&within, &scaled.client))
            << window << ": " << p.name << " at " << Describe(p.rect)
            << " outside the client area " << Describe(scaled.client);
    }
    const auto own = Overlaps(unscaled);
    for (const auto& [pair, size] : Overlaps(scaled)) {
        const auto found = own.find(pair);
        if (found == own.end()) {
            ADD_FAILURE() << window << ": " << pair << " overlap by " << size.cx << "x" << size.cy;
            continue;
        }
        const LONG depth = std::min(found->second.cx, found->second.cy);
        EXPECT_LE(std::min(size.cx, size.cy), std::ceil(depth * factor)) << window << ": " << pair;
    }
}

// Within a pixel or two, or an eighth for the controls that size themselves to their text in
// a font whose pixels do not grow exactly in proportion.
void ExpectScaled(int before, int after, double factor, const std::string& what) {
    const double expected = before * factor;
    const double slack = std::max(2.0, expected / 8);
    EXPECT_NEAR(after, expected, slack) << what << " (" << before << " at 96 dpi)";
}

void ExpectScaledSizes(const std::string& window, const Layout& scaled, const Layout& unscaled,
                       double factor) {
    ASSERT_EQ(scaled.controls.size(), unscaled.controls.size()) << window;
    for (std::size_t i = 0; i < scaled.controls.size(); ++i) {
        const Placed& a = unscaled.controls[i];
        const Placed& b = scaled.controls[i];
        ASSERT_EQ(a.name, b.name) << window;
        ExpectScaled(a.rect.right - a.rect.left, b.rect.right - b.rect.left, factor,
                     window + ": " + a.name + " width");
        ExpectScaled(a.rect.bottom - a.rect.top, b.rect.bottom - b.rect.top, factor,
                     window + ": " + a.name + " height");
    }
}

// The three windows as the program shows them, without a scan or the settings file.
struct ShownWindows {
    explicit ShownWindows(platform::System& sys) : main(sys), trust(sys), op(sys) {
        main.Form().Show();
        trust.Show();
        op.Show();
        sys.ui().ProcessMessages();
    }
    std::vector<platform::Window*> All() { return {&main.Form(), &trust.Form(), &op.Form()}; }
    Layouts Survey() {
        Layouts layouts;
        for (platform::Window* window : All()) layouts[window->Name()] = ::Survey(*window);
        return layouts;
    }
    zorvik::TfrmMain main;
    zorvik::TfrmTrust trust;
    zorvik::TfrmOp op;
};

// A line a rectangle, tab-separated: window, control (empty for the client area, "*" for the
// outer size), left, top, right, bottom.
void Write(const Layouts& layouts, std::ostream& out) {
    auto line = [&](const std::string& window, const std::string& name, const RECT& r) {
        out << window << "\t" << name << "\t" << r.left << "\t" << r.top << "\t" << r.right
            << "\t" << r.bottom << "\n";
    };
    for (const auto& [window, layout] : layouts) {
        line(window, "*", RECT{0, 0, layout.outer.cx, layout.outer.cy});
        line(window, "", layout.client);
        for (const Placed& p : layout.controls) line(window, p.name, p.rect);
    }
}

Layouts Read(std::istream& in) {
    Layouts layouts;
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
        if (fields.size() != 6) continue;
        const RECT r{std::atoi(fields[2].c_str()), std::atoi(fields[3].c_str()),
                     std::atoi(fields[4].c_str()), std::atoi(fields[5].c_str())};
        Layout& layout = layouts[fields[0]];
        if (fields[1] == "*") layout.outer = SIZE{r.right, r.bottom};
        else if (fields[1].empty()) layout.client = r;
        else layout.controls.push_back({fields[1], r});
    }
    return layouts;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The user's LogPixels set for the programs started meanwhile, and put back (or removed).
class ScopedLogPixels {
public:
    explicit ScopedLogPixels(DWORD dpi) {
        RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
        DWORD size = sizeof old_;
        DWORD type = 0;
        had_ = key_ &&
               RegQueryValueExA(key_, kLogPixels, nullptr, &type, reinterpret_cast<BYTE*>(&old_),
                                &size) == ERROR_SUCCESS &&
               type == REG_DWORD;
        Set(dpi);
    }
    ~ScopedLogPixels() {
        if (!key_) return;
        if (had_) Set(old_);
        else RegDeleteValueA(key_, kLogPixels);
        RegCloseKey(key_);
    }
    ScopedLogPixels(const ScopedLogPixels&) = delete;
    ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;
    bool Ok() const { return key_ != nullptr; }

private:
    void Set(DWORD dpi) {
        if (key_)
            RegSetValueExA(key_, kLogPixels, 0, REG_DWORD, reinterpret_cast<BYTE*>(&dpi),
                           sizeof dpi);
    }
    HKEY key_ = nullptr;
    DWORD old_ = 0;
    bool had_ = false;
};

// This program again, running only the case named, its output in a file; its exit code.
DWORD RunThisProgram(const std::string& filter, const std::string& output) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    platform::win32::UniqueHandle out(CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                                  &inherit, CREATE_ALWAYS, 0, nullptr));
    if (!out) return static_cast<DWORD>(-1);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out.get();
    startup.hStdError = out.get();
    std::string command = "\"" + std::string(self) + "\" --gtest_filter=" + filter;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return static_cast<DWORD>(-1);
    }
    platform::win32::UniqueHandle thread(process.hThread);
    platform::win32::UniqueHandle running(process.hProcess);
    if (WaitForSingleObject(running.get(), 120000) != WAIT_OBJECT_0) {
        TerminateProcess(running.get(), 1);
        return static_cast<DWORD>(-2);
    }
    DWORD code = 0;
    GetExitCodeProcess(running.get(), &code);
    return code;
}

class ScaledWindowsWin32 : public uitest::UiTest, public ::testing::WithParamInterface<int> {};

// Run by the case below in a program started at another resolution; passed over otherwise.
TEST_F(ScaledWindowsWin32, LayoutAtTheResolutionOfItsStart) {
    const char* dpi = std::getenv(kDpiVariable);
    const char* survey = std::getenv(kSurveyVariable);
    if (!dpi || !survey) GTEST_SKIP() << "run by ScaledWindowsWin32.ControlsGrowAndStayApart";
    ASSERT_EQ(platform::win32::SystemDpi(), std::atoi(dpi)) << "the prefix's LogPixels not taken";
    ShownWindows windows(*sys);
    std::ofstream out(survey);
    Write(windows.Survey(), out);
}

TEST_P(ScaledWindowsWin32, ControlsGrowAndStayApart) {
    ASSERT_EQ(platform::win32::SystemDpi(), 96) << "the tests' own prefix is at 96 dpi";
    const int dpi = GetParam();
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string base = std::string(temp) + "zorvik-dpi-" + std::to_string(dpi) + "-" +
                             std::to_string(GetCurrentProcessId());
    SetEnvironmentVariableA(kDpiVariable, std::to_string(dpi).c_str());
    SetEnvironmentVariableA(kSurveyVariable, (base + ".layout").c_str());
    DWORD code = 0;
    {
        ScopedLogPixels logPixels(static_cast<DWORD>(dpi));
        ASSERT_TRUE(logPixels.Ok());
        code = RunThisProgram("ScaledWindowsWin32.LayoutAtTheResolutionOfItsStart", base + ".log");
    }
    SetEnvironmentVariableA(kDpiVariable, nullptr);
    SetEnvironmentVariableA(kSurveyVariable, nullptr);
    EXPECT_EQ(code, 0u) << ReadAll(base + ".log");
    std::ifstream in(base + ".layout");
    const Layouts scaled = Read(in);
    in.close();
    DeleteFileA((base + ".log").c_str());
    DeleteFileA((base + ".layout").c_str());

    // The screen of Wine's display-less driver is 1024 by 768 pixels, too small for the main
    // window at 200 %: the system narrows it, and the window lays itself out for that. The
    // windows here take the sizes the scaled ones ended at, so that both layouts are for the
    // same size.
    ShownWindows windows(*sys);
    for (platform::Window* window : windows.All()) {
        const auto found = scaled.find(window->Name());
        if (found == scaled.end()) continue;
        window->SetOuterWidth(found->second.outer.cx);
        window->SetOuterHeight(found->second.outer.cy);
    }
    sys->ui().ProcessMessages();
    const Layouts unscaled = windows.Survey();
    ASSERT_EQ(scaled.size(), unscaled.size());
    const double factor = dpi / 96.0;
    const Layout& main = scaled.at(windows.main.Form().Name());
    std::cout << "note: the main window at " << dpi << " dpi is " << main.outer.cx << " by "
              << main.outer.cy << " pixels of the layout\n";
    for (const auto& [window, layout] : unscaled) {
        const auto found = scaled.find(window);
        ASSERT_NE(found, scaled.end()) << window;
        ExpectTidy(window, found->second, layout, factor);
        ExpectScaledSizes(window, found->second, layout, factor);
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, ScaledWindowsWin32, ::testing::Values(144, 192));

int FontHeightOf(HWND control) {
    auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    LOGFONTA info{};
    if (!font || !GetObjectA(font, sizeof info, &info)) return 0;
    return info.lfHeight;
}

int IconWidthOf(HWND window, WPARAM which) {
    auto icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, which, 0));
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap{};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

// The folder's yellow front in the flat button's picture, in pixels.
int FolderPixels(const platform::Control& button) {
    HWND hwnd = HandleOf(button);
    RECT client{};
    GetClientRect(hwnd, &client);
    uitest::Canvas canvas(client.right, client.bottom);
    canvas.Draw(hwnd);
    return canvas.Count(RGB(255, 255, 0), client);
}

TEST_F(ScaledWindowsWin32, AWindowMovedToAMonitorOf150PercentScalesItsControlsAndLaysOutAgain) {
    ShownWindows windows(*sys);
    constexpr int kDpi = 144;
    const double factor = kDpi / 96.0;
    const Layouts before = windows.Survey();
    const int folder = FolderPixels(windows.trust.SpdOpen);
    ASSERT_GT(folder, 0);
    for (platform::Window* window : windows.All()) {
        HWND form = HandleOf(*window);
        std::map<std::string, bool> hadFont;
        for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            hadFont[uitest::ClassOf(child)] |= FontHeightOf(child) != 0;
        RECT outer{};
        GetWindowRect(form, &outer);
        // A little more than the scale, so that a layout done again differs from the old one;
        // no larger than the screen lets a window be.
        const LONG width = std::min<LONG>((outer.right - outer.left) * factor + 30,
                                          GetSystemMetrics(SM_CXMAXTRACK));
        const LONG height = std::min<LONG>((outer.bottom - outer.top) * factor + 30,
                                           GetSystemMetrics(SM_CYMAXTRACK));
        RECT suggested{0, 0, width, height};
        SendMessageA(form, platform::win32::kDpiChangedMessage, MAKEWPARAM(kDpi, kDpi),
                     reinterpret_cast<LPARAM>(&suggested));

        GetWindowRect(form, &outer);
        EXPECT_TRUE(EqualRect(&outer, &suggested)) << window->Name() << " at " << Describe(outer);
        const Layout& old = before.at(window->Name());
        const Layout now = Survey(*window);
        ExpectTidy(window->Name(), now, old, factor);
        // The main and trusted programs windows size their controls to the window's new size.
        if (window == &windows.op.Form()) ExpectScaledSizes(window->Name(), now, old, factor);
        for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (hadFont[uitest::ClassOf(child)])
                EXPECT_EQ(FontHeightOf(child), -MulDiv(8, kDpi, 72)) << uitest::ClassOf(child);
        }
        EXPECT_EQ(IconWidthOf(form, ICON_SMALL), 24) << window->Name();
        EXPECT_EQ(IconWidthOf(form, ICON_BIG), 48) << window->Name();
    }
    // The layouts ran for the new sizes.
    zorvik::TfrmMain& main = windows.main;
    EXPECT_EQ(main.LstProc.Width(), main.Form().OuterWidth() - 24);
    EXPECT_EQ(main.BtnScan.Left(), main.Form().OuterWidth() - 90);
    zorvik::TfrmTrust& trust = windows.trust;
    EXPECT_EQ(trust.LstProg.Height(), trust.Form().OuterHeight() - 106);
    // Column widths and item heights are the layout's, in pixels of the new resolution.
    EXPECT_EQ(SendMessageA(HandleOf(main.LstStart), LVM_GETCOLUMNWIDTH, 1, 0), 324);
    EXPECT_EQ(main.LstStart.Column(1).width, 216);
    EXPECT_EQ(SendMessageA(HandleOf(trust.LstProg), LB_GETITEMHEIGHT, 0, 0),
              MulDiv(trust.LstProg.ItemHeight(), kDpi, 96));
    // The picture grows in both directions.
    EXPECT_NEAR(FolderPixels(trust.SpdOpen), folder * factor * factor, folder * 0.3);
}

}  // namespace

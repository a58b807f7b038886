#include "core/engine/verdict/WindowsNames.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"

namespace zorvik {

namespace {

struct WindowsName {
    std::string_view stem;  // lower-case, without ".exe"
    FolderClass belongs;    // System: System32 or SysWOW64; Windows: the Windows folder itself
    // Whether a name one letter off is taken for a masquerade: not where an ordinary word is
    // one letter off (service for services).
    bool nearMisses;
};

constexpr WindowsName kWindowsNames[] = {
    {"svchost", FolderClass::System, true},       {"lsass", FolderClass::System, true},
    {"csrss", FolderClass::System, true},         {"winlogon", FolderClass::System, true},
    {"services", FolderClass::System, false},     {"smss", FolderClass::System, false},
    {"wininit", FolderClass::System, true},       {"spoolsv", FolderClass::System, true},
    {"lsm", FolderClass::System, false},          {"taskhost", FolderClass::System, true},
    {"taskhostw", FolderClass::System, true},     {"taskhostex", FolderClass::System, true},
    {"dllhost", FolderClass::System, true},       {"conhost", FolderClass::System, true},
    {"rundll32", FolderClass::System, true},      {"regsvr32", FolderClass::System, true},
    {"ctfmon", FolderClass::System, true},        {"dwm", FolderClass::System, false},
    {"sihost", FolderClass::System, true},        {"runtimebroker", FolderClass::System, true},
    {"searchindexer", FolderClass::System, true}, {"audiodg", FolderClass::System, true},
    {"fontdrvhost", FolderClass::System, true},   {"wuauclt", FolderClass::System, true},
    {"userinit", FolderClass::System, true},      {"mshta", FolderClass::System, true},
    {"wscript", FolderClass::System, true},       {"cscript", FolderClass::System, true},
    {"msiexec", FolderClass::System, true},       {"taskmgr", FolderClass::System, true},
    {"smartscreen", FolderClass::System, true},   {"cmd", FolderClass::System, false},
    {"explorer", FolderClass::Windows, true},     {"regedit", FolderClass::Windows, true},
};

constexpr std::string_view kExe = ".exe";
// Suffixes bots put after a Windows name ("svchost32.exe").
constexpr std::string_view kBitSuffixes[] = {"32", "64"};
// A near miss needs a name this long: shorter ones are one letter off too many words.
constexpr std::size_t kNearMissLength = 5;

// Optimal string alignment distance, stopped at 2: one edit (insert, delete, change, swap of
// neighbours) or more.
int EditsUpToTwo(std::string_view a, std::string_view b) {
    if (a.size() > b.size() + 1 || b.size() > a.size() + 1) return 2;
    std::vector<std::vector<int>> d(a.size() + 1, std::vector<int>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = static_cast<int>(i);
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const int change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return std::min(d[a.size()][b.size()], 2);
}

bool InFolderOf(FolderClass belongs, const std::string& lowerFolder,
                const std::string& lowerWindows) {
    if (belongs == FolderClass::Windows) {
        return lowerFolder == lowerWindows + "\\" || lowerFolder == lowerWindows + "\\syswow64\\";
    }
    return lowerFolder == lowerWindows + "\\system32\\" ||
           lowerFolder == lowerWindows + "\\syswow64\\";
}

const char* FolderWords(FolderClass belongs) {
    return belongs == FolderClass::Windows ? "the Windows folder" : "the system folder";
}

bool NearMiss(std::string_view stem, std::string_view windowsStem) {
    if (windowsStem.size() < kNearMissLength) return false;
    for (const std::string_view suffix : kBitSuffixes)
        if (stem.size() == windowsStem.size() + suffix.size() && stem.starts_with(windowsStem) &&
            stem.ends_with(suffix))
            return true;
    return EditsUpToTwo(stem, windowsStem) == 1;
}

}  // namespace

std::optional<WindowsNameMatch> WindowsNameOf(const std::string& path,
                                              const std::string& windowsDirectory) {
    const std::string name = AsciiLower(ProgramFileNameOf(path));
    if (!std::string_view(name).ends_with(kExe)) return std::nullopt;
    const std::string_view stem = std::string_view(name).substr(0, name.size() - kExe.size());
    std::string windows = AsciiLower(windowsDirectory);
    while (!windows.empty() && windows.back() == '\\') windows.pop_back();
    const std::string folder = AsciiLower(ProgramFolderOf(path));
    for (const WindowsName& known : kWindowsNames) {
        if (stem != known.stem) continue;
        if (InFolderOf(known.belongs, folder, windows)) return std::nullopt;
        return WindowsNameMatch{false, std::string(known.stem) + ".exe", FolderWords(known.belongs)};
    }
    for (const WindowsName& known : kWindowsNames) {
        if (known.nearMisses && NearMiss(stem, known.stem))
            return WindowsNameMatch{true, std::string(known.stem) + ".exe",
                                    FolderWords(known.belongs)};
    }
    return std::nullopt;
}

}  // namespace zorvik

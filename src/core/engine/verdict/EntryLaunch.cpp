#include "core/engine/verdict/EntryLaunch.h"

#include <string_view>
#include <vector>

#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"
#include "core/engine/verdict/FolderClass.h"

namespace zorvik {

namespace {

enum class Host { ScriptHost, HtmlHost, DllHost, PowerShell, CommandShell };

struct HostProgram {
    std::string_view stem;
    Host host;
};

constexpr HostProgram kHosts[] = {
    {"wscript", Host::ScriptHost},  {"cscript", Host::ScriptHost},
    {"mshta", Host::HtmlHost},      {"rundll32", Host::DllHost},
    {"regsvr32", Host::DllHost},    {"powershell", Host::PowerShell},
    {"pwsh", Host::PowerShell},     {"cmd", Host::CommandShell},
};

// What in a text makes any host run code from elsewhere than a file: a URL or inline script.
constexpr std::string_view kRemoteOrInline[] = {"http:", "https:", "javascript:", "vbscript:",
                                                "\\\\", "scrobj.dll"};
// PowerShell's switches that hide what runs: an encoded command, a hidden window, a download.
constexpr std::string_view kHidingSwitches[] = {"-e",  "-ec", "-enc", "-enco", "-encod",
                                                "-encodedcommand", "/e", "/ec", "/enc",
                                                "/encodedcommand"};
constexpr std::string_view kWindowStyleSwitches[] = {"-w", "-wi", "-win", "-windowstyle", "/w",
                                                     "/windowstyle"};
constexpr std::string_view kDownloads[] = {"downloadstring", "downloadfile", "iex ", "iex(",
                                           "invoke-expression", "frombase64string"};
// Variables that name a folder every user can write, as entries often keep them unexpanded.
constexpr std::string_view kUserFolderVariables[] = {
    "%appdata%", "%localappdata%", "%temp%", "%tmp%", "%userprofile%", "%public%",
    "%programdata%", "%allusersprofile%", "%homepath%"};
constexpr std::string_view kScriptEndings[] = {".vbs", ".vbe", ".js", ".jse", ".wsf", ".wsh",
                                               ".ps1", ".hta"};
constexpr std::string_view kBatchEndings[] = {".bat", ".cmd"};

template <std::size_t N>
bool HoldsAny(std::string_view text, const std::string_view (&parts)[N]) {
    for (const std::string_view part : parts)
        if (text.find(part) != std::string_view::npos) return true;
    return false;
}

template <std::size_t N>
bool IsOneOf(std::string_view text, const std::string_view (&words)[N]) {
    for (const std::string_view word : words)
        if (text == word) return true;
    return false;
}

template <std::size_t N>
bool EndsWithOneOf(std::string_view text, const std::string_view (&ends)[N]) {
    for (const std::string_view end : ends)
        if (text.ends_with(end)) return true;
    return false;
}

// The blank-separated words of a command line, quotes taken off.
std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    bool any = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (any) words.push_back(word);
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any) words.push_back(word);
    return words;
}

std::string_view StemOf(std::string_view name) {
    if (name.ends_with(".exe")) name.remove_suffix(4);
    return name;
}

const HostProgram* HostNamed(const std::string& word) {
    const std::string name = AsciiLower(ProgramFileNameOf(word));
    const std::string_view stem = StemOf(name);
    for (const HostProgram& host : kHosts)
        if (stem == host.stem) return &host;
    return nullptr;
}

bool InUserFolder(const std::string& path, const std::string& windowsDirectory) {
    const std::string lower = AsciiLower(path);
    for (const std::string_view variable : kUserFolderVariables)
        if (std::string_view(lower).starts_with(variable)) return true;
    return FolderPlaceOf(path, windowsDirectory).folderClass == FolderClass::UserWritable;
}

// Where only administrators write: the code there was put there by an installer.
bool InAdministratorsFolder(const std::string& path, const std::string& windowsDirectory) {
    if (InUserFolder(path, windowsDirectory)) return false;
    const FolderClass folder = FolderPlaceOf(path, windowsDirectory).folderClass;
    return folder == FolderClass::System || folder == FolderClass::Windows ||
           folder == FolderClass::ProgramFiles;
}

bool IsSwitch(const std::string& word) {
    return !word.empty() && (word[0] == '/' || word[0] == '-');
}

// The first word after the host that is no switch: the file it runs. A DLL's entry point
// ("x.dll,Start") is cut off.
std::string RunFile(const std::vector<std::string>& words, std::size_t hostAt) {
    for (std::size_t i = hostAt + 1; i < words.size(); ++i) {
        if (IsSwitch(words[i])) continue;
        return words[i].substr(0, words[i].find(','));
    }
    return {};
}

bool PowerShellHides(const std::vector<std::string>& words, std::size_t hostAt,
                     const std::string& text) {
    for (std::size_t i = hostAt + 1; i < words.size(); ++i) {
        if (IsOneOf(words[i], kHidingSwitches)) return true;
        if (IsOneOf(words[i], kWindowStyleSwitches) && i + 1 < words.size() &&
            (words[i + 1] == "hidden" || words[i + 1] == "1"))
            return true;
    }
    return HoldsAny(text, kDownloads);
}

// A batch file or program in a folder every user can write, which cmd /c or /k runs.
std::optional<std::string> CommandShellRuns(const std::vector<std::string>& words,
                                            std::size_t hostAt,
                                            const std::string& windowsDirectory) {
    for (std::size_t i = hostAt + 1; i < words.size(); ++i) {
        if (IsSwitch(words[i])) continue;
        if (InUserFolder(words[i], windowsDirectory)) return words[i];
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> HostLaunchOf(const std::string& lowerText,
                                        const std::string& windowsDirectory) {
    const std::vector<std::string> words = Words(lowerText);
    for (std::size_t at = 0; at < words.size(); ++at) {
        const HostProgram* host = HostNamed(words[at]);
        if (!host) continue;
        const std::string hostName = std::string(host->stem) + ".exe";
        const std::string file = RunFile(words, at);
        switch (host->host) {
            case Host::ScriptHost:
            case Host::HtmlHost:
            case Host::DllHost:
                if (HoldsAny(lowerText, kRemoteOrInline))
                    return hostName + " running code from a URL or the command itself";
                if (!file.empty() && !InAdministratorsFolder(file, windowsDirectory))
                    return hostName + " running " + file;
                break;
            case Host::PowerShell:
                if (PowerShellHides(words, at, lowerText))
                    return hostName + " with an encoded command, a hidden window or a download";
                break;
            case Host::CommandShell:
                if (const std::optional<std::string> run =
                        CommandShellRuns(words, at, windowsDirectory))
                    return hostName + " running " + *run + " from a folder every user can write";
                break;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ScriptLaunchOf(const std::string& scriptPath,
                                          const std::string& windowsDirectory) {
    const std::string lower = AsciiLower(scriptPath);
    if (EndsWithOneOf(lower, kScriptEndings) &&
        !InAdministratorsFolder(scriptPath, windowsDirectory))
        return "the script " + scriptPath;
    if (EndsWithOneOf(lower, kBatchEndings) && InUserFolder(scriptPath, windowsDirectory))
        return "the batch file " + scriptPath + " in a folder every user can write";
    return std::nullopt;
}

}  // namespace zorvik

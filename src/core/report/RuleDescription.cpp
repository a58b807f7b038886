// Describes a rule the way the start-up search will treat it.
#include "core/report/RuleDescription.h"

#include <algorithm>

#include "core/base/AsciiLower.h"
#include "core/base/FixedTexts.h"
#include "core/base/untFunc.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/startup/kinds/RegistryKind.h"
#include "core/engine/startup/kinds/RuleFolders.h"
#include "core/engine/startup/kinds/TaskKind.h"

namespace zorvik {

namespace {

std::string KeyLine(const std::string& label, const std::string& value,
                    const std::string& whenEmpty = "(empty)") {
    constexpr std::size_t kLabelWidth = 8;  // "Section:" the longest
    std::string line = "  " + label + ":";
    line.append(label.size() + 1 < kLabelWidth ? kLabelWidth - label.size() - 1 : 0, ' ');
    line += ' ';
    line += value.empty() ? whenEmpty : value;
    return line;
}

// "A, B or C".
std::string Alternatives(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " or " : ", ";
        text += names[i];
    }
    return text;
}

void RequireRoot(const ScanRule& rule, RuleDescription& out) {
    if (RootKeyFromName(rule.root) != platform::RootKey::None) return;
    out.verdict = RuleVerdict::FindsNothing;
    out.lines.push_back(
        "  finds nothing: Root must be HKEY_CLASSES_ROOT, HKEY_CURRENT_USER or "
        "HKEY_LOCAL_MACHINE");
}

// The Limit as written, and what the search makes of it when that is not the same.
std::string LimitText(const std::string& written, const std::string& limit) {
    if (written.empty()) return limit + " (the default)";
    if (written == limit) return limit;
    return written + " (taken as " + limit + ")";
}

void DescribeMatch(const ScanRule& rule, RuleDescription& out) {
    const bool everyValue = rule.name == kEveryValueName;
    out.lines.push_back(KeyLine("Name", everyValue ? "* (every value)" : rule.name,
                                "(empty: the default value)"));
    const std::string limit = std::to_string(MatchLimit(rule));
    out.lines.push_back(KeyLine(kLimitKey, LimitText(rule.Value(kLimitKey), limit)));
    const std::string part = "\"" + kAnySubkeyPart + "\" part";
    out.lines.push_back(HasAnySubkeyPart(rule.key)
                            ? "  each " + part + " of Key stands for every subkey at its depth; " +
                                  "at most " + limit + " subkeys are taken for them"
                            : "  no " + part + " in Key: the key itself is read");
    out.lines.push_back("  a REG_MULTI_SZ value gives each of its strings");
}

void DescribeServiceRule(const ScanRule& rule, RuleDescription& out) {
    out.lines.push_back(KeyLine("Root", rule.root));
    out.lines.push_back(KeyLine("Key", rule.key, "(empty: the root key itself)"));
    out.lines.push_back(
        "  each subkey a service: its ImagePath, FailureCommand and ServiceDll (in Parameters or "
        "its own key), with "
        "its start type (Start = 4: a disabled entry)");
    RequireRoot(rule, out);
}

void DescribeRegistryRule(const ScanRule& rule, RuleDescription& out) {
    out.lines.push_back(KeyLine("Root", rule.root));
    out.lines.push_back(KeyLine("Key", rule.key, "(empty: the root key itself)"));
    out.lines.push_back(KeyLine("Action", rule.action));
    if (rule.regAction == RegAction::Check) {
        out.lines.push_back(KeyLine("Name", rule.name, "(empty: the key's default value)"));
    }
    if (rule.regAction == RegAction::Match) DescribeMatch(rule, out);
    RequireRoot(rule, out);
    if (rule.regAction == RegAction::None) {
        out.verdict = RuleVerdict::FindsNothing;
        out.lines.push_back("  finds nothing: Action must be " + Alternatives(RegActionNames()));
    }
}

void DescribeProfileRule(const ScanRule& rule, RuleDescription& out) {
    const bool bareName = !rule.name.empty() && rule.name.find('\\') == std::string::npos &&
                          rule.name.find(':') == std::string::npos;
    out.lines.push_back(KeyLine("Name", rule.name + (bareName ? " (in the Windows folder)" : "")));
    out.lines.push_back(KeyLine("Section", rule.section));
    out.lines.push_back(KeyLine("Ident", rule.ident));
}

// Folder= in place of Path: the shell's own folder of that name.
void DescribeShellFolder(const std::string& shellName, RuleDescription& out) {
    out.lines.push_back(KeyLine("Folder", shellName));
    const std::vector<std::string> names = ShellFolderNames();
    const bool known = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
        return AsciiLower(name) == AsciiLower(shellName);
    });
    if (!known) {
        out.verdict = RuleVerdict::FindsNothing;
        out.lines.push_back("  finds nothing: Folder must be " + Alternatives(names));
        return;
    }
    out.lines.push_back("  the folder the shell looks up by that name (User Shell Folders), "
                        "unless an earlier rule of this type read it");
}

void DescribeFolderRule(const ScanRule& rule, const std::string& windowsDrive,
                        RuleDescription& out) {
    const std::string shellName = rule.Value("Folder");
    if (!shellName.empty()) {
        DescribeShellFolder(shellName, out);
        return;
    }
    out.lines.push_back(KeyLine("Path", rule.path));
    out.lines.push_back(KeyLine("Folder", windowsDrive + rule.path));
    if (rule.path.find(kUserPlaceholder) != std::string::npos) {
        out.lines.push_back("  listed once per user account, \"" + kUserPlaceholder +
                            "\" replaced by the account's name");
    } else {
        out.lines.push_back("  listed once per user account (no \"" + kUserPlaceholder +
                            "\" to replace)");
    }
}

void DescribeFileRule(const ScanRule& rule, const std::string& windowsDrive,
                      RuleDescription& out) {
    out.lines.push_back(KeyLine("Path", rule.path));
    out.lines.push_back(KeyLine("File", windowsDrive + rule.path));
}

void DescribeTaskRule(const ScanRule& rule, const std::string& windowsDrive,
                      RuleDescription& out) {
    out.lines.push_back(KeyLine("Path", rule.path));
    out.lines.push_back(KeyLine("Folder", windowsDrive + rule.path));
    out.lines.push_back("  the task files in it and its subfolders; for the Windows folder's "
                        "System32\\Tasks also the Task Scheduler's tasks, for its Tasks the "
                        "work items (.job)");
}

void DescribeExeRule(const ScanRule& rule, const std::string& windowsDrive,
                     RuleDescription& out) {
    out.lines.push_back(KeyLine("Path", rule.path));
    if (rule.path.empty()) {
        out.verdict = RuleVerdict::FindsNothing;
        out.lines.push_back("  finds nothing: Path must name a program below the Windows drive");
        return;
    }
    out.lines.push_back(KeyLine("Program", windowsDrive + rule.path));
    out.lines.push_back("  a program with sockets running from exactly this path is found, and "
                        "marked when its file is not the system's own");
}

void DescribeShimRule(const ScanRule& rule, const std::string& windowsDrive,
                      RuleDescription& out) {
    if (!rule.path.empty()) {
        out.lines.push_back(KeyLine("Path", rule.path));
        out.lines.push_back(KeyLine("Folder", windowsDrive + rule.path) + " and its Custom64");
    }
    out.lines.push_back("  the shim databases (.sdb) there and those AppCompatFlags\\InstalledSDB "
                        "registers: the DLLs of their shims, the DLLs InjectDll and the programs "
                        "RedirectEXE are given");
}

void DescribeWmiRule(RuleDescription& out) {
    out.lines.push_back("  the permanent event consumers of root\\subscription: command lines, "
                        "programs, scripts and script files");
}

// The keys any rule may add, where they change what it finds.
void DescribeModifiers(const ScanRule& rule, RuleDescription& out) {
    if (rule.Value(kDllsKey) == "1") {
        out.lines.push_back(KeyLine(kDllsKey, "1 (also compared with the DLLs loaded in each "
                                              "program with sockets)"));
    }
    if (rule.Value("Scripts") == "1") {
        out.lines.push_back(KeyLine("Scripts", "1") +
                            " (the lines of the scripts its texts name, or that lie in its "
                            "folder, are compared too)");
    }
    if (rule.Value(kTaskCacheRuleKey) == "1") {
        out.lines.push_back(KeyLine(kTaskCacheRuleKey, "1") +
                            " (the tasks only the registry's task cache holds are found too)");
    }
    if (rule.Value(kClassesKey) == "1") {
        out.lines.push_back(KeyLine(kClassesKey, "1") +
                            " (a class id it reads is followed to the class's InprocServer32 "
                            "and LocalServer32)");
    }
    if (rule.Value(kOtherProgramKey) == "1") {
        out.lines.push_back(KeyLine(kOtherProgramKey, "1") +
                            " (a key naming its own program is passed over: only one sending "
                            "its name to another program is read)");
    }
    if (rule.Value("Unquoted") == "1") {
        out.lines.push_back(KeyLine("Unquoted", "1") +
                            " (a program Windows would run in place of an unquoted command is "
                            "found)");
    }
}

}  // namespace

RuleDescription DescribeRule(const ScanRule& rule, const std::string& windowsDrive) {
    RuleDescription out;
    out.lines.push_back("[" + rule.sectionName + "]");
    out.lines.push_back(KeyLine("Type", rule.type));
    if (!rule.kind) {
        out.verdict = RuleVerdict::Skipped;
        out.lines.push_back("  skipped: Type must be " + Alternatives(StartupTypeNames()));
        return out;
    }
    switch (*rule.kind) {
        case StartupKind::Reg: DescribeRegistryRule(rule, out); break;
        case StartupKind::Ini: DescribeProfileRule(rule, out); break;
        case StartupKind::Fol: DescribeFolderRule(rule, windowsDrive, out); break;
        case StartupKind::Fil: DescribeFileRule(rule, windowsDrive, out); break;
        case StartupKind::Svc: DescribeServiceRule(rule, out); break;
        case StartupKind::Task: DescribeTaskRule(rule, windowsDrive, out); break;
        case StartupKind::Lnk:
            DescribeFolderRule(rule, windowsDrive, out);
            out.lines.push_back("  each shortcut's target and arguments are compared");
            break;
        case StartupKind::Exe: DescribeExeRule(rule, windowsDrive, out); break;
        case StartupKind::Wmi: DescribeWmiRule(out); break;
        case StartupKind::Sdb: DescribeShimRule(rule, windowsDrive, out); break;
        case StartupKind::Bits:
            out.lines.push_back("  the transfer jobs of BITS (every account's for an administrator) "
                                "with a notify command line: the program each runs and its "
                                "command line");
            break;
        case StartupKind::Terminal:
            out.lines.push_back(KeyLine("Path", rule.path));
            out.lines.push_back("  Windows Terminal's settings (*USER* each account): with "
                                "startOnUserLogin, the default profile's command line");
            break;
    }
    DescribeModifiers(rule, out);
    return out;
}

}  // namespace zorvik

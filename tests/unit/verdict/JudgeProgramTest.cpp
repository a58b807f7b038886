// The judge over gathered facts: each sign once, each level once, a trusted signature
// outweighing the folder, and the signs it never outweighs.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/engine/verdict/JudgeProgram.h"
#include "core/engine/verdict/VerdictSigns.h"
#include "platform/Files.h"

namespace {

using platform::SignatureState;
using platform::SignatureVerdict;
using zorvik::OwnStartEntry;
using zorvik::ProgramFacts;
using zorvik::StartupKind;
using zorvik::VerdictLevel;

const std::string kAppData = "C:\\Users\\ann\\AppData\\Roaming\\Vendor\\";
const std::string kProgramFiles = "C:\\Program Files\\Vendor\\";
const std::string kSystem32 = "C:\\Windows\\System32\\";
const SignatureVerdict kVendorSigned{SignatureState::Trusted, "", "Vendor Inc."};
const SignatureVerdict kWindowsSigned{SignatureState::Trusted, "", "Microsoft Windows"};

// An unsigned program in Program Files, started from the current user's Run key: nothing for
// it, nothing against it.
ProgramFacts Base() {
    ProgramFacts facts;
    facts.path = kProgramFiles + "app.exe";
    facts.windowsDirectory = "C:\\Windows";
    facts.fileReadable = true;
    facts.attributes = platform::kAttrNormal;
    facts.signature.known = true;
    facts.signature.catalog = SignatureVerdict{};
    facts.version = platform::VersionStrings{"Vendor Inc.", "App", "App", "1.0", true, "app.exe"};
    facts.entries.push_back({StartupKind::Reg,
                             "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                             "App", "\"" + kProgramFiles + "app.exe\" /background", "", false, {}});
    return facts;
}

void SignedBy(ProgramFacts& f, const SignatureVerdict& signature) { f.signature.embedded = signature; }

OwnStartEntry Reg(const std::string& place, const std::string& name, const std::string& text) {
    return {StartupKind::Reg, place, name, text, "", false, {}};
}

const std::string kMachine = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion";

struct Case {
    const char* name;
    std::function<void(ProgramFacts&)> change;
    VerdictLevel level;
    std::vector<std::string> codes;
};

TEST(JudgeProgramTest, EachSignEachLevelAndWhatATrustedSignatureOutweighs) {
    const Case cases[] = {
        {"unsigned in Program Files", [](ProgramFacts&) {}, VerdictLevel::Unverified,
         {"not-verified"}},
        {"signed by its vendor", [](ProgramFacts& f) { SignedBy(f, kVendorSigned); },
         VerdictLevel::Verified, {"signed"}},
        {"Windows' own through a catalog",
         [](ProgramFacts& f) {
             f.path = kSystem32 + "svchost.exe";
             f.version->companyName = "Microsoft Corporation";
             f.signature.catalog = kWindowsSigned;
         },
         VerdictLevel::Windows, {"windows-catalog"}},
        {"Windows' own by its embedded signature",
         [](ProgramFacts& f) {
             f.path = "C:\\Windows\\explorer.exe";
             SignedBy(f, kWindowsSigned);
             f.entries = {Reg(kMachine + "\\Winlogon", "Shell", "explorer.exe")};
         },
         VerdictLevel::Windows, {"windows-signed"}},
        {"no catalogs: the system's own file by its original name",
         [](ProgramFacts& f) {
             f.path = kSystem32 + "spoolsv.exe";
             f.signature.catalog.reset();
             f.systemOwnFile = true;
         },
         VerdictLevel::Windows, {"system-file"}},
        {"no signature facts at all: the system folder",
         [](ProgramFacts& f) {
             f.path = kSystem32 + "spoolsv.exe";
             f.signature = {};
             f.version.reset();
         },
         VerdictLevel::Windows, {"system-file"}},
        {"unsigned in the profile",
         [](ProgramFacts& f) { f.path = kAppData + "app.exe"; }, VerdictLevel::Suspicious,
         {"user-folder"}},
        {"signature outweighs the profile",
         [](ProgramFacts& f) {
             f.path = kAppData + "app.exe";
             SignedBy(f, kVendorSigned);
         },
         VerdictLevel::Verified, {"signed", "trusted-in-user-folder"}},
        {"the access rights of another folder let users write",
         [](ProgramFacts& f) {
             f.path = "D:\\Tools\\app.exe";
             f.folderWritableByUsers = true;
         },
         VerdictLevel::Suspicious, {"user-folder"}},
        {"a copy of Windows' own svchost.exe in the profile: never outweighed",
         [](ProgramFacts& f) {
             f.path = kAppData + "svchost.exe";
             f.signature.catalog = kWindowsSigned;
         },
         VerdictLevel::Suspicious, {"masquerade"}},
        {"near miss of a Windows name, signed",
         [](ProgramFacts& f) {
             f.path = kProgramFiles + "lsasss.exe";
             SignedBy(f, kVendorSigned);
         },
         VerdictLevel::Suspicious, {"near-miss"}},
        {"replaced system program, signed",
         [](ProgramFacts& f) {
             f.path = kSystem32 + "sethc.exe";
             SignedBy(f, kVendorSigned);
             f.replaced = {"original file name Cmd.Exe"};
         },
         VerdictLevel::Suspicious, {"replaced-system-program"}},
        {"hijacked, signed",
         [](ProgramFacts& f) {
             SignedBy(f, kVendorSigned);
             f.hijacked = true;
         },
         VerdictLevel::Suspicious, {"hijacked"}},
        {"side-loaded system-named DLL in a signed host",
         [](ProgramFacts& f) {
             SignedBy(f, kVendorSigned);
             f.systemNamedModules = {{kProgramFiles + "version.dll", SignatureState::NotSigned},
                                     {kProgramFiles + "msvcp140.dll", SignatureState::Trusted}};
         },
         VerdictLevel::Suspicious, {"side-loaded"}},
        {"a document's name on a program",
         [](ProgramFacts& f) { f.path = kProgramFiles + "report.docx   .exe"; },
         VerdictLevel::Suspicious, {"double-extension"}},
        {"a screen saver started from Run",
         [](ProgramFacts& f) { f.path = kProgramFiles + "pretty.scr"; }, VerdictLevel::Suspicious,
         {"screen-saver-program"}},
        {"a screen saver set as the screen saver",
         [](ProgramFacts& f) {
             f.path = kSystem32 + "ribbons.scr";
             f.signature.catalog = kWindowsSigned;
             f.entries = {Reg("HKEY_CURRENT_USER\\Control Panel\\Desktop", "SCRNSAVE.EXE",
                              "c:\\windows\\system32\\ribbons.scr")};
         },
         VerdictLevel::Windows, {"windows-catalog"}},
        {"claims Microsoft unsigned",
         [](ProgramFacts& f) { f.version->companyName = "Microsoft Corporation"; },
         VerdictLevel::Suspicious, {"publisher-claim"}},
        {"company not its untrusted signer",
         [](ProgramFacts& f) {
             SignedBy(f, {SignatureState::NotTrusted, "root certificate not trusted", "Bob"});
         },
         VerdictLevel::Suspicious, {"publisher-claim"}},
        {"started through wscript with a script in the profile, signed",
         [](ProgramFacts& f) {
             SignedBy(f, kVendorSigned);
             f.entries[0].text = "wscript.exe //b c:\\users\\ann\\appdata\\roaming\\run.vbs";
         },
         VerdictLevel::Suspicious, {"script-host"}},
        {"rundll32 of a DLL in Program Files is no sign",
         [](ProgramFacts& f) {
             f.entries[0].text = "rundll32.exe \"c:\\program files\\vendor\\app.dll\",Start";
         },
         VerdictLevel::Unverified, {"not-verified"}},
        {"an encoded PowerShell command",
         [](ProgramFacts& f) { f.entries[0].text = "powershell.exe -nop -w hidden -enc SQBFAFgA"; },
         VerdictLevel::Suspicious, {"script-host"}},
        {"cmd running a batch file in Temp",
         [](ProgramFacts& f) { f.entries[0].text = "cmd /c c:\\users\\ann\\appdata\\local\\temp\\x.bat"; },
         VerdictLevel::Suspicious, {"script-host"}},
        {"a line of a VBScript in the profile",
         [](ProgramFacts& f) { f.entries[0].script = kAppData + "start.vbs"; },
         VerdictLevel::Suspicious, {"script-host"}},
        {"a hidden task",
         [](ProgramFacts& f) {
             f.entries = {{StartupKind::Task, "\\Updater", "", "\"c:\\program files\\vendor\\app.exe\"",
                           "", true, {}}};
         },
         VerdictLevel::Suspicious, {"hidden-task"}},
        {"a hidden task of a signed program",
         [](ProgramFacts& f) {
             SignedBy(f, kVendorSigned);
             f.entries[0].hiddenTask = true;
         },
         VerdictLevel::Verified, {"signed"}},
        {"IFEO debugger",
         [](ProgramFacts& f) {
             f.entries = {Reg(kMachine + "\\Image File Execution Options\\sethc.exe", "Debugger",
                              "c:\\program files\\vendor\\app.exe")};
         },
         VerdictLevel::Suspicious, {"ifeo-debugger"}},
        {"silent process exit monitor",
         [](ProgramFacts& f) {
             f.entries = {Reg(kMachine + "\\SilentProcessExit\\notepad.exe", "MonitorProcess",
                              "c:\\program files\\vendor\\app.exe")};
         },
         VerdictLevel::Suspicious, {"silent-exit-monitor"}},
        {"AppInit_DLLs",
         [](ProgramFacts& f) {
             f.entries = {Reg(kMachine + "\\Windows", "AppInit_DLLs", "c:\\program files\\vendor\\hook.dll")};
         },
         VerdictLevel::Suspicious, {"appinit"}},
        {"the user's COM class over the machine's",
         [](ProgramFacts& f) {
             f.entries[0].userClassOverMachine =
                 "HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{00000000-0000-0000-0000-000000000001}";
         },
         VerdictLevel::Suspicious, {"user-com-override"}},
        {"added to Winlogon's Userinit",
         [](ProgramFacts& f) {
             f.entries = {Reg(kMachine + "\\Winlogon", "Userinit",
                              "c:\\windows\\system32\\userinit.exe,c:\\program files\\vendor\\app.exe")};
         },
         VerdictLevel::Suspicious, {"winlogon-addition"}},
        {"the boot verification program",
         [](ProgramFacts& f) {
             f.entries = {Reg("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\BootVerificationProgram",
                              "ImagePath", "c:\\program files\\vendor\\app.exe")};
         },
         VerdictLevel::Suspicious, {"boot-verification"}},
        {"one weak sign stays beside the level",
         [](ProgramFacts& f) { f.attributes = platform::kAttrHidden; }, VerdictLevel::Unverified,
         {"not-verified", "hidden-file"}},
        {"two weak signs make it suspicious",
         [](ProgramFacts& f) {
             f.attributes = platform::kAttrHidden;
             f.version.reset();
         },
         VerdictLevel::Suspicious, {"hidden-file", "no-version-info"}},
    };
    for (const Case& c : cases) {
        ProgramFacts facts = Base();
        c.change(facts);
        const zorvik::Verdict verdict = zorvik::JudgeProgram(facts);
        std::vector<std::string> codes;
        for (const zorvik::VerdictReason& reason : verdict.reasons) {
            codes.push_back(reason.code);
            EXPECT_FALSE(reason.text.empty()) << c.name;
            EXPECT_EQ(reason.text.find("%s"), std::string::npos) << c.name;
        }
        EXPECT_EQ(zorvik::VerdictLevelName(verdict.level), std::string(zorvik::VerdictLevelName(c.level)))
            << c.name;
        EXPECT_EQ(codes, c.codes) << c.name;
    }
}

// The sentence names the evidence: the folder, the signer, the module.
TEST(JudgeProgramTest, ReasonsNameTheirEvidence) {
    ProgramFacts facts = Base();
    facts.path = kAppData + "svchost.exe";
    facts.systemNamedModules = {{kAppData + "winhttp.dll", SignatureState::NotSigned}};
    const zorvik::Verdict verdict = zorvik::JudgeProgram(facts);
    ASSERT_EQ(verdict.reasons.size(), 3u);
    EXPECT_NE(verdict.reasons[0].text.find(kAppData), std::string::npos) << verdict.reasons[0].text;
    EXPECT_NE(verdict.reasons[1].text.find(kAppData + "winhttp.dll"), std::string::npos);
    EXPECT_NE(verdict.reasons[2].text.find("not signed"), std::string::npos) << verdict.reasons[2].text;
}

// Codes are what scripts key on: each row's is kebab-case and its own.
TEST(JudgeProgramTest, SignCodesAreUniqueAndKebabCase) {
    std::vector<std::string> seen;
    for (const zorvik::VerdictSign& row : zorvik::VerdictSigns()) {
        const std::string code = row.code;
        EXPECT_EQ(code.find_first_not_of("abcdefghijklmnopqrstuvwxyz-"), std::string::npos) << code;
        EXPECT_EQ(std::count(seen.begin(), seen.end(), code), 0) << code;
        seen.push_back(code);
    }
}

}  // namespace

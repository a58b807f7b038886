#pragma once
// Whether a file is the one Windows put in its place: a file Windows ships carries a version
// resource whose original file name is its own name (often with ".mui", the resource being
// kept in a language file). A program copied over another keeps its own original name
// (cmd.exe copied over sethc.exe says "Cmd.Exe"); a bot's file has another or none.
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/System.h"

namespace zorvik {

// Why the version information says the file at path is not the one it was built as ("no
// original file name", "original file name Cmd.Exe"); empty when it is.
std::string OriginalNameReason(const std::optional<platform::VersionStrings>& version,
                               const std::string& path);

// Why the file at path is not the system's own: "original file name Cmd.Exe", "no original
// file name", "signed by ..." (with askSigner, for a signature in the file itself whose signer
// is not Microsoft; Windows' own files are mostly signed through catalogs, which tell nothing
// here). Empty when it is the system's own; none when the system gives no file facts or the
// file cannot be read, which tells nothing either way.
std::optional<std::string> NotSystemFileReason(platform::System& sys, const std::string& path,
                                               bool askSigner);

// Whether path lies in the system folder (the Windows folder's System32, or SysWOW64 where a
// 32-bit program's modules come from) or below it.
bool InSystemFolder(platform::System& sys, const std::string& path);

// The test of the DLL comparison (Dlls=1): a module that is the system's own file, in the
// system folder, never lists a program by itself, or Windows' own DLLs named by start-up
// places (a service's winhttp.dll) would list every program that loads them. A module whose
// file tells nothing is not taken for the system's. Each path is judged once per scan.
class SystemModuleTest {
public:
    explicit SystemModuleTest(platform::System& sys) : sys_(sys) {}
    bool IsSystemOwn(const std::string& path);

private:
    platform::System& sys_;
    std::optional<std::string> lowerWindows_;  // asked at the first test
    std::unordered_map<std::string, bool> judged_;
};

}  // namespace zorvik

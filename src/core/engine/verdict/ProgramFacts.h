#pragma once
// Everything the judge reads about one listed program, gathered from the system beforehand
// (GatherFacts.h): plain data, so that the judging itself needs no system.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/startup/StartupKind.h"
#include "platform/FileFacts.h"

namespace zorvik {

// What the system says of a file's signature.
struct SignatureFacts {
    // False where the system gives no signature facts at all; nothing below is then known.
    bool known = false;
    platform::SignatureVerdict embedded;
    // The system's catalogs: none where the system cannot look them up; NotSigned when no
    // catalog holds the file.
    std::optional<platform::SignatureVerdict> catalog;
};

// One start-up entry that starts the program itself (not one naming another file of its
// name, see ProcessRow::startsOther).
struct OwnStartEntry {
    StartupKind kind = StartupKind::Reg;
    // Where, in words: a registry key with its root, a file, a folder, a task's path.
    std::string place;
    std::string name;  // the value's or entry's name; empty where the kind has none
    std::string text;  // the entry's text that names the program, lower-cased
    std::string script;  // the script the entry runs on its way, if any
    bool hiddenTask = false;
    // The registration of the current user's COM class the entry names, when the machine has
    // a class of the same id that it takes precedence over.
    std::string userClassOverMachine;
};

// A module loaded in the program from outside the Windows folder under the name of a file of
// the system folder.
struct SystemNamedModule {
    std::string path;
    platform::SignatureState signature = platform::SignatureState::NotSigned;
};

struct ProgramFacts {
    std::string path;
    std::string windowsDirectory;  // "C:\Windows"
    // Whether the system says non-administrators may create files in the program's folder;
    // none where it cannot tell, and the folder's place decides.
    std::optional<bool> folderWritableByUsers;
    bool fileReadable = false;
    std::optional<std::uint32_t> attributes;
    SignatureFacts signature;
    std::optional<platform::VersionStrings> version;
    // The system's own file by the scan's test: in the system folder, its original file name
    // its own.
    bool systemOwnFile = false;
    std::vector<OwnStartEntry> entries;
    std::vector<SystemNamedModule> systemNamedModules;
    bool hijacked = false;
    std::string startedBy;  // the parent the hijack test named
    // Why the file at a path Windows starts by itself is not the system's own (ExeStart).
    std::vector<std::string> replaced;
};

}  // namespace zorvik

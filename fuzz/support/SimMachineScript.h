#pragma once
// A simulated machine scripted from a fuzz input: one command a line, fields split at '|',
// texts unescaped (FuzzFields.h: "\r", "\n", "\0", "\xHH"). Unknown commands are skipped.
//   proc|pid|parent|path|flags   flags: o not openable, l no limited open, m no module,
//                                f file name unreadable, i image name unreadable,
//                                s first thread suspended, t a second thread, k not terminable
//   mem|pid|bytes                the image in the memory of the process
//   dll|pid|path                 a module the process has loaded beside its program
//   sock|pid|state|port|6        a TCP row (IPv6 when the last field is 6)
//   reg|root|key|name|type|data  root 0-3 (none, HKCR, HKCU, HKLM), type as Windows numbers it
//   file|path|bytes    dir|path    lock|path    short|path|name
//   user|name          trust|entry    ignoresafe    env|name|value (an environment variable)
//   facts|path|sha256|company|signer|original   the file's facts (the file must exist)
//   wmi|kind|name|command|program|script|scriptfile   a WMI event consumer (kind 1: a script)
//   tcp|extended|legacy (0 or 1)   nosnapshot   xp (no limited queries)
#include <string>

#include "core/engine/ScanOptions.h"
#include "core/engine/TrustedList.h"
#include "platform/sim/system/SimSystem.h"

namespace fuzz {

class FuzzTrustedList : public zorvik::TrustedList {
public:
    std::vector<std::string> entries;
    std::size_t Count() const override { return entries.size(); }
    std::string Entry(std::size_t index) const override { return entries.at(index); }
    void Append(const std::string& entry) override { entries.push_back(entry); }
};

class FuzzScanOptions : public zorvik::ScanOptions {
public:
    bool ignoreSafe = false;
    bool IgnoreSafe() const override { return ignoreSafe; }
};

struct ScriptedMachine {
    platform::sim::SimSystem sys;
    FuzzScanOptions options;
    FuzzTrustedList trusted;
};

// Runs the script's commands against machine, in order.
void ScriptMachine(const std::string& script, ScriptedMachine& machine);

}  // namespace fuzz

// The rules reader over any Scan.ini: every section is read as a rule, in file order, and the
// start-up search over those rules ends without an error escaping it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/engine/startup/ScanRules.h"
#include "core/engine/untScan.h"
#include "platform/sim/system/SimSystem.h"
#include "support/FuzzCheck.h"
#include "support/SimMachineScript.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    fuzz::ScriptedMachine machine;
    platform::sim::SimSystem& sys = machine.sys;
    const std::string rulesFile = zorvik::RulesFilePath(sys);
    sys.fs().AddFile(rulesFile, bytes);

    const std::vector<zorvik::ScanRule> rules = zorvik::ReadScanRules(sys);
    const std::vector<std::string> sections = sys.profile().SectionNames(rulesFile);
    FUZZ_CHECK(rules.size() == sections.size());
    for (std::size_t i = 0; i < rules.size(); ++i) FUZZ_CHECK(rules[i].sectionName == sections[i]);

    // A few places the rules may name, so that the search meets something.
    const std::string runKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    sys.reg().PutString(platform::RootKey::CurrentUser, runKey, "Prog", "C:\\Apps\\prog.exe -s");
    sys.reg().Put(platform::RootKey::LocalMachine, runKey, "Odd", platform::RegType::Binary,
                  std::string("\x01\x02prog.exe", 10));
    sys.fs().AddFile("C:\\WINDOWS\\win.ini", "[windows]\r\nload=prog.exe\r\nrun=\r\n");
    sys.fs().AddFile("C:\\autoexec.bat", "@echo off\r\nC:\\Apps\\prog.exe\r\n");
    sys.fs().AddFile("C:\\Startup\\prog.lnk", "");
    sys.users().SetUsers({"Administrator", "bob"});

    zorvik::ProcInfo findings;
    std::string details;
    zorvik::FindStartups(sys, machine.options, "prog.exe", "PROG~1.EXE", findings, details);
    FUZZ_CHECK(!details.empty());
    FUZZ_CHECK(sys.reg().OpenKeyCount() == 0);
    return 0;
}

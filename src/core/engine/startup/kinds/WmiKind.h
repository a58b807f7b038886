#pragma once
// WMI: the permanent event consumers of root\subscription that run something, which WMI starts
// by itself when the event bound to them fires (boot, logon, a timer, a process start): the
// command line and program of each CommandLineEventConsumer, the script and script file of
// each ActiveScriptEventConsumer. Read through the platform once per scan.
#include <string>

#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupPlaces.h"

namespace zorvik {

// Why a hit of the kind cannot be shown or disabled (the start-up list's tip of the entry).
inline constexpr const char* kWmiNoShow =
    "A WMI event consumer lives in WMI's repository, which no program here opens.";
inline constexpr const char* kWmiNoDisable =
    "A WMI event consumer has no disabled form: remove it with WMI's own tools (for example "
    "PowerShell's Remove-CimInstance in root\\subscription), with its filter and binding.";

void ReadWmiPlaces(const ScanRule& rule, PlaceReading& reading);

// The consumer's text as one line: line breaks of a script become blanks.
std::string WmiCommandLine(const WmiStart& hit);

}  // namespace zorvik

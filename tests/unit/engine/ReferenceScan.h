#pragma once
// The start-up search as it was before a scan read the places once: every program searched
// on its own, the rules file and every place read again for it. The tests hold the one-pass
// scan to it; the product does not use it.
#include <string>

#include "core/engine/process/ProcessList.h"
#include "core/engine/ScanOptions.h"
#include "core/engine/TrustedList.h"
#include "core/engine/untRecord.h"
#include "platform/Processes.h"
#include "platform/System.h"

namespace scantest {

// FindStartups, one program at a time.
bool ReferenceFindStartups(platform::System& sys, const zorvik::ScanOptions& options,
                           const std::string& ProgramFileName, const std::string& ShortFileName,
                           zorvik::ProcInfo& Findings, std::string& Details);

// The scan cycle with each socket owner and Active Setup stub searched on its own.
void ReferenceScanCycle(platform::System& sys, platform::TcpTable& table,
                        const zorvik::ScanOptions& options, const zorvik::TrustedList& trusted,
                        zorvik::ProcessList& list);

}  // namespace scantest

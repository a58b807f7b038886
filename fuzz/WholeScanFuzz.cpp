// A whole scan, as the console tool runs it, on a simulated machine scripted from the input
// (SimMachineScript.h): it ends, lets no error escape, leaves no key or process handle open,
// and its reports are well formed.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/engine/process/ProcessList.h"
#include "core/engine/process/ProgramEvidence.h"
#include "core/base/untFunc.h"
#include "core/engine/ScanCycle.h"
#include "core/engine/startup/StartupRows.h"
#include "core/report/ScanReport.h"
#include "support/CsvRecords.h"
#include "support/FuzzCheck.h"
#include "support/SimMachineScript.h"
#include "support/StrictJson.h"
#include "support/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ScriptedMachine machine;
    fuzz::ScriptMachine(std::string(reinterpret_cast<const char*>(data), size), machine);
    platform::sim::SimSystem& sys = machine.sys;

    zorvik::ProcessList list;
    {
        const std::unique_ptr<platform::TcpTable> table = zorvik::LoadTcpTableEntry(sys);
        const zorvik::ScanStatus status =
            zorvik::ScanCycle(sys, table.get(), machine.options, machine.trusted, list);
        FUZZ_CHECK(status == zorvik::ScanStatus::Done || !table);
        zorvik::AddEvidence(sys, list);
    }
    FUZZ_CHECK(sys.reg().OpenKeyCount() == 0);
    FUZZ_CHECK(sys.procs().OpenHandleCount() == 0);
    FUZZ_CHECK(sys.procs().LiveTcpTableCount() == 0);
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const zorvik::ProcessRow& row = list.At(i);
        FUZZ_CHECK(!row.caption.empty());
        // A process whose file cannot be named is never matched against start-up texts.
        if (row.caption == zorvik::kUnknownProcessPath)
            FUZZ_CHECK(!row.data || zorvik::StartupRowsOf(*row.data).empty());
    }

    const std::string json = zorvik::FormatScanReport(list, zorvik::ReportFormat::Json);
    const std::string csv = zorvik::FormatScanReport(list, zorvik::ReportFormat::Csv);
    FUZZ_CHECK(fuzz::IsValidUtf8(json) && fuzz::IsStrictJson(json));
    FUZZ_CHECK(fuzz::IsValidUtf8(csv) && fuzz::ReadCsv(csv).has_value());
    return 0;
}

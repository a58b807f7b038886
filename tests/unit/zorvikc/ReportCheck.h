#pragma once
// The way the tests here ask for a report: every JSON report they get is checked against the
// report's schema as it ships (docs/help/report.schema.json), one test failure per problem, so
// that no report the tests see can drift from what fleets are told to expect.
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "core/engine/process/ProcessList.h"
#include "core/report/ScanReport.h"
#include "platform/System.h"

namespace reporttest {

// What keeps json from validating against the schema; empty when it validates. The schema may
// use type, enum, required, properties, additionalProperties, items and $ref into $defs; any
// other keyword but annotations is a problem too, so that nothing it says goes unchecked.
std::vector<std::string> SchemaProblems(const std::string& json);

std::string Report(const zorvik::ProcessList& list, zorvik::ReportFormat format);
std::string ChangesReport(const zorvik::ProcessList& list,
                          const zorvik::BaselineComparison& comparison,
                          zorvik::ReportFormat format);

// zorvikc's command line (CommandLine.h); what it prints for --json is checked.
int RunZorvikc(const std::vector<std::string>& args,
               const std::function<platform::System&()>& system, std::ostream& out,
               std::ostream& err);

}  // namespace reporttest

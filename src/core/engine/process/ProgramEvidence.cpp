#include "core/engine/process/ProgramEvidence.h"

namespace zorvik {

void AddEvidence(platform::System& sys, ProcessList& list) {
    for (std::size_t i = 0; i < list.Count(); ++i) {
        ProcessRow& row = list.At(i);
        row.approvals = row.data ? ApprovalsOf(sys, *row.data) : std::vector<StartupApproval>{};
        row.file = ReadProgramFileFacts(sys, row.caption);
    }
}

}  // namespace zorvik

#include "core/engine/process/ProgramEvidence.h"

#include "core/engine/verdict/GatherFacts.h"
#include "core/engine/verdict/JudgeProgram.h"

namespace zorvik {

void AddEvidence(platform::System& sys, ProcessList& list, VerdictCache* cache) {
    VerdictCache scanOnly;
    VerdictCache& files = cache ? *cache : scanOnly;
    files.BeginScan();
    FactsGathering gathering(sys, files);
    for (std::size_t i = 0; i < list.Count(); ++i) {
        ProcessRow& row = list.At(i);
        row.approvals = row.data ? ApprovalsOf(sys, *row.data) : std::vector<StartupApproval>{};
        const CachedFileFacts& file = files.Program(sys, row.caption);
        row.file = file.file;
        row.verdict = JudgeProgram(gathering.Gather(row, file, row.startsOther));
    }
}

}  // namespace zorvik

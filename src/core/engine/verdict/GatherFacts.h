#pragma once
// The gathering of what the judge reads about a listed row: its file's facts (through the
// cache), its own start-up entries, the modules it loaded under system-folder names, the
// hijack test's findings. Everything is asked through the platform, for listed rows only.
#include <memory>
#include <string>
#include <vector>

#include "core/engine/process/ProcessList.h"
#include "core/engine/verdict/ProgramFacts.h"
#include "core/engine/verdict/VerdictCache.h"
#include "platform/System.h"

namespace zorvik {

class FactsGathering {
public:
    FactsGathering(platform::System& sys, VerdictCache& cache);
    ~FactsGathering();
    FactsGathering(const FactsGathering&) = delete;
    FactsGathering& operator=(const FactsGathering&) = delete;

    // The facts of the row, whose program file's facts the cache gave as file. startsOther
    // gets, per start-up hit in the order of StartupRowsOf, the other existing file its entry
    // names by full path, or an empty text (ProcessRow::startsOther).
    ProgramFacts Gather(const ProcessRow& row, const CachedFileFacts& file,
                        std::vector<std::string>& startsOther);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// The other existing file a start-up text names by its full path, which it starts in place of
// the program at programPath: the text's command is a full path to a file of the program's
// name elsewhere, and the program's own path is nowhere in the text. Empty otherwise.
// expandedText: the hit's text with its variables expanded.
std::string OtherFileStarted(platform::System& sys, const std::string& expandedText,
                             const std::string& programPath, const std::string& shortPath);

}  // namespace zorvik

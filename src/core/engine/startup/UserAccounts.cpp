#include "core/engine/untScan.h"

namespace zorvik {
namespace {

constexpr std::uint32_t kEntriesPerCall = 100;
constexpr std::uint32_t kPreferredLength = 400;

}  // namespace

void GetUserAccounts(platform::System& sys, StrAr& Names) {
    platform::Accounts& accounts = sys.accounts();
    std::uint32_t resumeIndex = 0;
    for (;;) {
        const platform::UserPage page =
            accounts.QueryDisplayUsers(resumeIndex, kEntriesPerCall, kPreferredLength);
        if (page.result != platform::kNetSuccess && page.result != platform::kNetMoreData) return;
        const std::uint32_t previousIndex = resumeIndex;
        for (const platform::UserEntry& entry : page.entries) {
            Names.push_back(entry.name);
            resumeIndex = entry.nextIndex;
        }
        // A "more data" answer without entries, or one that does not move the resume index on,
        // would ask for the same page forever.
        if (page.result != platform::kNetMoreData || page.entries.empty() ||
            resumeIndex == previousIndex) {
            return;
        }
    }
}

}  // namespace zorvik

// Local user accounts paged as NetQueryDisplayInformation (level 1) pages them.
#include "platform/sim/system/SimServices.h"

namespace platform::sim {

namespace {

// What one entry costs of the preferred length: a NET_DISPLAY_USER record (four pointers and
// two 32-bit fields, as the 32-bit system lays it out: 24 bytes) and its name, empty comment
// and empty full name as wide strings with their terminating zeros. Eight-letter names thus
// cost 46 bytes, and 400 bytes hold eight of them.
std::uint32_t EntryBytes(const std::string& name) {
    constexpr std::uint32_t kRecordBytes = 24;
    constexpr std::uint32_t kEmptyStringBytes = 2;
    return kRecordBytes + 2 * (static_cast<std::uint32_t>(name.size()) + 1) + 2 * kEmptyStringBytes;
}

// usri1_next_index of the entry at a position: opaque and increasing, as the system's are
// (they are not positions, so a caller that resumes with a count instead starts over).
std::uint32_t NextIndexAt(std::size_t position) { return 1000 + 7 * static_cast<std::uint32_t>(position); }

class SimAccountsImpl : public SimAccounts {
public:
    UserPage QueryDisplayUsers(std::uint32_t resumeIndex, std::uint32_t entriesRequested,
                               std::uint32_t preferredMaxLength) override {
        int call = calls_++;
        UserPage page;
        if (failFrom_ >= 0 && call >= failFrom_) {
            page.result = failResult_;
            return page;
        }
        std::size_t position = StartAfter(resumeIndex);
        std::uint32_t used = 0;
        while (position < names_.size() && page.entries.size() < entriesRequested) {
            std::uint32_t cost = EntryBytes(names_[position]);
            // The system returns at least one entry, then stops before passing the length.
            if (!page.entries.empty() && used + cost > preferredMaxLength) break;
            used += cost;
            page.entries.push_back({names_[position], NextIndexAt(position)});
            ++position;
        }
        page.result = position < names_.size() ? kNetMoreData : kNetSuccess;
        return page;
    }

    void SetUsers(std::vector<std::string> names) override { names_ = std::move(names); }

    void FailFromCall(int callIndex, std::uint32_t result) override {
        failFrom_ = callIndex;
        failResult_ = result;
    }

    int CallCount() const override { return calls_; }

private:
    // Resuming with an entry's next index continues with the entry after it; 0 starts over.
    std::size_t StartAfter(std::uint32_t resumeIndex) const {
        if (resumeIndex == 0) return 0;
        for (std::size_t i = 0; i < names_.size(); ++i) {
            if (NextIndexAt(i) == resumeIndex) return i + 1;
            if (NextIndexAt(i) > resumeIndex) return i;
        }
        return names_.size();
    }

    std::vector<std::string> names_;
    int calls_ = 0;
    int failFrom_ = -1;
    std::uint32_t failResult_ = 0;
};

}  // namespace

std::unique_ptr<SimAccounts> MakeSimAccounts() { return std::make_unique<SimAccountsImpl>(); }

}  // namespace platform::sim

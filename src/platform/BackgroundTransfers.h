#pragma once
// The Background Intelligent Transfer Service's jobs. A job keeps the program it runs when it
// ends in error or is transferred (its notify command line) in BITS' own queue, which outlives
// a restart: a job that never finishes runs that program again and again, with nothing in the
// registry or on disk to show it.
#include <string>
#include <vector>

namespace platform {

struct TransferJob {
    std::string id;    // the job's GUID, "{...}"
    std::string name;  // the job's display name
    // The notify command line: the program BITS starts (a full path) and the command line it
    // hands it, whose first part is that program again. Both empty for a job without one.
    std::string notifyProgram;
    std::string notifyParameters;
    // Suspended: the job is held and neither transfers nor runs its program until resumed.
    bool suspended = false;
};

class BackgroundTransfers {
public:
    virtual ~BackgroundTransfers() = default;
    // The jobs of every account when this one may see them (an administrator), else its own;
    // empty when BITS cannot be reached or refuses.
    virtual std::vector<TransferJob> Jobs() = 0;
    // Holds the job (id as Jobs gives it) until it is resumed; its files and command stay as
    // they are. False when the job is gone, has ended, or the caller may not change it.
    virtual bool Suspend(const std::string& id) = 0;
};

}  // namespace platform

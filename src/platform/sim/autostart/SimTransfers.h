#pragma once
// The simulated BITS queue: the jobs a test puts there.
#include <memory>
#include <string>

#include "platform/BackgroundTransfers.h"

namespace platform::sim {

class SimTransfers : public BackgroundTransfers {
public:
    virtual void AddJob(TransferJob job) = 0;
    // Scripting: Suspend refuses every job, as BITS refuses another account's job to a user.
    virtual void RefuseChanges() = 0;
};

std::unique_ptr<SimTransfers> MakeSimTransfers();

}  // namespace platform::sim

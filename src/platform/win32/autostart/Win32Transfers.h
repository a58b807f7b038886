#pragma once
// BITS of the real system, through its IBackgroundCopyManager (a local server: asking starts
// the service when it is stopped). COM is started for each call on the calling thread.
#include "platform/BackgroundTransfers.h"

namespace platform::win32 {

class Win32Transfers : public BackgroundTransfers {
public:
    std::vector<TransferJob> Jobs() override;
    bool Suspend(const std::string& id) override;
};

}  // namespace platform::win32

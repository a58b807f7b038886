#include "platform/sim/autostart/SimTransfers.h"

#include <vector>

namespace platform::sim {

namespace {

class ScriptedTransfers : public SimTransfers {
public:
    void AddJob(TransferJob job) override { jobs_.push_back(std::move(job)); }
    void RefuseChanges() override { refused_ = true; }
    std::vector<TransferJob> Jobs() override { return jobs_; }
    bool Suspend(const std::string& id) override {
        if (refused_) return false;
        for (TransferJob& job : jobs_) {
            if (job.id != id) continue;
            job.suspended = true;
            return true;
        }
        return false;
    }

private:
    std::vector<TransferJob> jobs_;
    bool refused_ = false;
};

}  // namespace

std::unique_ptr<SimTransfers> MakeSimTransfers() { return std::make_unique<ScriptedTransfers>(); }

}  // namespace platform::sim

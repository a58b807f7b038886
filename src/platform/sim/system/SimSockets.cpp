// The simulated sockets library: counts its starts and ends.
#include "platform/sim/system/SimServices.h"

namespace platform::sim {

namespace {

class SimSocketsImpl : public SimSockets {
public:
    bool Startup() override {
        ++startups_;
        return true;
    }
    void Cleanup() override { ++cleanups_; }
    // Like WSAStartup, each start needs its own end before the library is released.
    bool Started() const override { return startups_ > cleanups_; }
    int StartupCount() const override { return startups_; }
    int CleanupCount() const override { return cleanups_; }

private:
    int startups_ = 0;
    int cleanups_ = 0;
};

}  // namespace

std::unique_ptr<SimSockets> MakeSimSockets() { return std::make_unique<SimSocketsImpl>(); }

}  // namespace platform::sim

#include "platform/sim/system/SimEventLog.h"

namespace platform::sim {
namespace {

class Log : public SimEventLog {
public:
    std::unique_ptr<EventWriter> Open(const std::string& source, std::string& error) override;
    const std::vector<LoggedEvent>& Events() const override { return events_; }
    void RefuseOpening(bool refuse) override { refuseOpening_ = refuse; }
    void RefuseWrites(bool refuse) override { refuseWrites_ = refuse; }

    bool Append(LoggedEvent event) {
        if (refuseWrites_) return false;
        events_.push_back(std::move(event));
        return true;
    }

private:
    std::vector<LoggedEvent> events_;
    bool refuseOpening_ = false;
    bool refuseWrites_ = false;
};

class Writer : public EventWriter {
public:
    Writer(Log& log, std::string source) : log_(log), source_(std::move(source)) {}
    bool Write(EventType type, std::uint32_t id, const std::vector<std::string>& strings) override {
        return log_.Append(LoggedEvent{source_, type, id, strings});
    }

private:
    Log& log_;
    std::string source_;
};

std::unique_ptr<EventWriter> Log::Open(const std::string& source, std::string& error) {
    if (refuseOpening_) {
        error = "access is denied";
        return nullptr;
    }
    return std::make_unique<Writer>(*this, source);
}

}  // namespace

std::unique_ptr<SimEventLog> MakeSimEventLog() { return std::make_unique<Log>(); }

}  // namespace platform::sim

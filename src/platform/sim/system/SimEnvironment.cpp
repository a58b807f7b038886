// The simulated environment block: variables by name without regard to case, expanded as
// Windows expands them.
#include <map>

#include "platform/sim/system/SimServices.h"
#include "platform/sim/system/SimText.h"

namespace platform::sim {

namespace {

class SimEnvironmentImpl : public SimEnvironment {
public:
    explicit SimEnvironmentImpl(SimFiles& files) : files_(files) {}

    void Set(const std::string& name, const std::string& value) override {
        if (value.empty()) {
            variables_.erase(ToUpperAscii(name));
        } else {
            variables_[ToUpperAscii(name)] = value;
        }
    }

    std::string Expand(const std::string& text) override {
        std::string out;
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t open = text.find('%', at);
            if (open == std::string::npos) break;
            out.append(text, at, open - at);
            const std::size_t close = text.find('%', open + 1);
            if (close == std::string::npos) {
                at = open;
                break;
            }
            const std::optional<std::string> value = Value(text.substr(open + 1, close - open - 1));
            // An undefined name stays with both its % signs, as Wine keeps it.
            out += value ? *value : text.substr(open, close - open + 1);
            at = close + 1;
        }
        out.append(text, at, std::string::npos);
        return out;
    }

private:
    std::optional<std::string> Value(const std::string& name) const {
        if (name.empty()) return std::nullopt;
        const std::string upper = ToUpperAscii(name);
        const auto found = variables_.find(upper);
        if (found != variables_.end()) return found->second;
        const std::string windows = files_.WindowsDirectory();
        if (upper == "SYSTEMROOT" || upper == "WINDIR") return windows;
        if (upper == "SYSTEMDRIVE" && windows.size() >= 2) return windows.substr(0, 2);
        return std::nullopt;
    }

    SimFiles& files_;
    std::map<std::string, std::string> variables_;
};

}  // namespace

std::unique_ptr<SimEnvironment> MakeSimEnvironment(SimFiles& files) {
    return std::make_unique<SimEnvironmentImpl>(files);
}

}  // namespace platform::sim

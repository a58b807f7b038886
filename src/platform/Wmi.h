#pragma once
// WMI's permanent event consumers that run something: the CommandLineEventConsumer and
// ActiveScriptEventConsumer instances of root\subscription. WMI runs them by itself when the
// event filter bound to them fires.
#include <string>
#include <vector>

namespace platform {

enum class WmiConsumerKind { CommandLine, ActiveScript };

struct WmiEventConsumer {
    WmiConsumerKind kind = WmiConsumerKind::CommandLine;
    std::string name;
    // CommandLineEventConsumer: CommandLineTemplate and ExecutablePath.
    std::string commandLineTemplate;
    std::string executablePath;
    // ActiveScriptEventConsumer: ScriptText and ScriptFileName.
    std::string scriptText;
    std::string scriptFileName;
};

class Wmi {
public:
    virtual ~Wmi() = default;
    // Both kinds of consumer; empty when WMI or root\subscription cannot be reached (as under
    // Wine, which has no such namespace) or refuses this user.
    virtual std::vector<WmiEventConsumer> EventConsumers() = 0;
};

}  // namespace platform

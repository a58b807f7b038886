#pragma once
// What each platform's contract run provides. The same test cases run natively against the
// simulated system and under Wine against the real one; each implements this in its own
// folder (contract/sim, contract/win32).
#include <cstdint>
#include <string>

#include "platform/System.h"

namespace contract {

class Env {
public:
    virtual ~Env() = default;
    virtual platform::System& System() = 0;
    virtual bool IsSimulated() const = 0;

    // A new empty folder for one test, with its trailing backslash; removed by the env later.
    virtual std::string ScratchDir() = 0;
    // A new key path under HKEY_CURRENT_USER for one test (no trailing backslash).
    virtual std::string ScratchKey() = 0;

    // This test program's own process: its id and the full path of its executable.
    virtual std::uint32_t OwnPid() = 0;
    virtual std::string OwnImagePath() = 0;

    // Makes this process own a listening TCP socket and a connected pair that has sent data
    // (so the TCP table names the owner). Returns the listener's port. Stays open until
    // CloseOwnSockets.
    virtual std::uint16_t OpenOwnSockets() = 0;
    virtual void CloseOwnSockets() = 0;

    // Starts a child process of the given executable that stays idle until StopChild; returns
    // its pid (0 when it cannot be started). On the simulated system the child is scripted.
    virtual std::uint32_t StartChild(const std::string& exePath) = 0;
    virtual void StopChild(std::uint32_t pid) = 0;

    // Defines an environment variable of this program (an empty value undefines it).
    virtual void SetVariable(const std::string& name, const std::string& value) = 0;
};

// The env of this build.
Env& env();

}  // namespace contract

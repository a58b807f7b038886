#pragma once
// What each platform's contract run provides. The same test cases run natively against the
// simulated system and under Wine against the real one; each implements this in its own
// folder (contract/sim, contract/win32).
#include <cstdint>
#include <string>

#include "platform/System.h"
#include "platform/Widgets.h"

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
    // Registers an enabled task without triggers that runs command with arguments, named name
    // ("Name", or "Folder\Name" in a folder of its own) in a new task folder for this run.
    // Returns the task's path as the scheduler gives it ("\...\Name"); empty when the
    // scheduler refuses. Removed by the env later.
    virtual std::string RegisterTask(const std::string& name, const std::string& command,
                                     const std::string& arguments) = 0;
    // The same as a Task Scheduler 1.0 work item, named "<run>-<name>": returns the path of
    // its .job file below the scheduler's root ("\...-Name.job"); empty when refused.
    virtual std::string RegisterWorkItem(const std::string& name, const std::string& command,
                                         const std::string& arguments) = 0;
    // Puts the consumer into WMI's root\subscription; false where the env cannot (the Windows
    // env writes no WMI: Wine has no such namespace, and Windows wants an administrator).
    virtual bool AddWmiEventConsumer(const platform::WmiEventConsumer& consumer) = 0;

    // The user presses a key with the modifiers held, while the window's focused control has
    // the focus; the messages it causes are handled before this returns.
    virtual void PressKey(platform::Window& window, const platform::KeyStroke& stroke) = 0;

    // A left click on a column's header, pressed and released on it as the user does.
    virtual void ClickColumnHeader(platform::ListView& list, int column) = 0;
};

// The env of this build.
Env& env();

}  // namespace contract

#pragma once
// A test agent (agent/TestAgent.cpp) started for a test: its first argument names the event it
// sets once its sockets are up, so that a test scans only then. Ended, and waited for, when
// this goes.
#include <cstdint>
#include <string>

#include "platform/win32/WindowsApi.h"
#include "platform/win32/system/ScopedHandle.h"

namespace wintest {

class RunningAgent {
public:
    // moreArguments: what follows the event's name on the command line, quoted as needed.
    RunningAgent(const std::string& path, const std::string& readyEvent,
                 const std::string& moreArguments = "") {
        const platform::win32::UniqueHandle ready(
            ::CreateEventA(nullptr, TRUE, FALSE, readyEvent.c_str()));
        if (!ready) return;
        std::string commandLine = "\"" + path + "\" " + readyEvent;
        if (!moreArguments.empty()) commandLine += " " + moreArguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!::CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, &startup, &info))
            return;
        ::CloseHandle(info.hThread);
        process_ = platform::win32::UniqueHandle(info.hProcess);
        pid_ = info.dwProcessId;
        const HANDLE waits[2] = {ready.get(), process_.get()};
        started_ = ::WaitForMultipleObjects(2, waits, FALSE, 30000) == WAIT_OBJECT_0;
    }
    ~RunningAgent() {
        if (!process_) return;
        ::TerminateProcess(process_.get(), 0);
        ::WaitForSingleObject(process_.get(), 10000);
    }
    RunningAgent(const RunningAgent&) = delete;
    RunningAgent& operator=(const RunningAgent&) = delete;

    // The agent runs and has its sockets up.
    bool Started() const { return started_; }
    std::uint32_t Pid() const { return pid_; }

private:
    platform::win32::UniqueHandle process_;
    std::uint32_t pid_ = 0;
    bool started_ = false;
};

}  // namespace wintest

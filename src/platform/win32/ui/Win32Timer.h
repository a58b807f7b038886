#pragma once
// A timer of a window (SetTimer on the window's handle); its ticks come as WM_TIMER.
#include "platform/win32/WindowsApi.h"

#include <string>

#include "platform/shared/TimerBase.h"

namespace platform::win32 {

class Win32Window;

class Win32Timer : public shared::TimerBase {
public:
    Win32Timer(Win32Window& form, std::string name, UINT_PTR id);
    ~Win32Timer() override;
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;

    UINT_PTR Id() const { return id_; }
    // One WM_TIMER for this timer.
    void Tick();

protected:
    // Starts or restarts the system timer when it should run, else stops it.
    void Changed() override;

private:
    Win32Window& form_;
    UINT_PTR id_;
    bool running_ = false;
};

}  // namespace platform::win32

#pragma once
// A timer of a window (SetTimer on the window's handle); its ticks come as WM_TIMER.
#include "platform/win32/WindowsApi.h"

#include <string>

#include "platform/Widgets.h"

namespace platform::win32 {

class Win32Window;

class Win32Timer : public Timer {
public:
    Win32Timer(Win32Window& form, std::string name, UINT_PTR id);
    ~Win32Timer() override;
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;

    const std::string& Name() const override { return name_; }
    std::uint32_t Interval() const override { return interval_; }
    void SetInterval(std::uint32_t milliseconds) override;
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override;

    UINT_PTR Id() const { return id_; }
    // One WM_TIMER for this timer.
    void Tick();

private:
    // Starts or restarts the system timer when it should run, else stops it.
    void Apply();

    Win32Window& form_;
    std::string name_;
    UINT_PTR id_;
    std::uint32_t interval_ = 1000;
    bool enabled_ = false;
    bool running_ = false;
};

}  // namespace platform::win32

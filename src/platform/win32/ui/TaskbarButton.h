#pragma once
// The application's button on the taskbar, hidden and shown through the shell's taskbar list.
// The shell adds a button again whenever the window is shown, so a hidden button is removed
// again after each show (ApplyTo).
#include "platform/win32/WindowsApi.h"

#include <shobjidl.h>

#include "platform/win32/ui/UiHandles.h"

namespace platform::win32 {

class TaskbarButton {
public:
    // Removes (shown false) or adds the window's button; nothing without a taskbar.
    void Set(HWND window, bool shown);

private:
    ITaskbarList* List();

    ComPtr<ITaskbarList> list_;
    bool tried_ = false;
};

}  // namespace platform::win32

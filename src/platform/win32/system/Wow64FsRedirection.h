#pragma once
// Turns WOW64 file-system redirection off for the current thread while alive, so that a 32-bit
// build sees C:\Windows\System32 as a 64-bit build does. On systems without WOW64 (32-bit XP,
// or a 64-bit build) the functions are missing or do nothing, and so does this.
#include "platform/win32/WindowsApi.h"

namespace platform::win32 {

class Wow64FsRedirectionOff {
public:
    Wow64FsRedirectionOff();
    Wow64FsRedirectionOff(const Wow64FsRedirectionOff&) = delete;
    Wow64FsRedirectionOff& operator=(const Wow64FsRedirectionOff&) = delete;
    ~Wow64FsRedirectionOff();

    // Whether redirection was really turned off by this object.
    bool active() const { return active_; }

private:
    PVOID oldValue_ = nullptr;
    bool active_ = false;
};

}  // namespace platform::win32

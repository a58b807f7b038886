#pragma once
// Owner of a buffer the network management functions allocate; NetApiBufferFree when it dies.
#include "platform/win32/WindowsApi.h"
#include <lm.h>

#include <utility>

namespace platform::win32 {

class NetApiBuffer {
public:
    NetApiBuffer() = default;
    NetApiBuffer(const NetApiBuffer&) = delete;
    NetApiBuffer& operator=(const NetApiBuffer&) = delete;
    ~NetApiBuffer() { Reset(); }

    void Reset() {
        if (buffer_) ::NetApiBufferFree(buffer_);
        buffer_ = nullptr;
    }
    // The out-parameter to hand to the allocating call; any earlier buffer is freed first.
    PVOID* receive() { Reset(); return &buffer_; }
    template <typename T>
    const T* as() const { return static_cast<const T*>(buffer_); }

private:
    PVOID buffer_ = nullptr;
};

}  // namespace platform::win32

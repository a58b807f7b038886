#pragma once
// Owner of a buffer the network management functions allocate; their free function (netapi32's
// NetApiBufferFree, looked up by the caller) when it dies.
#include "platform/win32/WindowsApi.h"

namespace platform::win32 {

using NetApiBufferFreeFn = DWORD(WINAPI*)(LPVOID);

class NetApiBuffer {
public:
    explicit NetApiBuffer(NetApiBufferFreeFn free) : free_(free) {}
    NetApiBuffer(const NetApiBuffer&) = delete;
    NetApiBuffer& operator=(const NetApiBuffer&) = delete;
    ~NetApiBuffer() { Reset(); }

    void Reset() {
        if (buffer_) free_(buffer_);
        buffer_ = nullptr;
    }
    // The out-parameter to hand to the allocating call; any earlier buffer is freed first.
    PVOID* receive() { Reset(); return &buffer_; }
    template <typename T>
    const T* as() const { return static_cast<const T*>(buffer_); }

private:
    NetApiBufferFreeFn free_;
    PVOID buffer_ = nullptr;
};

}  // namespace platform::win32

#pragma once
// The Windows Sockets library, version 2.2.
#include "platform/Sockets.h"

namespace platform::win32 {

class Win32Sockets : public Sockets {
public:
    bool Startup() override;
    void Cleanup() override;
};

}  // namespace platform::win32

#pragma once
// The Windows Sockets library, version 2.2.
#include <memory>
#include <vector>

#include "platform/Sockets.h"
#include "platform/win32/system/SocketsLibrary.h"

namespace platform::win32 {

class Win32Sockets : public Sockets {
public:
    bool Startup() override;
    // Ends the latest start; the starts not ended by the time this object dies end with it.
    void Cleanup() override;

private:
    std::vector<std::unique_ptr<SocketsLibraryUse>> uses_;
};

}  // namespace platform::win32

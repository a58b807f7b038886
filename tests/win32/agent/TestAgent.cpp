// A program that owns TCP sockets the system names it as owner of: a listener on 127.0.0.1 and
// a connection to it that has carried data. Started by the Windows tests under a name of their
// choosing. It sets the named event given as its first argument once the sockets are up (after
// writing the listener's and the client end's ports to the file named by the second argument,
// if given, and loading the DLL named by the third, if given), then waits to be ended; it ends
// by itself after two minutes so that none is left over.
#include "platform/win32/WindowsApi.h"

#include <cstdio>
#include <string>

#include "platform/win32/system/ScopedHandle.h"
#include "win32/LoopbackSockets.h"

namespace {

bool WritePorts(const char* path, const testsupport::LoopbackSockets& sockets) {
    const std::string text =
        std::to_string(sockets.port()) + " " + std::to_string(sockets.clientPort()) + "\n";
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    testsupport::LoopbackSockets sockets;
    if (sockets.port() == 0) return 2;
    if (argc > 2 && !WritePorts(argv[2], sockets)) return 4;
    // Kept loaded until the agent ends.
    if (argc > 3 && !::LoadLibraryA(argv[3])) return 5;
    if (argc > 1) {
        const platform::win32::UniqueHandle ready(::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1]));
        if (!ready) return 3;
        ::SetEvent(ready.get());
    }
    ::Sleep(120000);
    return 0;
}

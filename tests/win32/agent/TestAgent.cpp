// A program that owns TCP sockets the system names it as owner of: a listener on 127.0.0.1 and
// a connection to it that has carried data. Started by the main window's Windows tests under a
// name of their choosing. It sets the named event given as its first argument once the sockets
// are up, then waits to be ended; it ends by itself after two minutes so that none is left over.
#include "platform/win32/WindowsApi.h"

#include "platform/win32/system/ScopedHandle.h"
#include "win32/LoopbackSockets.h"

int main(int argc, char** argv) {
    testsupport::LoopbackSockets sockets;
    if (sockets.port() == 0) return 2;
    if (argc > 1) {
        const platform::win32::UniqueHandle ready(::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1]));
        if (!ready) return 3;
        ::SetEvent(ready.get());
    }
    ::Sleep(120000);
    return 0;
}

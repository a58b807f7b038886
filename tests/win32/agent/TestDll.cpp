// A DLL that does nothing, which the test agent loads when asked, so that a scan finds it among
// the modules of a program with sockets.
#include "platform/win32/WindowsApi.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

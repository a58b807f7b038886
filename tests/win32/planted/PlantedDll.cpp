// A library planted beside a program under the name of a system library, as someone who can
// drop a file into the program's folder would: whatever process loads it, it adds that
// process's program path as one line to "<its own file name>.loaded" beside itself. It exports
// nothing, so a program that took it for the real library finds none of its functions.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char marker[MAX_PATH + 16] = {};
    const DWORD length = ::GetModuleFileNameA(self, marker, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    ::lstrcatA(marker, ".loaded");
    char program[MAX_PATH + 2] = {};
    DWORD programLength = ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (programLength >= MAX_PATH) programLength = 0;
    program[programLength++] = '\r';
    program[programLength++] = '\n';
    const HANDLE file = ::CreateFileA(marker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return TRUE;
    DWORD written = 0;
    ::WriteFile(file, program, programLength, &written, nullptr);
    ::CloseHandle(file);
    return TRUE;
}

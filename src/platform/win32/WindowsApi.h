#pragma once
// <windows.h> for this layer. Its A/W name macros CreateDirectory and RemoveDirectory would
// rename the Files methods of the same names in any file that sees both, so they are undone
// here; the code calls the ANSI functions by their full names anyway.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <winsock2.h>
#include <windows.h>

#undef CreateDirectory
#undef RemoveDirectory

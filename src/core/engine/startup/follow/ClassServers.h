#pragma once
// The servers a COM class id leads to: a place that names a class (an AMSI provider, a shell
// extension handler) starts whatever DLL or program the class's registration names. Only the
// one class named is opened, never the whole class registry.
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace zorvik {

// A class id as the registry writes one: "{" 8-4-4-4-12 hexadecimal digits "}", blanks around
// it allowed.
bool IsClassId(const std::string& text);

struct ClassServer {
    // Root name and key of the server's registration, "HKEY_LOCAL_MACHINE\Software\...".
    std::string place;
    // Its default value: the DLL or the command line.
    std::string text;
};

// The InprocServer32 and LocalServer32 of the class, the current user's registration first
// (it wins over the machine's), then the machine's and its 32-bit view; servers with no text
// are left out.
std::vector<ClassServer> ClassServersOf(platform::Registry& reg, const std::string& classId);

}  // namespace zorvik

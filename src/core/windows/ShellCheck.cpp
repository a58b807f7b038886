#include "core/windows/ShellCheck.h"

#include <cstdio>

#include "core/base/Errors.h"

namespace zorvik {

void CheckShell(const platform::ShellResult& result) {
    if (!result.Failed()) return;
    if (!result.text.empty()) throw AppError(result.text);
    char text[32];
    std::snprintf(text, sizeof text, "OLE error %08X", static_cast<unsigned>(result.code));
    throw AppError(text);
}

}  // namespace zorvik

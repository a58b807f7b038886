// The path routines of untFunc: the Windows drive, short and long forms, existence.
#include "core/base/untFunc.h"

namespace zorvik {

std::string GetWindowsDrive(platform::System& sys) {
    const std::string windowsDir = sys.files().WindowsDirectory();
    const std::size_t backslash = windowsDir.find('\\');
    if (backslash == std::string::npos) return {};
    return windowsDir.substr(0, backslash + 1);
}

std::string GetShortPath(platform::System& sys, const std::string& path) {
    return sys.files().ShortPath(path);
}

std::string GetLongPath(platform::System& sys, const std::string& path) {
    return sys.files().LongPath(path);
}

bool PathExists(platform::System& sys, const std::string& path) {
    if (path.empty()) return false;
    return sys.files().Attributes(path).has_value();
}

}  // namespace zorvik

#include "platform/shared/ProgramTitle.h"

namespace platform::shared {

std::string TitleOfProgram(const std::string& programPath) {
    const std::size_t slash = programPath.find_last_of("\\/:");
    std::string name = slash == std::string::npos ? programPath : programPath.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

}  // namespace platform::shared

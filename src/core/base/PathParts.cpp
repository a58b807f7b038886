#include "core/base/PathParts.h"

namespace zorvik {

std::string ProgramFileNameOf(const std::string& path) {
    const std::size_t cut = path.find_last_of(kPathSeparators);
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string ProgramFolderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of(kPathSeparators);
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace zorvik

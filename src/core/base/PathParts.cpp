#include "core/base/PathParts.h"

namespace zorvik {

namespace {

// Windows takes a slash for a backslash; a colon ends a drive.
constexpr const char* kSeparators = "\\/:";

}  // namespace

std::string ProgramFileNameOf(const std::string& path) {
    const std::size_t cut = path.find_last_of(kSeparators);
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string ProgramFolderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of(kSeparators);
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace zorvik

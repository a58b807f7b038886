#include "core/base/BesideProgram.h"

#include "core/base/PathParts.h"

namespace zorvik {

std::string FileBesideProgram(platform::System& sys, const std::string& fileName) {
    return ProgramFolderOf(sys.files().OwnPath()) + fileName;
}

}  // namespace zorvik

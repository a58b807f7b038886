#include "core/engine/verdict/FolderClass.h"

#include <string_view>

#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"

namespace zorvik {

namespace {

// Below the Windows folder, writable by every user: scratch, the XP task folder, tracing.
constexpr std::string_view kWritableBelowWindows[] = {"\\temp\\", "\\tasks\\", "\\tracing\\"};
constexpr std::string_view kSystemBelowWindows[] = {"\\system32\\", "\\syswow64\\"};
// Below a drive's root ("C:").
constexpr std::string_view kProgramFiles[] = {"\\program files\\", "\\program files (x86)\\"};
constexpr std::string_view kWritableBelowRoot[] = {"\\users\\", "\\documents and settings\\",
                                                    "\\programdata\\", "\\perflogs\\",
                                                    "\\temp\\", "\\tmp\\"};

template <std::size_t N>
bool StartsWithOneOf(std::string_view text, const std::string_view (&starts)[N]) {
    for (const std::string_view start : starts)
        if (text.starts_with(start)) return true;
    return false;
}

}  // namespace

FolderPlace FolderPlaceOf(const std::string& path, const std::string& windowsDirectory) {
    FolderPlace place;
    place.folder = ProgramFolderOf(path);
    const std::string folder = AsciiLower(place.folder);
    std::string windows = AsciiLower(windowsDirectory);
    while (!windows.empty() && windows.back() == '\\') windows.pop_back();
    if (!windows.empty() && folder.size() > windows.size() && folder.starts_with(windows) &&
        folder[windows.size()] == '\\') {
        const std::string_view below = std::string_view(folder).substr(windows.size());
        if (StartsWithOneOf(below, kWritableBelowWindows))
            place.folderClass = FolderClass::UserWritable;
        else if (StartsWithOneOf(below, kSystemBelowWindows))
            place.folderClass = FolderClass::System;
        else
            place.folderClass = FolderClass::Windows;
        return place;
    }
    // "C:\" and the rest; a share (\\server\...) is any other folder.
    if (folder.size() < 3 || folder[1] != ':' || folder[2] != '\\') return place;
    const std::string_view below = std::string_view(folder).substr(2);
    if (below == "\\") {
        place.folderClass = FolderClass::UserWritable;
    } else if (StartsWithOneOf(below, kProgramFiles)) {
        place.folderClass = FolderClass::ProgramFiles;
    } else if (StartsWithOneOf(below, kWritableBelowRoot)) {
        place.folderClass = FolderClass::UserWritable;
    }
    return place;
}

}  // namespace zorvik

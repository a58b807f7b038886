#include "platform/win32/ui/SaveFileDialog.h"

#include <commdlg.h>

#include <string>
#include <vector>

#include "platform/win32/ui/OpenFileDialog.h"

namespace platform::win32 {

namespace {

// "txt" of the first filter's "*.txt": the dialog follows the chosen filter with it, and adds
// the extension to a name typed without one. Empty when the pattern names none.
std::string DefaultExtension(const std::vector<FileFilter>& filters) {
    if (filters.empty()) return {};
    const std::string& pattern = filters.front().pattern;
    const std::size_t dot = pattern.rfind('.');
    if (dot == std::string::npos || pattern.find_first_of("*?;", dot) != std::string::npos)
        return {};
    return pattern.substr(dot + 1);
}

}  // namespace

std::optional<SaveFileChoice> RunSaveFileDialog(const SaveFileRequest& request, HWND owner) {
    const std::string filterText = FilterText(request.filters);
    const std::string extension = DefaultExtension(request.filters);
    std::vector<char> fileBuffer(MAX_PATH + 1, '\0');
    OPENFILENAMEA record{};
    record.lStructSize = sizeof(OPENFILENAMEA);
    record.hwndOwner = owner;
    record.hInstance = ::GetModuleHandleA(nullptr);
    record.lpstrFilter = filterText.c_str();
    record.nFilterIndex = 1;
    record.lpstrFile = fileBuffer.data();
    record.nMaxFile = static_cast<DWORD>(fileBuffer.size());
    record.lpstrTitle = request.title.c_str();
    record.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    // The current folder stays the program's: relative paths elsewhere mean what they meant.
    record.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                   OFN_NOCHANGEDIR;
    if (!::GetSaveFileNameA(&record)) return std::nullopt;
    fileBuffer.back() = '\0';
    const std::size_t filter = record.nFilterIndex > 0 ? record.nFilterIndex - 1 : 0;
    return SaveFileChoice{std::string(fileBuffer.data()), filter};
}

}  // namespace platform::win32

#include "platform/win32/ui/OpenFileDialog.h"

#include <commdlg.h>

namespace platform::win32 {

std::string FilterText(const std::vector<FileFilter>& filters) {
    std::string text;
    for (const FileFilter& filter : filters) {
        text += filter.description;
        text += '\0';
        text += filter.pattern;
        text += '\0';
    }
    text += '\0';
    return text;
}

OPENFILENAMEA OpenFileRecord(const OpenFileRequest& request, HWND owner,
                             const std::string& filterText, std::vector<char>& fileBuffer) {
    fileBuffer.assign(kOpenFileBufferSize, '\0');
    OPENFILENAMEA record{};
    // The full structure of this build: a fixed 32-bit size would fail in a 64-bit build.
    record.lStructSize = sizeof(OPENFILENAMEA);
    record.hwndOwner = owner;
    record.hInstance = ::GetModuleHandleA(nullptr);
    record.lpstrFilter = filterText.c_str();
    record.lpstrFile = fileBuffer.data();
    record.nMaxFile = static_cast<DWORD>(fileBuffer.size());
    record.lpstrTitle = request.title.c_str();
    record.Flags = 0;
    return record;
}

std::optional<std::string> RunOpenFileDialog(const OpenFileRequest& request, HWND owner) {
    const std::string filterText = FilterText(request.filters);
    std::vector<char> fileBuffer;
    OPENFILENAMEA record = OpenFileRecord(request, owner, filterText, fileBuffer);
    if (!::GetOpenFileNameA(&record)) return std::nullopt;
    fileBuffer.back() = '\0';
    return std::string(fileBuffer.data());
}

}  // namespace platform::win32

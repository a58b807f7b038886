#pragma once
// The system's open-file dialog (GetOpenFileNameA).
#include "platform/win32/WindowsApi.h"

#include <commdlg.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/Ui.h"

namespace platform::win32 {

constexpr std::size_t kOpenFileBufferSize = 261;

// The filter pairs as the dialog reads them: description NUL pattern NUL ..., then one more NUL.
std::string FilterText(const std::vector<FileFilter>& filters);

// The dialog's record for a request, pointing at filterText, title and fileBuffer, which must
// outlive it. fileBuffer is made kOpenFileBufferSize long and empty.
OPENFILENAMEA OpenFileRecord(const OpenFileRequest& request, HWND owner,
                             const std::string& filterText, std::vector<char>& fileBuffer);

// Shows the dialog; the chosen path, or nullopt when cancelled or failed.
std::optional<std::string> RunOpenFileDialog(const OpenFileRequest& request, HWND owner);

}  // namespace platform::win32

#pragma once
// The system's save-file dialog (GetSaveFileNameA, Explorer style).
#include "platform/win32/WindowsApi.h"

#include <optional>

#include "platform/Ui.h"

namespace platform::win32 {

// Shows the dialog; the chosen path and filter, or nullopt when cancelled or failed.
std::optional<SaveFileChoice> RunSaveFileDialog(const SaveFileRequest& request, HWND owner);

}  // namespace platform::win32

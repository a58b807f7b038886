#pragma once
// Windowing services: windows and controls (platform/Widgets.h), the application object with
// its message loop, message boxes, the open-file dialog and popup menus.
//
// Names avoid the Win32 macros (CreateWindow, MessageBox, PostMessage, ...), so that the
// Windows implementation can include <windows.h> beside this header.
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Widgets.h"

namespace platform {

enum class MessageIcon {
    None,
    Error,        // MB_ICONERROR, the stop icon
    Information   // MB_ICONINFORMATION
};

struct FileFilter {
    std::string description;  // "Exe Files(*.exe)"
    std::string pattern;      // "*.exe"
};

// The open-file dialog (GetOpenFileNameA). The Windows implementation sets lStructSize to
// sizeof(OPENFILENAMEA) of the build (88 bytes in a 32-bit build, more in a 64-bit one; a fixed
// 88 would make the dialog fail there), hInstance to the program's module, a 261-character
// file buffer starting empty, Flags 0, and no initial folder, default extension or custom filter.
struct OpenFileRequest {
    Window* owner = nullptr;
    std::vector<FileFilter> filters;
    std::string title;
};

// The save-file dialog (GetSaveFileNameA, Explorer style): it asks before overwriting a file,
// wants an existing folder, and adds the chosen filter's extension (its pattern "*.ext") to a
// name typed without one. The first filter is chosen when it opens.
struct SaveFileRequest {
    Window* owner = nullptr;
    std::vector<FileFilter> filters;
    std::string title;
};

struct SaveFileChoice {
    std::string path;
    std::size_t filter = 0;  // the index of the filter chosen, from 0
    bool operator==(const SaveFileChoice&) const = default;
};

struct MenuEntry {
    std::string caption;
    std::uint32_t id = 0;     // nonzero for entries that can be chosen
    bool enabled = true;      // false: greyed (MF_GRAYED | MF_DISABLED), cannot be chosen
    bool separator = false;   // a separator line; caption and id unused
};

// A popup menu built entry by entry, that the shell can add its own entries to through its
// handle (an HMENU on Windows). Destroyed (DestroyMenu) with its owner.
class NativeMenu {
public:
    virtual ~NativeMenu() = default;
    // AppendMenuA: MF_STRING, or MF_GRAYED | MF_DISABLED when not enabled; MF_SEPARATOR (id 0,
    // no text) for a separator.
    virtual void Append(const MenuEntry& entry) = 0;
    virtual void* NativeHandle() const = 0;
    // Tracks the menu modally (TrackPopupMenuEx with TPM_RETURNCMD | TPM_VERTICAL |
    // TPM_RIGHTBUTTON, no exclusion rectangle) at a screen point for the owner window: the
    // chosen entry's id, or 0 when dismissed.
    virtual std::uint32_t Track(Window& owner, Point screen) = 0;
};

class Ui {
public:
    virtual ~Ui() = default;

    // --- Windows -------------------------------------------------------------------------
    // A new window, hidden. The caller owns it; its controls die with it.
    virtual std::unique_ptr<Window> NewWindow(const WindowSpec& desc) = 0;
    // The main window once made, else nullptr.
    virtual Window* MainWindow() const = 0;

    // --- The application -------------------------------------------------------------------
    // The title shown by the general error handler; the program file's name without its
    // extension until set.
    virtual std::string ApplicationTitle() const = 0;
    virtual void SetApplicationTitle(const std::string& title) = 0;

    // Minimises the application when it is not already: its windows leave the screen and
    // OnApplicationMinimise runs, called directly, so an exception from it reaches the caller
    // (and ends the handler that asked for the minimise). The main window's minimise button
    // does the same through RunHandler.
    virtual void MinimiseApplication() = 0;
    // Undoes a minimise and shows the main window again; nothing when not minimised.
    virtual void RestoreApplication() = 0;
    virtual bool ApplicationMinimised() const = 0;
    // The application's button on the taskbar.
    virtual void ShowTaskbarButton(bool shown) = 0;
    virtual bool TaskbarButtonShown() const = 0;
    // Brings the application's last active window to the front.
    virtual void BringApplicationToFront() = 0;
    std::function<void()> OnApplicationMinimise;

    // The message loop: shows the main window, then handles messages until Terminate.
    virtual void Run() = 0;
    // Handles the messages waiting now, then returns ("let pending messages be processed").
    virtual void ProcessMessages() = 0;
    // Ends the message loop after the current message.
    virtual void Terminate() = 0;
    virtual bool Terminated() const = 0;

    // The command-line arguments after the program's name.
    virtual std::vector<std::string> CommandLineArgs() const = 0;
    // The mouse pointer on the screen (GetCursorPos).
    virtual Point CursorPosition() const = 0;
    // RegisterWindowMessageA: the same name always gives the same number (0xC000 or above).
    virtual std::uint32_t RegisterMessage(const std::string& name) = 0;

    // --- The clipboard ---------------------------------------------------------------------
    // Puts text on the clipboard as CF_TEXT, in place of what was there, owned by owner
    // (nullptr = the main window). False when the clipboard cannot be had (another program
    // holds it open) or takes nothing; it is then left as it was.
    virtual bool CopyToClipboard(Window* owner, const std::string& text) = 0;
    // The clipboard's CF_TEXT up to its first NUL; empty when it holds no text.
    virtual std::string ClipboardText() = 0;

    // --- Dialogs and menus (each runs a nested message loop: timers may tick inside) -------
    // One OK button. Owner nullptr = the application's main window.
    virtual void ShowMessageBox(Window* owner, const std::string& text, const std::string& title,
                                MessageIcon icon) = 0;
    // The chosen path (the buffer up to its first NUL), or nullopt when cancelled or failed.
    virtual std::optional<std::string> ChooseOpenFile(const OpenFileRequest& request) = 0;
    // The path to save to and the filter it was chosen under, or nullopt when cancelled or failed.
    virtual std::optional<SaveFileChoice> ChooseSaveFile(const SaveFileRequest& request) = 0;
    // Tracks a popup menu modally at a screen point (TPM_RETURNCMD | TPM_RIGHTBUTTON); returns
    // the chosen entry's id, or 0 when dismissed.
    virtual std::uint32_t RunPopupMenu(Window& owner, const std::vector<MenuEntry>& entries,
                                       Point screen) = 0;
    // An empty popup menu (CreatePopupMenu); nullptr when none can be made.
    virtual std::unique_ptr<NativeMenu> NewNativeMenu() = 0;

    // --- The general error handler ---------------------------------------------------------
    // Every event from the user or the system runs through here: an exception leaving handler
    // is shown in a message box with the stop icon, titled with the application's title, and
    // the program goes on.
    void RunHandler(const std::function<void()>& handler) {
        if (!handler) return;
        std::string message;
        try {
            handler();
            return;
        } catch (const std::exception& e) {
            message = e.what();
        } catch (...) {
            message = "Unknown error";
        }
        ShowMessageBox(nullptr, message, ApplicationTitle(), MessageIcon::Error);
    }
};

}  // namespace platform

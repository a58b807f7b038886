#pragma once
// The simulated windowing and shell services, and how tests drive them.
//
// Windows live in memory; nothing is drawn. Tests act as the user (click, type, press an arrow,
// resize, close), answer the modal dialogs and menus in advance, move the clock to fire timers,
// and read back every control's state and every box, menu, dialog, shell call and tray call.
// User actions and system events run their handlers through Ui::RunHandler, as the message
// loop does on Windows; disabled or hidden controls ignore user actions. Nothing ever waits
// in the simulation: Run shows the main window, handles the messages waiting, and returns;
// tests then act and call ProcessMessages or AdvanceTime.
//
// Geometry of the simulated screen: 1024 by 768 pixels. Frames: a sizeable window adds 4 pixels
// on the left, right and bottom and 23 on top (caption 19); a tool window adds 4 and 19; a fixed
// tool window 3 and 18. A maximised window fills the screen. List views: a header 17 pixels
// high, then rows 17 pixels high from the top row down; every character of a cell's text is 4
// pixels wide.
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Shell.h"
#include "platform/Ui.h"
#include "platform/shared/NotifyIconProtocol.h"
#include "platform/sim/system/SimSystem.h"

namespace platform::sim {

constexpr int kSimScreenWidth = 1024;
constexpr int kSimScreenHeight = 768;
constexpr int kSimListHeaderHeight = 17;
constexpr int kSimListRowHeight = 17;
constexpr int kSimCharWidth = 4;

struct MessageBoxRecord {
    std::string owner;  // the owner window's name ("" when there is no window at all)
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
};

struct OpenFileRecord {
    std::string owner;
    std::vector<FileFilter> filters;
    std::string title;
    std::optional<std::string> result;
};

// A key that reached a control: nobody handled it before.
struct KeyRecord {
    std::string window;
    std::string control;
    KeyStroke stroke;
};

struct SaveFileRecord {
    std::string owner;
    std::vector<FileFilter> filters;
    std::string title;
    std::optional<SaveFileChoice> result;
};

struct MenuRecord {
    std::string owner;
    std::vector<MenuEntry> entries;
    Point screen;
    std::uint32_t result = 0;  // what RunPopupMenu returned
};

class SimUi : public Ui {
public:
    // --- Finding windows and controls ------------------------------------------------------
    virtual std::vector<Window*> Windows() const = 0;  // in creation order
    virtual Window* WindowNamed(const std::string& name) const = 0;
    // The control of that name and kind in the window; throws std::logic_error when missing.
    template <class T>
    T& Get(const std::string& window, const std::string& control) const {
        Window* w = WindowNamed(window);
        if (!w) throw std::logic_error("no window " + window);
        T* c = dynamic_cast<T*>(w->FindControl(control));
        if (!c) throw std::logic_error("no such control " + window + "." + control);
        return *c;
    }
    Timer& GetTimer(const std::string& window, const std::string& timer) const {
        Window* w = WindowNamed(window);
        Timer* t = w ? w->FindTimer(timer) : nullptr;
        if (!t) throw std::logic_error("no timer " + window + "." + timer);
        return *t;
    }

    // --- The user --------------------------------------------------------------------------
    // Button: OnClick. Check box: toggles, then OnClick. Label: OnClick.
    virtual void Click(Control& control) = 0;
    // One character into an edit box, through OnKeyPress. After the filter: 8 (Backspace)
    // deletes the last character, 22 (Ctrl+V) pastes the clipboard, other codes below 32 do
    // nothing, the rest is appended (the caret is always at the end).
    virtual void TypeChar(Edit& edit, char key) = 0;
    void TypeText(Edit& edit, const std::string& text) { for (char c : text) TypeChar(edit, c); }
    // The edit box's own context menu "Paste": the text is appended without OnKeyPress.
    virtual void PasteText(Edit& edit, const std::string& text) = 0;
    // Another program's text on the clipboard.
    virtual void SetClipboardText(const std::string& text) = 0;
    // Another program holds the clipboard open: CopyToClipboard fails until released.
    virtual void HoldClipboard(bool held) = 0;
    virtual void ClickArrow(UpDown& upDown, bool up) = 0;
    virtual void SelectItem(ListBox& list, int index) = 0;
    // A key pressed in the window: first OnKeyDown; a key it leaves does what the Windows
    // build's dialog keys and controls do with it. Tab (Shift+Tab) moves the focus to the next
    // (previous) tab stop, wrapping; Alt+letter clicks the button or check box whose caption
    // marks that letter with "&"; any other key reaches the focused control (recorded in
    // KeysToControls), where a letter types its character into an edit box (lower case
    // without Shift; with Ctrl, the control character: Ctrl+V pastes), and the context menu key
    // or Shift+F10 asks a list view for its context menu at the cursor position.
    virtual void PressKey(Window& window, const KeyStroke& stroke) = 0;
    virtual const std::vector<KeyRecord>& KeysToControls() const = 0;
    // A press at a point of the list's client area: selection as the list view does it, then
    // OnMouseDown, then (right button) OnContextMenu at the cursor position. With ctrl, a left
    // press on a row turns its selection over (a list of multiSelect), keeping the others.
    virtual void PressMouse(ListView& list, MouseButton button, int x, int y,
                            bool ctrl = false) = 0;
    // A point on the given row (in the first column).
    static Point RowPoint(int row) {
        return Point{4, kSimListHeaderHeight + row * kSimListRowHeight + kSimListRowHeight / 2};
    }
    void PressRow(ListView& list, MouseButton button, int row, bool ctrl = false) {
        Point p = RowPoint(row);
        PressMouse(list, button, p.x, p.y, ctrl);
    }
    // A click on a column's header: OnColumnClick (a column out of range: nothing).
    virtual void ClickHeader(ListView& list, int column) = 0;
    // Paints the list: asks OnCustomDrawItem for every row; the colours, row by row.
    virtual std::vector<Colour> DrawRows(ListView& list) = 0;
    virtual void MoveMouse(Label& label, int x, int y) = 0;
    virtual void MoveMouseOverWindow(Window& window, int x, int y) = 0;
    virtual void SetCursorPosition(Point screen) = 0;
    // Drags the frame: the new outer size, then OnResize.
    virtual void UserResize(Window& window, int outerWidth, int outerHeight) = 0;
    virtual void UserClose(Window& window) = 0;       // the close button
    virtual void UserMinimise() = 0;                  // the main window's minimise button
    virtual void SetCommandLineArgs(std::vector<std::string> args) = 0;

    // --- Time ------------------------------------------------------------------------------
    // Moves the clock on, firing each due timer tick in time order (a timer that falls behind
    // ticks once, as WM_TIMER does) and handling waiting messages before and after each tick.
    virtual void AdvanceTime(std::uint32_t milliseconds) = 0;
    virtual std::uint64_t Now() const = 0;

    // --- Modal answers and records ----------------------------------------------------------
    // The next popup menu returns id (0 = dismissed); whileOpen runs while it is open, as a
    // nested loop would run a timer tick. Without a queued answer a menu is dismissed. An id
    // that names no enabled entry returns 0, as a greyed entry cannot be chosen.
    virtual void QueueMenuChoice(std::uint32_t id, std::function<void()> whileOpen = {}) = 0;
    virtual const std::vector<MenuRecord>& Menus() const = 0;
    // The next open-file dialog's answer; nullopt = cancelled. Without one it is cancelled.
    virtual void QueueOpenFileResult(std::optional<std::string> path) = 0;
    virtual const std::vector<OpenFileRecord>& OpenFileDialogs() const = 0;
    // The next save-file dialog's answer: the name typed (the chosen filter's extension is
    // added when it has none) and the filter chosen; nullopt = cancelled, as without one.
    virtual void QueueSaveFileResult(std::optional<SaveFileChoice> choice) = 0;
    virtual const std::vector<SaveFileRecord>& SaveFileDialogs() const = 0;
    virtual const std::vector<MessageBoxRecord>& MessageBoxes() const = 0;
    // Runs inside every message box while it is open (its nested loop), when set.
    std::function<void(const MessageBoxRecord&)> WhileMessageBoxOpen;
    virtual void ClearRecords() = 0;  // boxes, menus, dialogs and keys

    // --- Messages and application state -----------------------------------------------------
    virtual std::size_t PendingMessages() const = 0;
    // Sends the message to every window (as the shell broadcasts "TaskbarCreated").
    virtual void Broadcast(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // The window SetForegroundWindow or BringApplicationToFront last brought forward.
    virtual Window* ForegroundWindow() const = 0;

    // --- Native menus (NewNativeMenu) --------------------------------------------------------
    // They track as the popup menus above do (queued answer, record in Menus).
    virtual int LiveNativeMenus() const = 0;  // made and not yet destroyed
    // false: NewNativeMenu fails (no menu can be created) from now on.
    virtual void SetNativeMenusAvailable(bool available) = 0;
};

struct NotifyRecord {
    NotifyAction action = NotifyAction::Add;
    NotifyIconData data;
};

class SimShell : public Shell, public NotifyArea {
public:
    // Every ShellExecuteA call, in order.
    virtual const std::vector<ShellExecuteRequest>& Executions() const = 0;
    virtual void SetExecuteResult(std::intptr_t result) = 0;  // 42 until set
    // Every Shell_NotifyIconA call, in order, with the record as passed.
    virtual const std::vector<NotifyRecord>& NotifyCalls() const = 0;
    // The icon in the notification area now, as the shell holds it (Modify merges the fields
    // its flags name), or nullopt.
    virtual std::optional<NotifyIconData> CurrentIcon() const = 0;
    // Refuses the notify calls from now on (no notification area).
    virtual void SetNotifyAvailable(bool available) = 0;
    // The icon reports an event: its window's callback message with lParam event is posted.
    // Nothing when there is no icon.
    virtual void PostTrayEvent(std::intptr_t event) = 0;
    // Explorer restarts: the icon is gone, and "TaskbarCreated" is broadcast to every window.
    virtual void RestartTaskbar() = 0;
};

// Scripting access to a simulated system's windowing and shell services.
SimUi& GuiOf(SimSystem& system);
SimShell& ShellOf(SimSystem& system);

}  // namespace platform::sim

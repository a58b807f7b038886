#pragma once
// Windows and their controls, as portable objects. A window is made by Ui::NewWindow and owns
// every control and timer added to it; the references handed out stay valid as long as the
// window lives. Every control has a name (the one the program's code knows it by, e.g.
// "ChkAutoScan"), unique within its window.
//
// Events are std::function members; an unset handler means the event does nothing. Events that
// come from the user or the system (a click, a typed key, a timer tick, a window message) run
// through Ui::RunHandler, the application's general error handler: an exception leaving the
// handler is shown in a message box and the message loop goes on. So do events that a setter
// raises through a window message (OnResize after SetOuterWidth). CheckBox::SetChecked alone
// runs OnClick directly, so an exception reaches the code that set the box, as in the program's
// own call chain (the Windows build calls the handler itself: BM_SETCHECK sends no click).
//
// Geometry is in pixels. A control's bounds are relative to its parent's client area: the
// window's, or the group box's when ControlSpec::parent names one.
//
// Notes for the Win32 implementation:
// - The windows use "MS Sans Serif" 8 pt on COLOR_BTNFACE, and the common controls of version
//   6 (the manifest asks for them).
// - Handler code may destroy rows, menus or other windows' contents; read the control's state
//   again after any handler returns, never hold an item pointer across one.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/MessageListener.h"

namespace platform {

// 0x00BBGGRR, as a COLORREF.
using Colour = std::uint32_t;
constexpr Colour kBlack = 0x000000;
constexpr Colour kRed = 0x0000FF;
constexpr Colour kGreen = 0x008000;  // red 0, green 128, blue 0
constexpr Colour kBlue = 0xFF0000;
constexpr Colour kPurple = 0x800080;  // red 128, green 0, blue 128

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

enum class MouseButton { Left, Right, Middle };

class Control;
class GroupBox;

// What every control is made from.
struct ControlSpec {
    std::string name;
    Rect bounds;
    std::string text;       // caption of buttons, check boxes, labels; content of edit boxes
    bool enabled = true;
    bool visible = true;
    std::string hint;       // tooltip; empty = none
    GroupBox* parent = nullptr;  // the group box that holds the control, or the window itself
};

class Control {
public:
    virtual ~Control() = default;
    virtual const std::string& Name() const = 0;

    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual Rect Bounds() const = 0;
    virtual void SetBounds(const Rect& bounds) = 0;
    virtual std::string Hint() const = 0;

    // Shorthands over Bounds/SetBounds.
    int Left() const { return Bounds().left; }
    int Top() const { return Bounds().top; }
    int Width() const { return Bounds().width; }
    int Height() const { return Bounds().height; }
    void SetLeft(int v) { Rect r = Bounds(); r.left = v; SetBounds(r); }
    void SetTop(int v) { Rect r = Bounds(); r.top = v; SetBounds(r); }
    void SetWidth(int v) { Rect r = Bounds(); r.width = v; SetBounds(r); }
    void SetHeight(int v) { Rect r = Bounds(); r.height = v; SetBounds(r); }
};

// A static text. Mouse events make it usable as a link.
class Label : public Control {
public:
    virtual Colour FontColour() const = 0;
    virtual void SetFontColour(Colour colour) = 0;
    virtual bool Underline() const = 0;
    virtual void SetUnderline(bool underline) = 0;
    // How wide its text is drawn in its font, in the layout's units: the width that shows it
    // whole on one line.
    virtual int TextWidth() const = 0;

    std::function<void()> OnClick;
    std::function<void(int x, int y)> OnMouseMove;  // client coordinates of the label
};

enum class ButtonGlyph { None, OpenFolder };  // OpenFolder: a 16 by 16 open-folder picture

struct ButtonSpec : ControlSpec {
    // A flat tool button: no frame until hovered, never takes the focus, shows glyph.
    bool flat = false;
    ButtonGlyph glyph = ButtonGlyph::None;
};

class Button : public Control {
public:
    std::function<void()> OnClick;
};

class CheckBox : public Control {
public:
    virtual bool Checked() const = 0;
    // Runs OnClick (directly, see above) when the state changes, as a user's click would; setting
    // the state it already has runs nothing.
    virtual void SetChecked(bool checked) = 0;

    // A user's click toggles the state first, then runs OnClick.
    std::function<void()> OnClick;
};

// A group box without caption; controls whose desc names it as parent sit inside it.
class GroupBox : public Control {};

// A one-line edit box.
class Edit : public Control {
public:
    // Each typed character (WM_CHAR) before the box takes it: the handler may change it, or
    // set it to 0 to drop it. Keys that send no character (Delete, arrows) never come here;
    // neither does text pasted through the box's own context menu.
    std::function<void(char& key)> OnKeyPress;
    // After the text changed: typed, pasted, or set by SetText (the box reports every change,
    // as EN_CHANGE does).
    std::function<void()> OnChange;
};

// The character Backspace types (VK_BACK): an edit box that filters keys lets it through.
constexpr char kBackspaceKey = 8;

enum class UpDownDirection { None, Up, Down };

struct UpDownSpec : ControlSpec {
    int min = 0;
    int max = 100;
    int position = 0;
    bool wrap = false;  // always false in this program; listed for completeness
};

// A vertical pair of arrows, not attached to any edit box.
class UpDown : public Control {
public:
    virtual int Min() const = 0;
    virtual int Max() const = 0;
    virtual int Position() const = 0;
    // The position is a signed 16-bit number: the value is reduced modulo 65536 into
    // -32768..32767 (70000 becomes 4464). The range is not applied (300 stays 300): if the control
    // clamps it, the Windows build keeps the value itself.
    virtual void SetPosition(int position) = 0;

    // An arrow click, before the position moves. The new position is the old one +1 (up arrow)
    // or -1 (down arrow); direction is Up or Down when the new position lies within Min..Max,
    // None when it would leave the range. Return false to keep the position; true lets it move
    // (within the range only). A handler that throws leaves the change allowed.
    std::function<bool(UpDownDirection direction)> OnChangingEx;
};

// A list box: single selection, unsorted.
struct ListBoxSpec : ControlSpec {
    int itemHeight = 13;
};

class ListBox : public Control {
public:
    virtual int Count() const = 0;
    virtual std::string Item(int index) const = 0;
    virtual void AddItem(const std::string& text) = 0;      // at the end
    virtual void DeleteItem(int index) = 0;                 // out of range: nothing
    virtual void Clear() = 0;
    virtual int SelectedIndex() const = 0;                  // -1 = none
    virtual void SetSelectedIndex(int index) = 0;           // -1 clears the selection
    virtual int ItemHeight() const = 0;
};

struct ListColumn {
    std::string caption;
    int width = 50;  // pixels; 50 is the column's default width
};

struct ListViewSpec : ControlSpec {
    std::vector<ListColumn> columns;  // report style, read-only, whole-row selection
    bool infoTips = false;            // rows show OnGetInfoTip's text while the mouse rests on them
    // Several rows may be selected (Ctrl and Shift with a click, SelectAll); otherwise one at
    // most.
    bool multiSelect = false;
};

// Which way a column's header arrow points: Up over rows sorted ascending, Down descending.
enum class SortArrow { None, Up, Down };

// A report-style list view. Row 0 is the top row. Each row may own a data object, destroyed when
// the row is deleted (DeleteRow, Clear, or the window's end) and not before.
class ListView : public Control {
public:
    virtual int ColumnCount() const = 0;
    virtual ListColumn Column(int index) const = 0;

    virtual int RowCount() const = 0;
    // Appends a row; returns its index.
    virtual int AddRow(const std::string& caption, std::shared_ptr<void> data = nullptr) = 0;
    virtual void DeleteRow(int row) = 0;                    // out of range: nothing
    virtual void Clear() = 0;
    virtual std::string RowCaption(int row) const = 0;
    virtual std::shared_ptr<void> RowData(int row) const = 0;  // null when none or out of range
    // Sub-items are numbered from 0 (the first column after the caption).
    virtual int SubItemCount(int row) const = 0;
    virtual void AddSubItem(int row, const std::string& text) = 0;
    virtual void SetSubItem(int row, int subItem, const std::string& text) = 0;  // existing only
    virtual std::string SubItem(int row, int subItem) const = 0;  // "" when missing

    // The selected row the commands on one row act on: the focused row when it is selected,
    // else the first selected one; -1 = none.
    virtual int SelectedRow() const = 0;
    // Selects that row alone and focuses it; -1 clears the selection.
    virtual void SetSelectedRow(int row) = 0;
    // Every selected row, top to bottom.
    virtual std::vector<int> SelectedRows() const = 0;
    // With ListViewSpec::multiSelect, selects every row, the focus staying where it was;
    // without it, nothing.
    virtual void SelectAll() = 0;
    // The row under a point in the list's client coordinates, any column; -1 = none.
    virtual int HitTest(int x, int y) const = 0;
    // Where a menu opened at a row from the keyboard goes: the screen point of the row's left
    // edge, half way down it (the list's top-left corner for a row out of range).
    virtual Point RowScreenPoint(int row) const = 0;
    // Asks for a repaint, so that OnCustomDrawItem is asked again for every visible row.
    virtual void Redraw() = 0;

    // A mouse button pressed over the list (client coordinates). A press on a row selects it
    // first, with either button (a right press on a row already among several selected keeps
    // them, and Ctrl with a left press adds or takes away one row, in a list of multiSelect);
    // a left or right press on no row clears the selection, as the list view control does.
    std::function<void(MouseButton button, int x, int y)> OnMouseDown;
    // The context menu is asked for (after a right press, or the menu key), at the screen
    // position of the mouse pointer; runs after OnMouseDown.
    std::function<void(Point screen)> OnContextMenu;
    // Before each row is drawn: the colour of the row's text, all columns. Unset: black.
    std::function<Colour(int row)> OnCustomDrawItem;
    // With ListViewSpec::infoTips, each time the mouse comes to rest on a row: the text of its
    // tip, lines joined by CR LF (the list view's info tip). Unset or empty: no tip.
    std::function<std::string(int row)> OnGetInfoTip;

    // --- Column headers: clicks, the sort arrow, widths; the full text of cut cells ----------
    // Column(i).width is the width the user left the column at; this sets it (at least 0; a
    // column out of range: nothing).
    virtual void SetColumnWidth(int column, int width) = 0;
    // The system's sort arrow in a column's header (HDF_SORTUP, HDF_SORTDOWN); the list itself
    // sorts nothing. A column out of range: nothing, and None.
    virtual void SetSortArrow(int column, SortArrow arrow) = 0;
    virtual SortArrow SortArrowOf(int column) const = 0;
    // A click on a column's header (LVN_COLUMNCLICK); column 0 is the caption's.
    std::function<void(int column)> OnColumnClick;
    // With ListViewSpec::infoTips, a row's tip is OnGetInfoTip's lines, then the full text of
    // each of its cells that its column is too narrow to show (column order, one line each); a
    // row whose cells all fit shows OnGetInfoTip's text alone.
};

// --- The keyboard ------------------------------------------------------------------------
// Virtual-key codes (VK_*) of the keys the program binds; letters are their capitals.
constexpr std::uint32_t kKeyTab = 0x09;
constexpr std::uint32_t kKeyReturn = 0x0D;
constexpr std::uint32_t kKeyEscape = 0x1B;
constexpr std::uint32_t kKeyApps = 0x5D;  // the context menu key
constexpr std::uint32_t kKeyF5 = 0x74;
constexpr std::uint32_t kKeyF10 = 0x79;
constexpr std::uint32_t kKeyA = 'A';
constexpr std::uint32_t kKeyC = 'C';
constexpr std::uint32_t kKeyF = 'F';
constexpr std::uint32_t kKeyS = 'S';

// A key pressed (WM_KEYDOWN, or WM_SYSKEYDOWN with Alt or for F10) with the modifiers held.
struct KeyStroke {
    std::uint32_t key = 0;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
    bool operator==(const KeyStroke&) const = default;
};

// Whether a stroke is the key with exactly these modifiers.
constexpr bool IsKey(const KeyStroke& stroke, std::uint32_t key, bool ctrl = false,
                     bool shift = false, bool alt = false) {
    return stroke == KeyStroke{key, ctrl, shift, alt};
}

// A button's or check box's caption marks its access key with "&" before the letter: the
// letter is drawn underlined and Alt+letter clicks the control; "&&" is a plain "&". The
// caption as the user reads it, the marks dropped.
inline std::string CaptionAsShown(const std::string& caption) {
    std::string shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        shown += caption[i];
    }
    return shown;
}

// A horizontal bevel line.
class Bevel : public Control {};

// The largest period a window timer takes (USER_TIMER_MAXIMUM), in milliseconds.
constexpr std::uint32_t kLongestTimerPeriod = 0x7FFFFFFF;

// A timer owned by a window; its ticks arrive through the message loop. Interval 0 never ticks.
class Timer {
public:
    virtual ~Timer() = default;
    virtual const std::string& Name() const = 0;
    virtual std::uint32_t Interval() const = 0;            // milliseconds; 1000 at creation
    virtual void SetInterval(std::uint32_t milliseconds) = 0;  // restarts a running timer
    virtual bool Enabled() const = 0;                      // false at creation
    virtual void SetEnabled(bool enabled) = 0;
    std::function<void()> OnTimer;
};

enum class WindowFrame {
    Sizeable,           // normal frame with minimise and maximise buttons
    SizeableToolWindow, // thin caption, no taskbar entry of its own
    FixedToolWindow     // thin caption, no resizing
};

struct WindowSpec {
    std::string name;              // "frmMain", "frmTrust", "frmOp"
    std::string caption;
    WindowFrame frame = WindowFrame::Sizeable;
    bool alwaysOnTop = false;
    bool centred = true;           // centred on the screen when first shown
    // Size: the outer size, or (when clientWidth > 0) the client area's.
    int outerWidth = 0;
    int outerHeight = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    // The application's main window: closing it ends the program, minimising it minimises the
    // application, and message boxes are owned by it. Exactly one window is the main window.
    bool mainWindow = false;
};

// Whether a close may go on. Set it to false in OnClose to refuse the close.
struct CloseRequest {
    bool allow = true;
};

class Window {
public:
    virtual ~Window() = default;
    virtual const std::string& Name() const = 0;
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& caption) = 0;

    // Created hidden. Show runs OnShow (and OnResize at the first show); showing a shown window
    // only brings it forward.
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool Visible() const = 0;
    // As the close button: OnClose decides; an allowed close hides the window, and for the main
    // window ends the message loop (Ui::Terminate).
    virtual void Close() = 0;
    virtual void BringToFront() = 0;       // SetForegroundWindow

    // Outer (frame included) size. Every change of the outer size runs OnResize, whether the
    // window is shown or not.
    virtual int OuterWidth() const = 0;
    virtual int OuterHeight() const = 0;
    virtual void SetOuterWidth(int width) = 0;
    virtual void SetOuterHeight(int height) = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    virtual Point Position() const = 0;    // outer top-left on the screen
    virtual bool Maximised() const = 0;    // IsZoomed
    virtual void SetMaximised(bool maximised) = 0;

    virtual Label& AddLabel(const ControlSpec& desc) = 0;
    virtual Button& AddButton(const ButtonSpec& desc) = 0;
    virtual CheckBox& AddCheckBox(const ControlSpec& desc) = 0;
    virtual GroupBox& AddGroupBox(const ControlSpec& desc) = 0;
    virtual Edit& AddEdit(const ControlSpec& desc) = 0;
    virtual UpDown& AddUpDown(const UpDownSpec& desc) = 0;
    virtual ListBox& AddListBox(const ListBoxSpec& desc) = 0;
    virtual ListView& AddListView(const ListViewSpec& desc) = 0;
    virtual Bevel& AddBevel(const ControlSpec& desc) = 0;
    virtual Timer& AddTimer(const std::string& name) = 0;
    // Tab order is the order the focusable controls were added in.

    // nullptr when no control has that name.
    virtual Control* FindControl(const std::string& name) const = 0;
    virtual Timer* FindTimer(const std::string& name) const = 0;

    // Window messages. Post queues one for the message loop; Send delivers it at once.
    virtual void Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    virtual void Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // The system's own handle (HWND in the Windows build) for services that need an owner.
    virtual void* NativeHandle() const = 0;

    std::function<void()> OnShow;
    std::function<void(CloseRequest& request)> OnClose;
    std::function<void()> OnResize;
    std::function<void(int x, int y)> OnMouseMove;  // over the window itself, not its controls

    // A key pressed anywhere in the window, before the focused control (or the window's own
    // dialog keys: Tab, Enter, access keys) sees it. True: handled, and nobody else sees it.
    // Keys pressed while a menu or dialog runs its own loop do not come here.
    std::function<bool(const KeyStroke& stroke)> OnKeyDown;
    // The control that has the keyboard focus, when it is one of this window's; else nullptr.
    virtual Control* FocusedControl() const = 0;
    // Gives the control the focus (SetFocus); a disabled or hidden control does not take it.
    virtual void FocusControl(Control& control) = 0;

    // Every message the window receives reaches each listener, in the order they were added,
    // before the window's own handling, which always follows: messages Posted or Sent to it,
    // the tray icon's callback message, WM_ENDSESSION (22), registered messages such as
    // "TaskbarCreated". The Windows build passes all messages. Each listener runs as an event
    // of its own, and hears until the token is destroyed or reset.
    virtual ListenerToken AddMessageListener(MessageListener listener) = 0;
};

}  // namespace platform

#pragma once
// The simulated windowing services' inner classes: the window and the services object that
// keeps the windows, the message queue, the timers and the records.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/ui/SimUi.h"
#include "platform/sim/ui/SimWidgets.h"
#include "platform/shared/FireEvent.h"
#include "platform/shared/WindowBase.h"
#include "platform/shared/WindowTable.h"

namespace platform::sim {

class SimWindow : public shared::WindowBase {
public:
    SimWindow(SimUiImpl& ui, const WindowSpec& desc);
    ~SimWindow() override;

    std::string Caption() const override { return caption_; }
    void SetCaption(const std::string& caption) override { caption_ = caption; }
    void Show() override;
    void Hide() override { visible_ = false; }
    bool Visible() const override { return visible_; }
    void BringToFront() override;

    int OuterWidth() const override { return width_; }
    int OuterHeight() const override { return height_; }
    void SetOuterWidth(int width) override { Resize(width, height_); }
    void SetOuterHeight(int height) override { Resize(width_, height); }
    int ClientWidth() const override;
    int ClientHeight() const override;
    Point Position() const override { return position_; }
    bool Maximised() const override { return maximised_; }
    void SetMaximised(bool maximised) override;

    void Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void* NativeHandle() const override { return const_cast<SimWindow*>(this); }
    Ui* Services() const override;
    // The screen point of the client area's top-left corner.
    Point ClientOrigin() const;
    Control* FocusedControl() const override { return focused_; }
    void FocusControl(Control& control) override;

    // The controls Tab visits, in tab order: the focusable ones that can take the focus now.
    std::vector<Control*> TabStops() const;
    // The reachable button or check box whose caption marks letter (upper case) with "&".
    Control* AccessKeyTarget(char letter) const;

    // The size the window is resized to by code or by the user; runs OnResize on a change.
    void Resize(int width, int height);
    void Detach() { ui_ = nullptr; }

protected:
    std::unique_ptr<Label> NewLabel(const ControlSpec& d) override { return Make<SimLabel>(d); }
    std::unique_ptr<Button> NewButton(const ButtonSpec& d) override { return Make<SimButton>(d); }
    std::unique_ptr<CheckBox> NewCheckBox(const ControlSpec& d) override {
        return Make<SimCheckBox>(d);
    }
    std::unique_ptr<GroupBox> NewGroupBox(const ControlSpec& d) override {
        return Make<SimGroupBox>(d);
    }
    std::unique_ptr<Edit> NewEdit(const ControlSpec& d) override {
        return std::make_unique<SimEdit>(d, *this);
    }
    std::unique_ptr<UpDown> NewUpDown(const UpDownSpec& d) override { return Make<SimUpDown>(d); }
    std::unique_ptr<ListBox> NewListBox(const ListBoxSpec& d) override {
        return Make<SimListBox>(d);
    }
    std::unique_ptr<ListView> NewListView(const ListViewSpec& d) override {
        return std::make_unique<SimListView>(d, *this);
    }
    std::unique_ptr<Bevel> NewBevel(const ControlSpec& d) override { return Make<SimBevel>(d); }
    std::unique_ptr<Timer> NewTimer(const std::string& name) override;

private:
    template <class T, class SpecT>
    static std::unique_ptr<T> Make(const SpecT& desc) {
        return std::make_unique<T>(desc);
    }

    SimUiImpl* ui_;
    std::string caption_;
    bool visible_ = false;
    bool shownBefore_ = false;
    int width_ = 0;
    int height_ = 0;
    Point position_;
    bool maximised_ = false;
    Control* focused_ = nullptr;
    int restoredWidth_ = 0;
    int restoredHeight_ = 0;
};

class SimUiImpl : public SimUi {
public:
    explicit SimUiImpl(SimSystem& system) : system_(system) {}
    ~SimUiImpl() override;

    // Ui
    std::unique_ptr<Window> NewWindow(const WindowSpec& desc) override;
    Window* MainWindow() const override { return windows_.Main(); }
    std::string ApplicationTitle() const override;
    void SetApplicationTitle(const std::string& title) override { title_ = title; }
    void MinimiseApplication() override;
    void RestoreApplication() override;
    bool ApplicationMinimised() const override { return minimised_; }
    void ShowTaskbarButton(bool shown) override { taskbarShown_ = shown; }
    bool TaskbarButtonShown() const override { return taskbarShown_; }
    void BringApplicationToFront() override;
    void Run() override;
    void ProcessMessages() override;
    void Terminate() override { terminated_ = true; }
    bool Terminated() const override { return terminated_; }
    std::vector<std::string> CommandLineArgs() const override { return args_; }
    Point CursorPosition() const override { return cursor_; }
    std::uint32_t RegisterMessage(const std::string& name) override;
    void ShowMessageBox(Window* owner, const std::string& text, const std::string& title,
                        MessageIcon icon) override;
    std::optional<std::string> ChooseOpenFile(const OpenFileRequest& request) override;
    std::optional<SaveFileChoice> ChooseSaveFile(const SaveFileRequest& request) override;
    std::uint32_t RunPopupMenu(Window& owner, const std::vector<MenuEntry>& entries,
                               Point screen) override;
    std::unique_ptr<NativeMenu> NewNativeMenu() override;  // SimNativeMenu.cpp
    bool CopyToClipboard(Window* owner, const std::string& text) override;
    std::string ClipboardText() override { return clipboard_; }

    // SimUi
    std::vector<Window*> Windows() const override;
    Window* WindowNamed(const std::string& name) const override;
    void Click(Control& control) override;
    void TypeChar(Edit& edit, char key) override;
    void PasteText(Edit& edit, const std::string& text) override;
    void SetClipboardText(const std::string& text) override { clipboard_ = text; }
    void HoldClipboard(bool held) override { clipboardHeld_ = held; }
    void ClickArrow(UpDown& upDown, bool up) override;
    void SelectItem(ListBox& list, int index) override;
    void PressKey(Window& window, const KeyStroke& stroke) override;
    const std::vector<KeyRecord>& KeysToControls() const override { return keys_; }
    void PressMouse(ListView& list, MouseButton button, int x, int y, bool ctrl) override;
    void ClickHeader(ListView& list, int column) override;
    std::vector<Colour> DrawRows(ListView& list) override;
    void MoveMouse(Label& label, int x, int y) override;
    void MoveMouseOverWindow(Window& window, int x, int y) override;
    void SetCursorPosition(Point screen) override { cursor_ = screen; }
    void UserResize(Window& window, int outerWidth, int outerHeight) override;
    void UserClose(Window& window) override;
    void UserMinimise() override;
    void SetCommandLineArgs(std::vector<std::string> args) override { args_ = std::move(args); }
    void AdvanceTime(std::uint32_t milliseconds) override;
    std::uint64_t Now() const override { return now_; }
    void QueueMenuChoice(std::uint32_t id, std::function<void()> whileOpen) override;
    const std::vector<MenuRecord>& Menus() const override { return menus_; }
    void QueueOpenFileResult(std::optional<std::string> path) override;
    const std::vector<OpenFileRecord>& OpenFileDialogs() const override { return openFiles_; }
    void QueueSaveFileResult(std::optional<SaveFileChoice> choice) override;
    const std::vector<SaveFileRecord>& SaveFileDialogs() const override { return saveFiles_; }
    const std::vector<MessageBoxRecord>& MessageBoxes() const override { return boxes_; }
    void ClearRecords() override;
    std::size_t PendingMessages() const override { return queue_.size(); }
    void Broadcast(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    Window* ForegroundWindow() const override { return foreground_; }
    int LiveNativeMenus() const override { return liveNativeMenus_; }
    void SetNativeMenusAvailable(bool available) override { nativeMenusAvailable_ = available; }

    // For the windows and timers.
    void Forget(SimWindow& window);
    void AddTimer(SimTimer& timer) { timers_.push_back(&timer); }
    void Forget(SimTimer& timer);
    void Enqueue(SimWindow& window, std::uint32_t message, std::uintptr_t wParam,
                 std::intptr_t lParam);
    void Deliver(SimWindow& window, std::uint32_t message, std::uintptr_t wParam,
                 std::intptr_t lParam);
    void SetForeground(Window* window) { foreground_ = window; }
    void NativeMenuDestroyed() { --liveNativeMenus_; }

private:
    struct Posted {
        SimWindow* window;
        std::uint32_t message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    struct MenuAnswer {
        std::uint32_t id;
        std::function<void()> whileOpen;
    };
    SimTimer* NextDueTimer(std::uint64_t until) const;
    // What a key nobody handled does: the window's dialog keys, else the focused control's.
    void DefaultKeyAction(SimWindow& window, const KeyStroke& stroke);
    std::string OwnerName(Window* owner) const;

    SimSystem& system_;
    shared::WindowTable<SimWindow> windows_;
    Window* foreground_ = nullptr;
    std::deque<Posted> queue_;
    std::vector<SimTimer*> timers_;
    std::uint64_t now_ = 0;
    std::optional<std::string> title_;
    bool minimised_ = false;
    bool taskbarShown_ = true;
    bool terminated_ = false;
    std::vector<std::string> args_;
    Point cursor_;
    std::string clipboard_;
    bool clipboardHeld_ = false;
    std::map<std::string, std::uint32_t> registered_;
    std::deque<MenuAnswer> menuAnswers_;
    std::deque<std::optional<std::string>> openFileAnswers_;
    std::vector<MenuRecord> menus_;
    std::vector<OpenFileRecord> openFiles_;
    std::deque<std::optional<SaveFileChoice>> saveFileAnswers_;
    std::vector<SaveFileRecord> saveFiles_;
    std::vector<MessageBoxRecord> boxes_;
    std::vector<KeyRecord> keys_;
    int liveNativeMenus_ = 0;
    bool nativeMenusAvailable_ = true;
};

using shared::Fire;

}  // namespace platform::sim

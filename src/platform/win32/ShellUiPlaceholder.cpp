// Stand-ins until the windowing and shell services are built: nothing is shown, no window is
// made, every request answers as if the user cancelled or the shell refused.
#include "platform/win32/ShellUiFactory.h"

namespace platform::win32 {
namespace {

class PlaceholderShell : public Shell {
public:
    std::intptr_t Execute(const ShellExecuteRequest&) override { return 0; }
    bool NotifyIcon(NotifyAction, const NotifyIconData&) override { return false; }
};

class PlaceholderUi : public Ui {
public:
    std::unique_ptr<Window> NewWindow(const WindowSpec&) override { return nullptr; }
    Window* MainWindow() const override { return nullptr; }
    std::string ApplicationTitle() const override { return title_; }
    void SetApplicationTitle(const std::string& title) override { title_ = title; }
    void MinimiseApplication() override {}
    void RestoreApplication() override {}
    bool ApplicationMinimised() const override { return false; }
    void ShowTaskbarButton(bool) override {}
    bool TaskbarButtonShown() const override { return false; }
    void BringApplicationToFront() override {}
    void Run() override {}
    void ProcessMessages() override {}
    void Terminate() override { terminated_ = true; }
    bool Terminated() const override { return terminated_; }
    std::vector<std::string> CommandLineArgs() const override { return {}; }
    Point CursorPosition() const override { return Point{}; }
    std::uint32_t RegisterMessage(const std::string&) override { return 0; }
    void ShowMessageBox(Window*, const std::string&, const std::string&, MessageIcon) override {}
    std::optional<std::string> ChooseOpenFile(const OpenFileRequest&) override {
        return std::nullopt;
    }
    std::uint32_t RunPopupMenu(Window&, const std::vector<MenuEntry>&, Point) override {
        return 0;
    }

private:
    std::string title_;
    bool terminated_ = false;
};

}  // namespace

std::unique_ptr<Shell> CreateWin32Shell() { return std::make_unique<PlaceholderShell>(); }
std::unique_ptr<Ui> CreateWin32Ui() { return std::make_unique<PlaceholderUi>(); }

}  // namespace platform::win32

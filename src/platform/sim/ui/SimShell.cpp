// The simulated shell: records what is opened and keeps the one notification icon.
#include "platform/Widgets.h"
#include "platform/shared/NotifyTrayIcon.h"
#include "platform/sim/system/SimServices.h"
#include "platform/sim/ui/SimShellNamespace.h"
#include "platform/sim/ui/SimUi.h"

namespace platform::sim {

namespace {

class SimShellImpl : public SimShell {
public:
    explicit SimShellImpl(SimSystem& system)
        : system_(system), namespace_(MakeSimShellNamespace(system)) {}

    std::intptr_t Execute(const ShellExecuteRequest& request) override {
        executions_.push_back(request);
        return executeResult_;
    }

    bool NotifyIcon(NotifyAction action, const NotifyIconData& data) override {
        notifyCalls_.push_back(NotifyRecord{action, data});
        if (!available_) return false;
        switch (action) {
            case NotifyAction::Add:
                if (icon_) return false;
                icon_ = data;
                return true;
            case NotifyAction::Modify:
                if (!SameIcon(data)) return false;
                Merge(data);
                return true;
            case NotifyAction::Delete:
                if (!SameIcon(data)) return false;
                icon_.reset();
                return true;
        }
        return false;
    }

    std::unique_ptr<TrayIcon> NewTrayIcon(Window& window, const std::string& tip) override {
        return std::make_unique<NotifyTrayIcon>(*this, window, tip,
                                                GuiOf(system_).RegisterMessage(kTaskbarCreatedName));
    }

    ShellNamespace& Namespace() override { return *namespace_; }

    const std::vector<ShellExecuteRequest>& Executions() const override { return executions_; }
    void SetExecuteResult(std::intptr_t result) override { executeResult_ = result; }
    const std::vector<NotifyRecord>& NotifyCalls() const override { return notifyCalls_; }
    std::optional<NotifyIconData> CurrentIcon() const override { return icon_; }
    void SetNotifyAvailable(bool available) override { available_ = available; }

    void PostTrayEvent(std::intptr_t event) override {
        if (!icon_ || !icon_->window || icon_->callbackMessage == 0) return;
        icon_->window->Post(icon_->callbackMessage, icon_->id, event);
    }

    void RestartTaskbar() override {
        icon_.reset();
        SimUi& ui = GuiOf(system_);
        ui.Broadcast(ui.RegisterMessage(kTaskbarCreatedName), 0, 0);
    }

private:
    // The shell names an icon by its window and id.
    bool SameIcon(const NotifyIconData& data) const {
        return icon_ && icon_->window == data.window && icon_->id == data.id;
    }

    void Merge(const NotifyIconData& data) {
        if (data.flags & kNotifyMessage) icon_->callbackMessage = data.callbackMessage;
        if (data.flags & kNotifyIcon) icon_->icon = data.icon;
        if (data.flags & kNotifyTip) icon_->tip = data.tip;
        if (data.flags & kNotifyInfo) {
            icon_->infoText = data.infoText;
            icon_->infoTitle = data.infoTitle;
            icon_->timeout = data.timeout;
            icon_->infoFlags = data.infoFlags;
        }
        icon_->flags |= data.flags;
    }

    SimSystem& system_;
    std::vector<ShellExecuteRequest> executions_;
    std::intptr_t executeResult_ = 42;
    std::vector<NotifyRecord> notifyCalls_;
    std::optional<NotifyIconData> icon_;
    bool available_ = true;
    std::unique_ptr<SimShellNamespace> namespace_;
};

}  // namespace

std::unique_ptr<Shell> MakeSimShell(SimSystem& system) {
    return std::make_unique<SimShellImpl>(system);
}

SimShell& ShellOf(SimSystem& system) { return static_cast<SimShell&>(system.shell()); }

}  // namespace platform::sim

#pragma once
// What every window has, whichever platform draws it: its description, the tables of its
// controls and timers with their checks, and the close that lets OnClose decide. The simulated
// and the Windows window derive from it and add only the platform's calls, so the two cannot
// tell a name, a group box or a close apart differently.
#include <memory>
#include <string>
#include <vector>

#include "platform/Ui.h"
#include "platform/shared/MessageListeners.h"

namespace platform::shared {

class WindowBase : public Window {
public:
    explicit WindowBase(const WindowSpec& desc) : spec_(desc) {}
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    const std::string& Name() const final { return spec_.name; }
    void Close() final;

    Label& AddLabel(const ControlSpec& desc) final { return Add(desc, &WindowBase::NewLabel); }
    Button& AddButton(const ButtonSpec& desc) final { return Add(desc, &WindowBase::NewButton); }
    CheckBox& AddCheckBox(const ControlSpec& desc) final {
        return Add(desc, &WindowBase::NewCheckBox);
    }
    GroupBox& AddGroupBox(const ControlSpec& desc) final {
        return Add(desc, &WindowBase::NewGroupBox);
    }
    Edit& AddEdit(const ControlSpec& desc) final { return Add(desc, &WindowBase::NewEdit); }
    UpDown& AddUpDown(const UpDownSpec& desc) final { return Add(desc, &WindowBase::NewUpDown); }
    ListBox& AddListBox(const ListBoxSpec& desc) final {
        return Add(desc, &WindowBase::NewListBox);
    }
    ListView& AddListView(const ListViewSpec& desc) final {
        return Add(desc, &WindowBase::NewListView);
    }
    Bevel& AddBevel(const ControlSpec& desc) final { return Add(desc, &WindowBase::NewBevel); }
    Timer& AddTimer(const std::string& name) final;
    Control* FindControl(const std::string& name) const final;
    Timer* FindTimer(const std::string& name) const final;
    ListenerToken AddMessageListener(MessageListener listener) final {
        return messageListeners_.Add(std::move(listener));
    }
    // Hands each message listener on now to fire, the platform's way of running a handler.
    template <class FireOne>
    void DeliverMessage(FireOne&& fire) const {
        messageListeners_.Deliver(fire);
    }

    bool IsMain() const { return spec_.mainWindow; }
    const WindowSpec& Description() const { return spec_; }
    // The windowing services, or nullptr once they are gone.
    virtual Ui* Services() const = 0;

protected:
    // The platform's control of each kind for this window, asked for only once the name and
    // the group box have passed the checks (a Windows control is a child window from birth).
    virtual std::unique_ptr<Label> NewLabel(const ControlSpec& desc) = 0;
    virtual std::unique_ptr<Button> NewButton(const ButtonSpec& desc) = 0;
    virtual std::unique_ptr<CheckBox> NewCheckBox(const ControlSpec& desc) = 0;
    virtual std::unique_ptr<GroupBox> NewGroupBox(const ControlSpec& desc) = 0;
    virtual std::unique_ptr<Edit> NewEdit(const ControlSpec& desc) = 0;
    virtual std::unique_ptr<UpDown> NewUpDown(const UpDownSpec& desc) = 0;
    virtual std::unique_ptr<ListBox> NewListBox(const ListBoxSpec& desc) = 0;
    virtual std::unique_ptr<ListView> NewListView(const ListViewSpec& desc) = 0;
    virtual std::unique_ptr<Bevel> NewBevel(const ControlSpec& desc) = 0;
    virtual std::unique_ptr<Timer> NewTimer(const std::string& name) = 0;

    // In the order they were added.
    const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
    const std::vector<std::unique_ptr<Timer>>& Timers() const { return timers_; }
    // The first step of a window's end: the timers stop while the window and its services
    // still exist. The controls live on until this base goes, after the platform's window.
    void DropTimers() { timers_.clear(); }
    // No listener hears this window from now on.
    void DropMessageListeners() { messageListeners_.Clear(); }

private:
    // Throws std::logic_error for an empty or taken name, or a group box of another window.
    void CheckNewControl(const ControlSpec& desc) const;

    template <class T, class SpecT>
    T& Add(const SpecT& desc, std::unique_ptr<T> (WindowBase::*make)(const SpecT&)) {
        CheckNewControl(desc);
        // Room first: a control once made is never dropped unkept.
        controls_.reserve(controls_.size() + 1);
        std::unique_ptr<T> control = (this->*make)(desc);
        T& made = *control;
        controls_.push_back(std::move(control));
        return made;
    }

    WindowSpec spec_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::unique_ptr<Timer>> timers_;
    MessageListeners messageListeners_;
};

}  // namespace platform::shared

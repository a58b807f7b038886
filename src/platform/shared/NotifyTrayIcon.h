#pragma once
// The tray icon over the notification-area protocol, the same for both implementations of the
// platform: the record kept between calls, the icon's codes turned into events, and the icon
// put back when the shell announces that it started anew.
#include <string>

#include "platform/Tray.h"
#include "platform/Widgets.h"
#include "platform/shared/NotifyIconProtocol.h"

namespace platform {

class NotifyTrayIcon : public TrayIcon {
public:
    // taskbarCreated: the number the system gives the message kTaskbarCreatedName.
    NotifyTrayIcon(NotifyArea& area, Window& window, const std::string& tip,
                   std::uint32_t taskbarCreated)
        : area_(area), window_(window), taskbarCreated_(taskbarCreated) {
        record_.window = &window;
        record_.tip = tip.substr(0, kTrayTipLimit);
        messages_ = window.AddMessageListener(
            [this](std::uint32_t message, std::uintptr_t, std::intptr_t lParam) {
                Receive(message, lParam);
            });
    }
    NotifyTrayIcon(const NotifyTrayIcon&) = delete;
    NotifyTrayIcon& operator=(const NotifyTrayIcon&) = delete;
    ~NotifyTrayIcon() override {
        messages_.Reset();
        Remove();
    }

    bool Add() override {
        record_.id = 0;
        record_.flags = kNotifyMessage | kNotifyIcon | kNotifyTip;
        record_.callbackMessage = kTrayCallbackMessage;
        record_.icon = TrayIconImage::Application;
        // Wanted from now on, taken or not: a shell that starts later gets it.
        added_ = true;
        return area_.NotifyIcon(NotifyAction::Add, record_);
    }

    void Remove() override {
        if (!added_) return;
        added_ = false;
        area_.NotifyIcon(NotifyAction::Delete, record_);
    }

    bool Added() const override { return added_; }

    bool ShowBalloon(const std::string& title, const std::string& text,
                     std::uint32_t timeoutMs) override {
        record_.flags = kNotifyInfo;
        record_.callbackMessage = kTrayCallbackMessage;
        record_.timeout = timeoutMs;
        record_.infoFlags = kBalloonInfoIcon;
        record_.infoText = text.substr(0, kBalloonTextLimit);
        record_.infoTitle = title.substr(0, kBalloonTitleLimit);
        return area_.NotifyIcon(NotifyAction::Modify, record_);
    }

    void PostEvent(TrayEvent event) override {
        window_.Post(kTrayCallbackMessage, record_.id, CodeOf(event));
    }

private:
    static std::intptr_t CodeOf(TrayEvent event) {
        switch (event) {
            case TrayEvent::DoubleClick: return kTrayDoubleClick;
            case TrayEvent::ContextMenu: return kTrayRightButtonUp;
            case TrayEvent::BalloonClicked: return kTrayBalloonClick;
            case TrayEvent::BalloonTimedOut: return kTrayBalloonTimeout;
        }
        return 0;
    }

    void Receive(std::uint32_t message, std::intptr_t lParam) {
        if (taskbarCreated_ != 0 && message == taskbarCreated_) {
            if (added_) Add();
            return;
        }
        if (message != kTrayCallbackMessage || !OnEvent) return;
        switch (lParam) {
            case kTrayDoubleClick: OnEvent(TrayEvent::DoubleClick); break;
            case kTrayRightButtonUp: OnEvent(TrayEvent::ContextMenu); break;
            case kTrayBalloonClick: OnEvent(TrayEvent::BalloonClicked); break;
            case kTrayBalloonTimeout: OnEvent(TrayEvent::BalloonTimedOut); break;
            default: break;  // the mouse's other moves over the icon
        }
    }

    NotifyArea& area_;
    Window& window_;
    const std::uint32_t taskbarCreated_;
    NotifyIconData record_;
    bool added_ = false;
    ListenerToken messages_;
};

}  // namespace platform

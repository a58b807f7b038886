#pragma once
// Windowing services: windows, controls, menus, timers, message boxes, the open-file dialog.
namespace platform {

class Ui {
public:
    virtual ~Ui() = default;
};

}  // namespace platform

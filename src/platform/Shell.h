#pragma once
// Shell services: opening files, folders and programs; the notification-area icon; a file's
// shell context menu. Filled in with the windowing services.
namespace platform {

class Shell {
public:
    virtual ~Shell() = default;
};

}  // namespace platform

#include "platform/win32/watch/PlaceNotification.h"

#include <optional>
#include <string>

#include "platform/shared/WatchedPlacePaths.h"
#include "platform/win32/system/Wow64FsRedirection.h"

namespace platform::win32 {

namespace {

constexpr DWORD kKeyChanges = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;
constexpr DWORD kFolderChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                 FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

HKEY RootHandle(RootKey root) {
    switch (root) {
        case RootKey::ClassesRoot: return HKEY_CLASSES_ROOT;
        case RootKey::CurrentUser: return HKEY_CURRENT_USER;
        case RootKey::LocalMachine: return HKEY_LOCAL_MACHINE;
        case RootKey::None: break;
    }
    return nullptr;
}

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

PlaceNotification::PlaceNotification(WatchedPlace place)
    : place_(std::move(place)), keyChanged_(::CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

bool PlaceNotification::Arm() {
    return place_.kind == WatchedKind::RegistryKey ? ArmKey() : ArmFolder();
}

HANDLE PlaceNotification::WaitHandle() const {
    if (place_.kind == WatchedKind::RegistryKey) return keyArmed_ ? keyChanged_.get() : nullptr;
    return folder_ ? folder_.get() : nullptr;
}

bool PlaceNotification::ArmKey() {
    keyArmed_ = false;
    key_.Reset();
    HKEY root = RootHandle(place_.root);
    if (!root || !keyChanged_) return false;
    std::optional<std::string> path = place_.path;
    if (!path->empty() && (*path)[0] == '\\') path->erase(0, 1);
    bool subtree = place_.subtree;
    // A missing key is watched through its parent's whole subtree, so that every key made on
    // the way down to it is seen. Refused access ends the walk: a parent is not the place.
    for (; path; path = shared::ParentKeyPath(*path), subtree = true) {
        HKEY key = nullptr;
        const LONG opened = ::RegOpenKeyExA(root, path->c_str(), 0, KEY_NOTIFY | KEY_WOW64_64KEY, &key);
        if (opened == ERROR_SUCCESS) {
            // For an empty path the predefined root itself may come back: the owner leaves it
            // open, and it is watched as it is.
            key_.Reset(key);
            keyArmed_ = ::RegNotifyChangeKeyValue(key, subtree, kKeyChanges, keyChanged_.get(),
                                                  TRUE) == ERROR_SUCCESS;
            return keyArmed_;
        }
        if (!IsMissing(static_cast<DWORD>(opened))) return false;
    }
    return false;
}

bool PlaceNotification::ArmFolder() {
    folder_.Reset();
    Wow64FsRedirectionOff redirectionOff;
    std::optional<std::string> path = shared::FolderWithoutTrailingSeparator(place_.path);
    bool subtree = place_.subtree;
    // A missing folder is watched through its parent folder itself: a notification on a
    // folder far above reaches too few systems (Wine fires it for the folder's own entries
    // only), and each folder made on the way down fires the parent and moves the watch down.
    for (; path; path = shared::ParentFolder(*path), subtree = false) {
        const DWORD attributes = ::GetFileAttributesA(path->c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            if (!IsMissing(::GetLastError())) return false;
            continue;
        }
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;  // a file: watch its folder
        folder_.Reset(::FindFirstChangeNotificationA(path->c_str(), subtree, kFolderChanges));
        return static_cast<bool>(folder_);
    }
    return false;
}

}  // namespace platform::win32

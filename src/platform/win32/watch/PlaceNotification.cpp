#include "platform/win32/watch/PlaceNotification.h"

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

KeyNotification::KeyNotification() : changed_(::CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

bool KeyNotification::Arm(HKEY root, const std::string& path, bool subtree, DWORD changes,
                          LONG& error) {
    Disarm();
    error = ERROR_INVALID_HANDLE;
    if (!changed_) return false;
    HKEY key = nullptr;
    error = ::RegOpenKeyExA(root, path.c_str(), 0, KEY_NOTIFY | KEY_WOW64_64KEY, &key);
    if (error != ERROR_SUCCESS) return false;
    // For an empty path the predefined root itself may come back: the owner leaves it open,
    // and it is watched as it is.
    key_.Reset(key);
    error = ::RegNotifyChangeKeyValue(key, subtree, changes, changed_.get(), TRUE);
    armed_ = error == ERROR_SUCCESS;
    return armed_;
}

void KeyNotification::Disarm() {
    armed_ = false;
    // Closing a key whose notification is still asked for sets the event: that is no change.
    key_.Reset();
    if (changed_) ::ResetEvent(changed_.get());
}

PlaceNotification::PlaceNotification(WatchedPlace place) : place_(std::move(place)) {}

bool PlaceNotification::Arm() {
    return place_.kind == WatchedKind::RegistryKey ? ArmKey() : ArmFolder();
}

HANDLE PlaceNotification::PlaceHandle() const {
    if (place_.kind == WatchedKind::RegistryKey) return key_.WaitHandle();
    return folder_ ? folder_.get() : nullptr;
}

HANDLE PlaceNotification::AboveHandle() const {
    if (place_.kind == WatchedKind::RegistryKey) return keyAbove_.WaitHandle();
    return folderAbove_ ? folderAbove_.get() : nullptr;
}

bool PlaceNotification::ArmKey() {
    keyAbove_.Disarm();
    HKEY root = RootHandle(place_.root);
    if (!root) {
        key_.Disarm();
        return false;
    }
    std::optional<std::string> path = place_.path;
    if (!path->empty() && (*path)[0] == '\\') path->erase(0, 1);
    bool subtree = place_.subtree;
    // A missing key is watched through its parent's whole subtree, so that every key made on
    // the way down to it is seen. Refused access ends the walk: a parent is not the place.
    for (; path; path = shared::ParentKeyPath(*path), subtree = true) {
        LONG error = ERROR_SUCCESS;
        if (key_.Arm(root, *path, subtree, kKeyChanges, error)) {
            if (auto above = shared::ParentKeyPath(*path))
                keyAbove_.Arm(root, *above, FALSE, REG_NOTIFY_CHANGE_NAME, error);
            return true;
        }
        if (!IsMissing(static_cast<DWORD>(error))) return false;
    }
    return false;
}

bool PlaceNotification::ArmFolder() {
    folder_.Reset();
    folderAbove_.Reset();
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
        if (!folder_) return false;
        if (auto above = shared::ParentFolder(*path))
            folderAbove_.Reset(
                ::FindFirstChangeNotificationA(above->c_str(), FALSE, FILE_NOTIFY_CHANGE_DIR_NAME));
        return true;
    }
    return false;
}

}  // namespace platform::win32

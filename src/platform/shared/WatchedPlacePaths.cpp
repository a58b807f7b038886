#include "platform/shared/WatchedPlacePaths.h"

#include <set>

namespace platform::shared {

namespace {

constexpr char kTaskFilesFolder[] = "\\System32\\Tasks";
constexpr char kOldTaskFilesFolder[] = "\\Tasks";
constexpr char kTaskIndexKey[] =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Schedule\\TaskCache\\Tree";

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Length of the part no parent can be cut from: "C:\" (3), "\\server\share" or "\\?\C:\".
std::size_t RootLength(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return path.size() >= 3 && IsSeparator(path[2]) ? 3 : 2;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        // \\server\share: the root ends after the second name.
        std::size_t server = path.find_first_of("\\/", 2);
        if (server == std::string::npos) return path.size();
        std::size_t share = path.find_first_of("\\/", server + 1);
        return share == std::string::npos ? path.size() : share;
    }
    return 0;
}

}  // namespace

std::optional<std::string> ParentKeyPath(const std::string& keyPath) {
    std::string path = !keyPath.empty() && keyPath[0] == '\\' ? keyPath.substr(1) : keyPath;
    if (path.empty()) return std::nullopt;
    std::size_t cut = path.rfind('\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string FolderWithoutTrailingSeparator(const std::string& folder) {
    std::string path = folder;
    const std::size_t root = RootLength(path);
    while (path.size() > root && path.size() > 1 && IsSeparator(path.back())) path.pop_back();
    return path;
}

std::optional<std::string> ParentFolder(const std::string& folder) {
    std::string path = FolderWithoutTrailingSeparator(folder);
    const std::size_t root = RootLength(path);
    if (path.size() <= root) return std::nullopt;
    std::size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos || cut + 1 < root) return std::nullopt;
    if (cut < root) return path.substr(0, root);  // "C:\a" gives "C:\"
    return FolderWithoutTrailingSeparator(path.substr(0, cut));
}

std::vector<WatchedPlace> ScheduledTaskPlaces(const std::string& windowsDirectory) {
    const std::string windows = FolderWithoutTrailingSeparator(windowsDirectory);
    return {
        WatchedPlace::Folder(windows + kTaskFilesFolder, /*subtree=*/true),
        WatchedPlace::Folder(windows + kOldTaskFilesFolder),
        WatchedPlace::Key(RootKey::LocalMachine, kTaskIndexKey, /*subtree=*/true),
    };
}

std::vector<PlaceToArm> ExpandPlaces(const std::vector<WatchedPlace>& places,
                                     const std::string& windowsDirectory) {
    std::vector<PlaceToArm> expanded;
    for (std::size_t asked = 0; asked < places.size(); ++asked) {
        if (places[asked].kind == WatchedKind::ScheduledTasks) {
            for (auto& task : ScheduledTaskPlaces(windowsDirectory))
                expanded.push_back({std::move(task), asked});
        } else {
            expanded.push_back({places[asked], asked});
        }
    }
    return expanded;
}

std::size_t CountWatched(const std::vector<PlaceToArm>& toArm, const std::vector<bool>& armed) {
    std::set<std::size_t> watched;
    for (std::size_t i = 0; i < toArm.size() && i < armed.size(); ++i)
        if (armed[i]) watched.insert(toArm[i].asked);
    return watched.size();
}

}  // namespace platform::shared

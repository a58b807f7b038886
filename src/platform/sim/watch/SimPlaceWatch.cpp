#include "platform/sim/watch/SimPlaceWatch.h"

#include <optional>

#include "platform/Files.h"
#include "platform/Widgets.h"
#include "platform/shared/PendingPlaceChanges.h"
#include "platform/shared/WatchedPlacePaths.h"
#include "platform/sim/system/SimText.h"
#include "platform/sim/watch/SimChangeFeed.h"

namespace platform::sim {

namespace {

// Whether path lies below folder (not at it), both spelled as changes name them.
bool IsBelow(const std::string& path, const std::string& folder) {
    if (folder.empty()) return !path.empty();  // below a registry root
    const std::string prefix = folder.back() == '\\' ? folder : folder + '\\';
    return path.size() > prefix.size() && EqualsNoCase(path.substr(0, prefix.size()), prefix);
}

// One place and where it is watched now: itself, or its nearest existing parent.
struct ArmedPlace {
    WatchedPlace place;
    std::string asked;  // the identity of the place asked for, which this one serves
    std::optional<std::string> at;  // none: neither the place nor a parent exists
    bool subtree = false;

    bool Fires(const SimChange& change) const {
        if (!at) return false;
        const bool registry = place.kind == WatchedKind::RegistryKey;
        if (registry != (change.area == SimChange::Area::Registry)) return false;
        if (registry && change.root != place.root) return false;
        if (EqualsNoCase(change.path, *at)) return true;
        // A removal ends the watches on everything below it; other changes below reach only
        // a watch of the subtree.
        return change.removed ? IsBelow(*at, change.path) : subtree && IsBelow(change.path, *at);
    }
};

class SimPlaceWatch : public PlaceWatch {
public:
    SimPlaceWatch(Registry& registry, Files& files, SimChangeFeed& changes,
                  const std::function<void()>& whileWaiting)
        : registry_(registry), files_(files), changes_(changes), whileWaiting_(whileWaiting),
          subscription_(changes.Subscribe([this](const SimChange& c) { Changed(c); })) {}
    ~SimPlaceWatch() override { changes_.Unsubscribe(subscription_); }

    std::size_t Watch(const std::vector<WatchedPlace>& places) override {
        armed_.clear();
        pending_.SetPlaces(places);
        const auto toArm = shared::ExpandPlaces(places, files_.WindowsDirectory());
        std::vector<bool> armed;
        for (const auto& place : toArm) {
            armed_.push_back(ArmedPlace{place.place, shared::PlaceIdentity(places[place.asked]),
                                        std::nullopt, false});
            Arm(armed_.back());
            armed.push_back(armed_.back().at.has_value());
        }
        return shared::CountWatched(toArm, armed);
    }

    PlaceChanges WaitForChange(std::uint32_t timeoutMs) override {
        if (!pending_.Pending() && timeoutMs > 0 && whileWaiting_) whileWaiting_();
        return pending_.Take();
    }

    // Nothing waits here: WaitForChange never blocks.
    void Wake() override {}

    void NotifyWindow(Window* window, std::uint32_t message) override {
        window_ = window;
        message_ = message;
        if (pending_.Pending() && window_) window_->Post(message_, 0, 0);
    }

private:
    void Arm(ArmedPlace& armed) {
        const WatchedPlace& place = armed.place;
        std::optional<std::string> path = place.kind == WatchedKind::RegistryKey
                                               ? place.path
                                               : shared::FolderWithoutTrailingSeparator(place.path);
        if (place.kind == WatchedKind::RegistryKey && !path->empty() && (*path)[0] == '\\')
            path->erase(0, 1);
        armed.subtree = place.subtree;
        // A missing key is watched through its parent's whole subtree, a missing folder
        // through its parent folder itself, as on Windows.
        for (; path; path = ParentOf(place, *path),
                     armed.subtree = place.kind == WatchedKind::RegistryKey) {
            if (place.kind == WatchedKind::RegistryKey) {
                RegKey key = OpenKey(registry_, place.root, *path, KeyAccess::Read);
                if (key) break;
            } else {
                auto attributes = files_.Attributes(*path);
                if (attributes && (*attributes & kAttrDirectory)) {
                    path = shared::FolderWithoutTrailingSeparator(files_.LongPath(*path));
                    break;
                }
            }
        }
        armed.at = path;
    }

    static std::optional<std::string> ParentOf(const WatchedPlace& place, const std::string& path) {
        return place.kind == WatchedKind::RegistryKey ? shared::ParentKeyPath(path)
                                                      : shared::ParentFolder(path);
    }

    void Changed(const SimChange& change) {
        bool first = false;
        for (auto& armed : armed_) {
            if (!armed.Fires(change)) continue;
            Arm(armed);  // it may now be watched nearer to itself, or further up
            first = pending_.Add(armed.asked) || first;
        }
        if (first && window_) window_->Post(message_, 0, 0);
    }

    Registry& registry_;
    Files& files_;
    SimChangeFeed& changes_;
    const std::function<void()>& whileWaiting_;
    int subscription_;
    std::vector<ArmedPlace> armed_;
    shared::PendingPlaceChanges pending_;
    Window* window_ = nullptr;
    std::uint32_t message_ = 0;
};

}  // namespace

std::unique_ptr<PlaceWatch> MakeSimPlaceWatch(Registry& registry, Files& files,
                                              SimChangeFeed& changes,
                                              const std::function<void()>& whileWaiting) {
    return std::make_unique<SimPlaceWatch>(registry, files, changes, whileWaiting);
}

}  // namespace platform::sim

#include "core/base/FixedTexts.h"
#include "core/base/untFunc.h"
#include "core/engine/startup/kinds/FolderKind.h"

namespace zorvik {

namespace {

// The rule's folder for one account.
std::string FolderOf(const std::string& base, const std::string& account) {
    return ReplaceAll(base, kUserPlaceholder, account);
}

}  // namespace

void ReadFolderPlaces(const ScanRule& rule, PlaceReading& reading) {
    platform::System& sys = reading.sys();
    const std::string base = GetWindowsDrive(sys) + rule.path;
    for (const std::string& account : reading.Accounts()) {
        const std::string folder = FolderOf(base, account);
        if (!PathExists(sys, folder)) continue;
        auto entries = sys.files().List(folder + "\\*");
        if (!entries) continue;
        const std::uint32_t spot = reading.AddSpot(StartupKind::Fol, folder);
        for (const platform::FindEntry& entry : *entries) {
            // Passes over "." and ".." and every other name that begins with a dot.
            if (entry.name.empty() || entry.name[0] == '.') continue;
            reading.AddText(spot, entry.name, entry.name);
        }
    }
}

void WatchFolderPlaces(const ScanRule& rule, WatchedPlaceList& places) {
    const std::string base = GetWindowsDrive(places.sys()) + rule.path;
    for (const std::string& account : places.Accounts()) places.AddFolder(FolderOf(base, account));
}

}  // namespace zorvik

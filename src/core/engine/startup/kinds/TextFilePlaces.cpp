#include <new>

#include "core/base/TextLines.h"
#include "core/base/untFunc.h"
#include "core/engine/startup/kinds/TextFileKind.h"

namespace zorvik {

namespace {

std::string FileOf(platform::System& sys, const ScanRule& rule) {
    return GetWindowsDrive(sys) + rule.path;
}

}  // namespace

void ReadTextFilePlaces(const ScanRule& rule, PlaceReading& reading) {
    platform::System& sys = reading.sys();
    const std::string file = FileOf(sys, rule);
    if (!PathExists(sys, file)) return;
    std::string bytes;
    // A folder, a file another program holds locked or one too large to be a start-up list
    // gives no texts; the scan goes on, also when memory runs short.
    try {
        if (!sys.files().ReadAll(file, bytes).ok) return;
    } catch (const std::bad_alloc&) {
        return;
    }
    const std::uint32_t spot = reading.AddSpot(StartupKind::Fil, file);
    for (const std::string& line : SplitTextLines(bytes)) reading.AddText(spot, line);
}

void WatchTextFilePlaces(const ScanRule& rule, WatchedPlaceList& places) {
    // Without a drive there is no file to read either.
    const std::string file = FileOf(places.sys(), rule);
    if (file != rule.path) places.AddFolderOf(file);
}

}  // namespace zorvik

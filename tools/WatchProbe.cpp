// Times the place watch: watches a key under HKEY_CURRENT_USER and prints a line the moment
// each change is told, or writes a value there and prints when the write returned. Both times
// are the system clock, so a script can put them side by side (benchmarks/watch-latency.sh).
//
//   WatchProbe.exe watch KEY COUNT [rules]
//                                     "armed PLACES", then "changed MICROSECONDS CPU_MS WHERE"
//                                     per change, until COUNT changes of the key; CPU_MS is
//                                     this process's processor time so far, WHERE "key" for a
//                                     change of the key (or one the watch cannot place), else
//                                     "other". With "rules", every place the rules beside
//                                     this program name is watched too, as zorvikc watches
//                                     them; PLACES counts what is watched.
//   WatchProbe.exe write KEY NAME [TEXT]
//                                     writes TEXT (C:\probe.exe when not given) as a string
//                                     value; "written MICROSECONDS" once the write returned
//
// Times are microseconds since 1970 (UTC). Exit code 0 when done, 2 on bad arguments or when
// the key cannot be watched or written.
#include "platform/win32/WindowsApi.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/engine/watch/WatchedPlaces.h"
#include "platform/System.h"

namespace {

constexpr unsigned long long kFileTimeTo1970 = 116444736000000000ULL;  // 100-ns ticks

unsigned long long Ticks(const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

unsigned long long NowMicroseconds() {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    return (Ticks(now) - kFileTimeTo1970) / 10;
}

unsigned long long ProcessorMilliseconds() {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    return (Ticks(kernel) + Ticks(user)) / 10000;
}

int Watch(platform::System& system, const std::string& key, int count, bool withRules) {
    auto watch = system.NewPlaceWatch();
    // The key comes first: its index is 0.
    std::vector<platform::WatchedPlace> places{
        platform::WatchedPlace::Key(platform::RootKey::CurrentUser, key)};
    if (withRules) {
        const std::vector<platform::WatchedPlace> ofRules = zorvik::WatchedPlacesOf(system);
        places.insert(places.end(), ofRules.begin(), ofRules.end());
    }
    if (!watch) return 2;
    const std::size_t watched = watch->Watch(places);
    if (watched == 0) return 2;
    std::printf("armed %zu\n", watched);
    std::fflush(stdout);
    for (int told = 0; told < count;) {
        const platform::PlaceChanges changes = watch->WaitForChange(platform::kWaitForever);
        if (!changes) continue;
        const unsigned long long at = NowMicroseconds();
        const bool ofKey =
            changes.unplaced || (!changes.places.empty() && changes.places.front() == 0);
        std::printf("changed %llu %llu %s\n", at, ProcessorMilliseconds(),
                    ofKey ? "key" : "other");
        std::fflush(stdout);
        if (ofKey) ++told;
    }
    return 0;
}

int Write(platform::System& system, const std::string& key, const std::string& name,
          const std::string& value) {
    platform::RegKey opened =
        platform::CreateKey(system.registry(), platform::RootKey::CurrentUser, key);
    if (!opened) return 2;
    const std::string text = value + std::string(1, '\0');
    if (!system.registry().Set(opened.get(), name, {platform::RegType::Sz, text})) return 2;
    std::printf("written %llu\n", NowMicroseconds());
    std::fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) return 2;
    const std::string mode = argv[1];
    auto system = platform::CreateSystem();
    if (mode == "watch" && (argc == 4 || std::string(argv[4]) == "rules"))
        return Watch(*system, argv[2], std::atoi(argv[3]), argc == 5);
    if (mode == "write")
        return Write(*system, argv[2], argv[3], argc == 5 ? argv[4] : "C:\\probe.exe");
    return 2;
}

#pragma once
// The last picture of every start-up place, kept rule by rule, so that a change the place
// watch names is answered by reading again only the rules that read that place: their entries
// replace theirs in the picture, and what changed among them is the news.
//
// A full read (every rule, every place, the watch armed anew with all of them) stays the
// answer where a piece cannot be read alone: the first time; a change the watch cannot place;
// an edited Scan.ini (its folder is watched too); a rule whose reading changed which folders
// it read first, which the rules after it skip; and, as a safety net, once kFullReadEveryMs
// has passed since the last one. The net catches what no notification tells of: a script or
// a program an entry runs, which are read but not watched, an account made since, a change on
// a share whose notification never came. Ten minutes keeps a missed change from going untold
// for long while a full read, which takes about a second under Wine with the shipped rules,
// costs the idle watcher about 0.2 % of a core.
//
// The watch is armed before anything is read, so a change made while the places are read is
// told at the next answer, never lost; each answer reads what changed once, so a burst of
// changes taken together costs one read of each place it touched.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/watch/EntryNews.h"
#include "core/engine/watch/PlaceEntries.h"
#include "core/engine/watch/WatchedPlaces.h"
#include "platform/PlaceWatch.h"
#include "platform/System.h"

namespace zorvik {

inline constexpr std::uint32_t kFullReadEveryMs = 10 * 60 * 1000;

class StartupPicture {
public:
    // Reads the rules and every place they name, arming watch (when given) with all of them
    // first. What changed since the picture before; nothing the first time.
    std::vector<EntryNews> ReadAll(platform::System& sys, platform::PlaceWatch* watch);

    // The answer to changes taken from watch (which ReadAll armed): the rules that read the
    // places named read again, or everything where that is the answer (see above), also when
    // changes are none and the safety net is due.
    std::vector<EntryNews> Answer(platform::System& sys, platform::PlaceWatch& watch,
                                  const platform::PlaceChanges& changes);

    // Arms watch with the places of the rules as last read, for a watch that starts between
    // reads; its first answer reads everything, so a change since the last read is told too.
    void WatchAgain(platform::System& sys, platform::PlaceWatch& watch);

    // Milliseconds until the safety net's full read is due (0: now); kWaitForever where the
    // system has no clock or nothing was read yet.
    std::uint32_t FullReadDueIn(platform::System& sys) const;

    bool Empty() const { return !read_; }
    // The places as one read of all rules gives them, for a scan of the running programs.
    StartupPlaces Places() const;
    // Every entry of the picture.
    const PlaceEntries& Entries() const { return entries_; }
    // How many rules the last ReadAll or Answer read.
    std::size_t RulesReadLast() const { return rulesReadLast_; }

private:
    // What one rule read, and what it watches.
    struct RulePart {
        StartupPlaces places;
        PlaceEntries entries;
        std::vector<std::string> firstReads;  // PlaceReading::TakeFirstReads after it
        std::vector<platform::WatchedPlace> watched;
    };

    void Arm(platform::System& sys, platform::PlaceWatch& watch);
    bool RulesFileChanged(platform::System& sys) const;
    // The entries of keys as the parts hold them now.
    PlaceEntries EntriesAt(const std::vector<std::string>& keys) const;

    std::vector<ScanRule> rules_;
    std::vector<RulePart> parts_;  // beside rules_
    std::optional<std::string> rulesBytes_;  // Scan.ini as last read; none when unreadable
    PlaceEntries entries_;
    WatchSet armed_;  // what the watch was given: the rules' places, then Scan.ini's folder
    bool read_ = false;
    // A read failed after the watch was armed: the picture no longer matches what is watched.
    bool stale_ = false;
    std::optional<std::int64_t> lastFullReadMs_;
    std::size_t rulesReadLast_ = 0;
};

}  // namespace zorvik

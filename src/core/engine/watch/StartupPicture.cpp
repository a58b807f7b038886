#include "core/engine/watch/StartupPicture.h"

#include <algorithm>
#include <set>
#include <utility>

#include "core/engine/startup/StartupKinds.h"

namespace zorvik {

namespace {

// Days from 1970-01-01 to the date (proleptic Gregorian calendar).
std::int64_t DaysSince1970(int year, int month, int day) {
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::optional<std::int64_t> NowMs(platform::System& sys) {
    const std::optional<platform::UtcTime> now = sys.UtcNow();
    if (!now) return std::nullopt;
    const std::int64_t seconds = DaysSince1970(now->year, now->month, now->day) * 86400 +
                                 now->hour * 3600 + now->minute * 60 + now->second;
    return seconds * 1000 + now->millisecond;
}

std::optional<std::string> RulesFileBytes(platform::System& sys) {
    std::string bytes;
    if (!sys.files().ReadAll(RulesFilePath(sys), bytes).ok) return std::nullopt;
    return bytes;
}

// The folder Scan.ini lies in, watched so that an edited rules file is read at once.
platform::WatchedPlace RulesFolder(platform::System& sys) {
    const std::string file = RulesFilePath(sys);
    const std::size_t cut = file.find_last_of('\\');
    return platform::WatchedPlace::Folder(cut == std::string::npos ? file : file.substr(0, cut));
}

bool SamePlaces(const std::vector<platform::WatchedPlace>& a,
                const std::vector<platform::WatchedPlace>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const platform::WatchedPlace& x, const platform::WatchedPlace& y) {
                          return x.kind == y.kind && x.root == y.root && x.path == y.path &&
                                 x.subtree == y.subtree;
                      });
}

// Reads one rule in reading, as the whole scan would at its turn.
void ReadRule(const ScanRule& rule, PlaceReading& reading, StartupPlaces& places,
              std::vector<std::string>& firstReads) {
    if (rule.kind) {
        reading.BeginRule(rule);
        RowOf(*rule.kind).readPlaces(rule, reading);
    }
    places = reading.Take();
    firstReads = reading.TakeFirstReads();
}

// Adds the entries of one part to all: texts joined, the place as the first rule gave it.
void AddEntries(const PlaceEntries& part, PlaceEntries& all) {
    for (const auto& [key, texts] : part.texts) {
        all.texts[key].insert(texts.begin(), texts.end());
        all.facts.try_emplace(key, part.facts.at(key));
    }
}

}  // namespace

std::vector<EntryNews> StartupPicture::ReadAll(platform::System& sys, platform::PlaceWatch* watch) {
    std::optional<std::string> rulesBytes = RulesFileBytes(sys);
    std::vector<ScanRule> rules = ReadScanRules(sys);
    std::vector<std::vector<platform::WatchedPlace>> watched = WatchedPlacesOfRules(sys, rules);
    std::vector<RulePart> parts(rules.size());
    for (std::size_t i = 0; i < rules.size(); ++i) parts[i].watched = std::move(watched[i]);

    // What is watched and what the picture says it watches change together, before the read;
    // should the read fail, the picture is stale and the next answer reads everything again.
    rules_ = std::move(rules);
    rulesBytes_ = std::move(rulesBytes);
    parts_ = std::move(parts);
    stale_ = true;
    if (watch) Arm(sys, *watch);

    PlaceReading reading(sys);
    std::vector<RulePart> read(rules_.size());
    PlaceEntries entries;
    for (std::size_t i = 0; i < rules_.size(); ++i) {
        ReadRule(rules_[i], reading, read[i].places, read[i].firstReads);
        read[i].entries = EntriesOf(read[i].places);
        AddEntries(read[i].entries, entries);
    }
    for (std::size_t i = 0; i < rules_.size(); ++i) {
        parts_[i].places = std::move(read[i].places);
        parts_[i].entries = std::move(read[i].entries);
        parts_[i].firstReads = std::move(read[i].firstReads);
    }
    std::vector<EntryNews> news;
    if (read_) news = NewsBetween(entries_, entries);
    entries_ = std::move(entries);
    read_ = true;
    stale_ = false;
    lastFullReadMs_ = NowMs(sys);
    rulesReadLast_ = rules_.size();
    return news;
}

void StartupPicture::Arm(platform::System& sys, platform::PlaceWatch& watch) {
    std::vector<std::vector<platform::WatchedPlace>> ofRules;
    for (const RulePart& part : parts_) ofRules.push_back(part.watched);
    // Scan.ini's folder comes last and stands for no rule.
    ofRules.push_back({RulesFolder(sys)});
    armed_ = MergeWatchedPlaces(ofRules);
    watch.Watch(armed_.places);
}

void StartupPicture::WatchAgain(platform::System& sys, platform::PlaceWatch& watch) {
    Arm(sys, watch);
    stale_ = true;
}

bool StartupPicture::RulesFileChanged(platform::System& sys) const {
    return RulesFileBytes(sys) != rulesBytes_;
}

PlaceEntries StartupPicture::EntriesAt(const std::vector<std::string>& keys) const {
    PlaceEntries at;
    for (const std::string& key : keys) {
        for (const RulePart& part : parts_) {
            const auto texts = part.entries.texts.find(key);
            if (texts == part.entries.texts.end()) continue;
            at.texts[key].insert(texts->second.begin(), texts->second.end());
            at.facts.try_emplace(key, part.entries.facts.at(key));
        }
    }
    return at;
}

std::vector<EntryNews> StartupPicture::Answer(platform::System& sys, platform::PlaceWatch& watch,
                                              const platform::PlaceChanges& changes) {
    if (!read_ || stale_ || changes.unplaced || FullReadDueIn(sys) == 0)
        return ReadAll(sys, &watch);
    rulesReadLast_ = 0;
    std::set<std::size_t> rules;
    for (const std::size_t place : changes.places) {
        if (place >= armed_.places.size()) return ReadAll(sys, &watch);
        const std::vector<std::size_t>& readers = armed_.rulesOf[place];
        for (const std::size_t rule : readers) {
            // Scan.ini's folder: the rules themselves, when the file changed.
            if (rule >= rules_.size()) {
                if (RulesFileChanged(sys)) return ReadAll(sys, &watch);
                continue;
            }
            rules.insert(rule);
        }
    }
    if (rules.empty()) return {};

    // Armed before the read: a rule's places may move with what it reads (a start-up folder
    // the shell's value names), and a set that changed is watched anew first.
    bool moved = false;
    for (const std::size_t rule : rules) {
        std::vector<platform::WatchedPlace> watched =
            std::move(WatchedPlacesOfRules(sys, {rules_[rule]}).front());
        if (SamePlaces(watched, parts_[rule].watched)) continue;
        parts_[rule].watched = std::move(watched);
        moved = true;
    }
    if (moved) Arm(sys, watch);

    // Each rule read at its turn, after the folders the rules before it read first.
    PlaceReading reading(sys);
    std::vector<std::pair<std::size_t, RulePart>> read;
    for (std::size_t rule = 0; rule < rules_.size() && rule <= *rules.rbegin(); ++rule) {
        if (!rules.contains(rule)) {
            reading.NoteFirstReads(parts_[rule].firstReads);
            continue;
        }
        RulePart part;
        ReadRule(rules_[rule], reading, part.places, part.firstReads);
        // Another folder read first changes what the rules after it read: all of them again.
        if (part.firstReads != parts_[rule].firstReads) return ReadAll(sys, &watch);
        part.entries = EntriesOf(part.places);
        read.emplace_back(rule, std::move(part));
    }

    std::set<std::string> touched;
    for (const auto& [rule, part] : read) {
        for (const auto& entry : parts_[rule].entries.texts) touched.insert(entry.first);
        for (const auto& entry : part.entries.texts) touched.insert(entry.first);
    }
    const std::vector<std::string> keys(touched.begin(), touched.end());
    const PlaceEntries before = EntriesAt(keys);
    for (auto& [rule, part] : read) {
        parts_[rule].places = std::move(part.places);
        parts_[rule].entries = std::move(part.entries);
    }
    const PlaceEntries after = EntriesAt(keys);
    for (const std::string& key : keys) {
        entries_.texts.erase(key);
        entries_.facts.erase(key);
    }
    AddEntries(after, entries_);
    rulesReadLast_ = read.size();
    return NewsBetween(before, after);
}

std::uint32_t StartupPicture::FullReadDueIn(platform::System& sys) const {
    const std::optional<std::int64_t> now = NowMs(sys);
    if (!read_ || !now || !lastFullReadMs_) return platform::kWaitForever;
    const std::int64_t since = *now - *lastFullReadMs_;
    // A clock set back: the time since is unknown, so the net is due.
    if (since < 0 || since >= kFullReadEveryMs) return 0;
    return static_cast<std::uint32_t>(kFullReadEveryMs - since);
}

StartupPlaces StartupPicture::Places() const {
    StartupPlaces all;
    for (const RulePart& part : parts_) {
        const auto spotBase = static_cast<std::uint32_t>(all.spots.size());
        const auto pathBase = static_cast<std::uint32_t>(all.paths.size());
        all.spots.insert(all.spots.end(), part.places.spots.begin(), part.places.spots.end());
        all.paths.insert(all.paths.end(), part.places.paths.begin(), part.places.paths.end());
        for (StartupText text : part.places.texts) {
            text.spot += spotBase;
            if (text.script != kNoPath) text.script += pathBase;
            if (text.runsInstead != kNoPath) text.runsInstead += pathBase;
            all.texts.push_back(std::move(text));
        }
    }
    return all;
}

}  // namespace zorvik

#include "core/engine/watch/EntryHistory.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace zorvik {

namespace {

std::set<std::string> Gained(const std::set<std::string>& before,
                             const std::set<std::string>& after) {
    std::set<std::string> gained;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::inserter(gained, gained.end()));
    return gained.empty() ? after : gained;
}

}  // namespace

std::vector<EntryNews> EntryHistory::Next(PlaceEntries entries) {
    std::vector<EntryNews> news;
    if (previous_) {
        for (const StartupChange& change : CompareStartupEntries(previous_->texts, entries.texts)) {
            EntryNews item{change.change, change.key, {}, {}};
            if (change.change == EntryChange::Removed) {
                item.facts = previous_->facts.at(change.key);
                item.texts = previous_->texts.at(change.key);
            } else {
                item.facts = entries.facts.at(change.key);
                const std::set<std::string>& now = entries.texts.at(change.key);
                item.texts = change.change == EntryChange::Added
                                 ? now
                                 : Gained(previous_->texts.at(change.key), now);
            }
            news.push_back(std::move(item));
        }
    }
    previous_ = std::move(entries);
    return news;
}

}  // namespace zorvik

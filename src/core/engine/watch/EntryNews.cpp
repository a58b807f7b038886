#include "core/engine/watch/EntryNews.h"

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

std::vector<EntryNews> NewsBetween(const PlaceEntries& before, const PlaceEntries& after) {
    std::vector<EntryNews> news;
    for (const StartupChange& change : CompareStartupEntries(before.texts, after.texts)) {
        EntryNews item{change.change, change.key, {}, {}};
        if (change.change == EntryChange::Removed) {
            item.facts = before.facts.at(change.key);
            item.texts = before.texts.at(change.key);
        } else {
            item.facts = after.facts.at(change.key);
            const std::set<std::string>& now = after.texts.at(change.key);
            item.texts = change.change == EntryChange::Added
                             ? now
                             : Gained(before.texts.at(change.key), now);
        }
        news.push_back(std::move(item));
    }
    return news;
}


}  // namespace zorvik

#include "core/engine/modules/ModuleNameMatcher.h"

#include <algorithm>

#include "core/base/FixedTexts.h"

namespace zorvik {

namespace {

// A name found in a text has at most this many blanks ("my helper lib.dll"): the cost of a
// text full of blanks stays bounded.
constexpr int kMostBlanksInAName = 3;

// Where a path's file name begins, as ProgramFileNameOf cuts it.
bool EndsFolder(char c) { return c == '\\' || c == '/' || c == ':'; }

// A byte file names are made of (a blank aside, which names may hold too).
bool InName(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x80) return true;
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
    switch (c) {
        case '.': case '_': case '-': case '~': case '$': case '+': case '@': case '!':
        case '&': case '{': case '}': case '[': case ']': case '(': case ')': case '#':
        case '%': case '^': case '`':
            return true;
        default:
            return false;
    }
}

bool StartsWithBackup(const std::string& text, std::size_t at) {
    return text.compare(at, kBackupSuffix.size(), kBackupSuffix) == 0;
}

}  // namespace

ModuleNameMatcher::ModuleNameMatcher(const std::vector<platform::PathList>& modules) {
    // Two passes: each module's name id, then the loaders of each name in one array, so that
    // tens of thousands of modules cost no allocation each.
    std::vector<std::uint32_t> idOfModule;
    std::vector<std::uint32_t> loaderCount;
    for (const platform::PathList& loaded : modules) {
        for (std::size_t m = 0; m < loaded.size(); ++m) {
            const std::string_view path = loaded[m];
            std::size_t begin = path.size();
            while (begin > 0 && !EndsFolder(path[begin - 1])) --begin;
            if (begin == path.size()) {
                idOfModule.push_back(LowerNameTable::kNone);
                continue;
            }
            const std::uint32_t id = ids_.Add(path.substr(begin));
            if (id == loaderCount.size()) {
                loaderCount.push_back(0);
                longestName_ = std::max(longestName_, path.size() - begin);
                const std::string& lower = ids_.NameOf(id);
                endsOfNames_.set(EndsIndex(lower.front(), lower.back()));
            }
            idOfModule.push_back(id);
            ++loaderCount[id];
        }
    }
    firstLoader_.assign(loaderCount.size() + 1, 0);
    for (std::size_t id = 0; id < loaderCount.size(); ++id)
        firstLoader_[id + 1] = firstLoader_[id] + loaderCount[id];
    loaders_.resize(firstLoader_.back());
    std::vector<std::uint32_t> filled(firstLoader_.begin(), firstLoader_.end() - 1);
    std::size_t at = 0;
    for (std::uint32_t p = 0; p < modules.size(); ++p) {
        for (std::uint32_t m = 0; m < modules[p].size(); ++m) {
            const std::uint32_t id = idOfModule[at++];
            if (id != LowerNameTable::kNone) loaders_[filled[id]++] = {p, m};
        }
    }
    nameSeen_.assign(loaderCount.size(), 0);
}

std::size_t ModuleNameMatcher::EndsIndex(char first, char last) {
    return static_cast<std::size_t>(static_cast<unsigned char>(first)) << 8 |
           static_cast<unsigned char>(last);
}

void ModuleNameMatcher::Look(std::string_view name, bool disabled, std::vector<Match>& out) {
    if (name.empty() || !endsOfNames_.test(EndsIndex(name.front(), name.back()))) return;
    const std::uint32_t id = ids_.Find(name);
    if (id == LowerNameTable::kNone || nameSeen_[id] == stamp_) return;
    nameSeen_[id] = stamp_;
    for (std::uint32_t i = firstLoader_[id]; i < firstLoader_[id + 1]; ++i)
        out.push_back({loaders_[i].program, loaders_[i].module, disabled});
}

void ModuleNameMatcher::Find(const std::string& lowerText, std::vector<Match>& out) {
    out.clear();
    if (loaders_.empty()) return;
    if (++stamp_ == 0) {
        std::fill(nameSeen_.begin(), nameSeen_.end(), 0);
        stamp_ = 1;
    }
    const std::string_view text = lowerText;
    for (std::size_t end = 1; end <= text.size(); ++end) {
        if (!InName(text[end - 1])) continue;
        const bool backup = end < text.size() && StartsWithBackup(lowerText, end);
        if (end < text.size() && InName(text[end]) && !backup) continue;
        // What a backslash or a slash follows is a folder's name.
        if (end < text.size() && (text[end] == '\\' || text[end] == '/')) continue;
        // A name may end here: each place one may begin, back to the last byte that is no
        // part of a name, within the longest module name.
        int blanks = 0;
        for (std::size_t begin = end; begin > 0 && end - begin < longestName_;) {
            const char before = text[begin - 1];
            if (before == ' ') {
                if (++blanks > kMostBlanksInAName) break;
                --begin;
                continue;
            }
            if (!InName(before)) break;
            --begin;
            if (begin > 0 && text[begin - 1] != ' ' && InName(text[begin - 1])) continue;
            const std::string_view name = text.substr(begin, end - begin);
            Look(name, backup, out);
            // A word without an extension standing alone: LoadLibrary's name + ".dll".
            const bool word = name.find_first_of(". ") == std::string_view::npos;
            if (word && !backup) {
                if (endsOfNames_.test(
                        EndsIndex(name.front(), std::string_view(kDllExtension).back()))) {
                    bare_.assign(name);
                    bare_ += kDllExtension;
                    Look(bare_, false, out);
                }
            }
        }
    }
}

}  // namespace zorvik

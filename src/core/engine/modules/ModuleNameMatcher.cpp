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

ModuleNameMatcher::ModuleNameMatcher(const std::vector<std::vector<std::string>>& modules) {
    std::string name;
    for (std::uint32_t p = 0; p < modules.size(); ++p) {
        for (std::uint32_t m = 0; m < modules[p].size(); ++m) {
            const std::string& path = modules[p][m];
            std::size_t begin = path.size();
            while (begin > 0 && !EndsFolder(path[begin - 1])) --begin;
            if (begin == path.size()) continue;
            name.assign(path, begin);
            for (char& c : name)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            auto id = ids_.find(name);
            if (id == ids_.end()) {
                id = ids_.emplace(name, static_cast<std::uint32_t>(loaders_.size())).first;
                loaders_.emplace_back();
                longestName_ = std::max(longestName_, name.size());
            }
            loaders_[id->second].push_back({p, m});
        }
    }
    nameSeen_.assign(loaders_.size(), 0);
}

void ModuleNameMatcher::Look(std::string_view name, bool disabled, std::vector<Match>& out) {
    const auto id = ids_.find(name);
    if (id == ids_.end() || nameSeen_[id->second] == stamp_) return;
    nameSeen_[id->second] = stamp_;
    for (const Loader& loader : loaders_[id->second])
        out.push_back({loader.program, loader.module, disabled});
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
                bare_.assign(name);
                bare_ += kDllExtension;
                Look(bare_, false, out);
            }
        }
    }
}

}  // namespace zorvik

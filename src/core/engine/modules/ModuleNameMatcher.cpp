#include "core/engine/modules/ModuleNameMatcher.h"

#include <algorithm>

#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"

namespace zorvik {

namespace {

// Where one word of a list of DLLs ends (AppInit_DLLs takes commas and blanks).
bool EndsWord(char c) { return c == ' ' || c == ',' || c == ';' || c == '\t' || c == '"'; }

std::vector<ProgramNames> DistinctNames(const std::vector<std::vector<std::string>>& modules,
                                        std::unordered_map<std::string, std::uint32_t>& ids) {
    std::vector<ProgramNames> names;
    for (const std::vector<std::string>& loaded : modules) {
        for (const std::string& path : loaded) {
            std::string name = AsciiLower(ProgramFileNameOf(path));
            if (name.empty()) continue;
            auto [it, added] = ids.emplace(name, static_cast<std::uint32_t>(names.size()));
            if (added) names.push_back({std::move(name), {}});
        }
    }
    return names;
}

}  // namespace

ModuleNameMatcher::ModuleNameMatcher(const std::vector<std::vector<std::string>>& modules)
    : names_(DistinctNames(modules, nameIds_)) {
    loaders_.resize(nameIds_.size());
    for (std::uint32_t p = 0; p < modules.size(); ++p) {
        for (std::uint32_t m = 0; m < modules[p].size(); ++m) {
            const auto id = nameIds_.find(AsciiLower(ProgramFileNameOf(modules[p][m])));
            if (id != nameIds_.end()) loaders_[id->second].push_back({p, m});
        }
    }
    nameSeen_.assign(loaders_.size(), 0);
}

void ModuleNameMatcher::Emit(std::uint32_t name, bool disabled, std::vector<Match>& out) {
    if (nameSeen_[name] == stamp_) return;
    nameSeen_[name] = stamp_;
    for (const Loader& loader : loaders_[name])
        out.push_back({loader.program, loader.module, disabled});
}

void ModuleNameMatcher::Find(const std::string& lowerText, std::vector<Match>& out) {
    out.clear();
    if (loaders_.empty()) return;
    if (++stamp_ == 0) {
        std::fill(nameSeen_.begin(), nameSeen_.end(), 0);
        stamp_ = 1;
    }
    names_.Find(lowerText, found_);
    for (const ProgramNameMatcher::Match& match : found_) Emit(match.program, match.disabled, out);

    for (std::size_t begin = 0; begin < lowerText.size();) {
        std::size_t end = begin;
        while (end < lowerText.size() && !EndsWord(lowerText[end])) ++end;
        word_.assign(ProgramFileNameOf(lowerText.substr(begin, end - begin)));
        if (!word_.empty() && word_.find('.') == std::string::npos) {
            word_ += kDllExtension;
            const auto id = nameIds_.find(word_);
            if (id != nameIds_.end()) Emit(id->second, false, out);
        }
        begin = end + 1;
    }
}

}  // namespace zorvik

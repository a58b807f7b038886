#include "core/engine/modules/ModuleNameMatcher.h"

#include <algorithm>

#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"

namespace zorvik {

namespace {

// Where one word of a list of DLLs ends (AppInit_DLLs takes commas and blanks).
bool EndsWord(char c) { return c == ' ' || c == ',' || c == ';' || c == '\t' || c == '"'; }

// Where a path's file name begins, as ProgramFileNameOf cuts it.
bool EndsFolder(char c) { return c == '\\' || c == '/' || c == ':'; }

}  // namespace

ModuleNameMatcher::Gathered ModuleNameMatcher::Gather(
    const std::vector<std::vector<std::string>>& modules) {
    Gathered gathered;
    for (std::uint32_t p = 0; p < modules.size(); ++p) {
        for (std::uint32_t m = 0; m < modules[p].size(); ++m) {
            std::string name = AsciiLower(ProgramFileNameOf(modules[p][m]));
            if (name.empty()) continue;
            const auto next = static_cast<std::uint32_t>(gathered.names.size());
            auto [it, added] = gathered.ids.emplace(name, next);
            if (added) {
                gathered.names.push_back({std::move(name), {}});
                gathered.loaders.emplace_back();
            }
            gathered.loaders[it->second].push_back({p, m});
        }
    }
    return gathered;
}

ModuleNameMatcher::ModuleNameMatcher(const std::vector<std::vector<std::string>>& modules)
    : ModuleNameMatcher(Gather(modules)) {}

ModuleNameMatcher::ModuleNameMatcher(Gathered gathered)
    : loaders_(std::move(gathered.loaders)),
      nameIds_(std::move(gathered.ids)),
      names_(gathered.names),
      nameSeen_(loaders_.size(), 0) {}

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

    // Each word without an extension, looked up whole with ".dll".
    for (std::size_t begin = 0; begin < lowerText.size();) {
        std::size_t end = begin;
        while (end < lowerText.size() && !EndsWord(lowerText[end])) ++end;
        std::size_t name = end;
        while (name > begin && !EndsFolder(lowerText[name - 1])) --name;
        if (name < end && std::find(lowerText.begin() + static_cast<std::ptrdiff_t>(name),
                                    lowerText.begin() + static_cast<std::ptrdiff_t>(end),
                                    '.') == lowerText.begin() + static_cast<std::ptrdiff_t>(end)) {
            word_.assign(lowerText, name, end - name);
            word_ += kDllExtension;
            const auto id = nameIds_.find(word_);
            if (id != nameIds_.end()) Emit(id->second, false, out);
        }
        begin = end + 1;
    }
}

}  // namespace zorvik

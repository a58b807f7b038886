#include "core/engine/startup/ProgramNameMatcher.h"

#include <algorithm>
#include <deque>
#include <unordered_map>

#include "core/base/FixedTexts.h"
#include "core/base/AsciiLower.h"

namespace zorvik {

ProgramNameMatcher::ProgramNameMatcher(const std::vector<ProgramNames>& programs) {
    std::unordered_map<std::string, std::uint32_t> ids;
    auto own = [&](const std::string& pattern, std::uint32_t program, Role role) {
        auto [it, added] = ids.emplace(pattern, static_cast<std::uint32_t>(patterns_.size()));
        if (added) {
            patterns_.push_back(pattern);
            owners_.emplace_back();
        }
        owners_[it->second].push_back({program, role});
    };
    for (std::uint32_t p = 0; p < programs.size(); ++p) {
        const std::string longName = AsciiLower(programs[p].programFileName);
        const std::string shortName = AsciiLower(programs[p].shortFileName);
        if (!longName.empty()) own(longName, p, kNames);
        if (!shortName.empty()) own(shortName, p, kNames);
        own(longName + kBackupSuffix, p, kDisabled);
        own(shortName + kBackupSuffix, p, kDisabled);
    }
    programSeen_.assign(programs.size(), 0);
    programRoles_.assign(programs.size(), 0);
    patternSeen_.assign(patterns_.size(), 0);
    Build();
}

void ProgramNameMatcher::Build() {
    for (const std::string& pattern : patterns_) {
        for (unsigned char c : pattern) {
            if (classOf_[c] == 0) classOf_[c] = static_cast<std::uint8_t>(classCount_++);
        }
    }
    // The trie first, with -1 for a missing edge.
    next_.assign(classCount_, -1);
    patternAt_.assign(1, -1);
    for (std::uint32_t id = 0; id < patterns_.size(); ++id) {
        std::int32_t state = 0;
        for (unsigned char c : patterns_[id]) {
            std::int32_t& edge = next_[state * classCount_ + classOf_[c]];
            if (edge < 0) {
                edge = static_cast<std::int32_t>(patternAt_.size());
                patternAt_.push_back(-1);
                next_.resize(next_.size() + classCount_, -1);
            }
            state = next_[state * classCount_ + classOf_[c]];
        }
        patternAt_[state] = static_cast<std::int32_t>(id);
    }
    // Then breadth first: each missing edge takes its failure state's edge, so that a walk
    // needs one table look-up per byte.
    const std::size_t states = patternAt_.size();
    std::vector<std::int32_t> failure(states, 0);
    outputLink_.assign(states, -1);
    std::deque<std::int32_t> queue;
    for (std::uint32_t k = 0; k < classCount_; ++k) {
        std::int32_t& edge = next_[k];
        if (edge < 0) {
            edge = 0;
        } else {
            queue.push_back(edge);
        }
    }
    while (!queue.empty()) {
        const std::int32_t state = queue.front();
        queue.pop_front();
        const std::int32_t fail = failure[state];
        outputLink_[state] = patternAt_[fail] >= 0 ? fail : outputLink_[fail];
        for (std::uint32_t k = 0; k < classCount_; ++k) {
            std::int32_t& edge = next_[state * classCount_ + k];
            const std::int32_t viaFailure = next_[fail * classCount_ + k];
            if (edge < 0) {
                edge = viaFailure;
            } else {
                failure[edge] = viaFailure;
                queue.push_back(edge);
            }
        }
    }
}

void ProgramNameMatcher::Find(const std::string& lowerText, std::vector<Match>& out) {
    out.clear();
    touched_.clear();
    if (++stamp_ == 0) {
        std::fill(patternSeen_.begin(), patternSeen_.end(), 0);
        std::fill(programSeen_.begin(), programSeen_.end(), 0);
        stamp_ = 1;
    }
    std::int32_t state = 0;
    for (unsigned char c : lowerText) {
        state = next_[state * classCount_ + classOf_[c]];
        for (std::int32_t s = patternAt_[state] >= 0 ? state : outputLink_[state]; s > 0;
             s = outputLink_[s]) {
            const auto id = static_cast<std::uint32_t>(patternAt_[s]);
            if (patternSeen_[id] == stamp_) continue;
            patternSeen_[id] = stamp_;
            for (const Owner& owner : owners_[id]) {
                if (programSeen_[owner.program] != stamp_) {
                    programSeen_[owner.program] = stamp_;
                    programRoles_[owner.program] = 0;
                    touched_.push_back(owner.program);
                }
                programRoles_[owner.program] |= owner.role;
            }
        }
    }
    for (std::uint32_t program : touched_) {
        if (programRoles_[program] & kNames)
            out.push_back({program, (programRoles_[program] & kDisabled) != 0});
    }
}

}  // namespace zorvik

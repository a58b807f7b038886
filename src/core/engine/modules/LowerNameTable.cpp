#include "core/engine/modules/LowerNameTable.h"

#include <cstring>

#include "core/base/AsciiLower.h"

namespace zorvik {

namespace {

constexpr std::size_t kFirstSlots = 64;

bool SameLower(std::string_view lower, std::string_view name) {
    if (lower.size() != name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (lower[i] != AsciiLowerChar(name[i])) return false;
    return true;
}

}  // namespace

std::uint64_t LowerNameTable::Hash(std::string_view name) {
    // Eight bytes at a time, each with bit 5 set: an upper-case letter meets its lower-case
    // form (some other bytes meet others too, which the comparison tells apart).
    constexpr std::uint64_t kFold = 0x2020202020202020ull;
    constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15ull;
    std::uint64_t hash = (name.size() + 1) * kMix;
    std::size_t at = 0;
    for (; at + sizeof(std::uint64_t) <= name.size(); at += sizeof(std::uint64_t)) {
        std::uint64_t word = 0;
        std::memcpy(&word, name.data() + at, sizeof word);
        hash = (hash ^ (word | kFold)) * kMix;
        hash ^= hash >> 29;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, name.data() + at, name.size() - at);
    hash = (hash ^ (tail | kFold)) * kMix;
    return hash ^ (hash >> 32);
}

std::size_t LowerNameTable::SlotOf(std::string_view name, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = static_cast<std::size_t>(hash) & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t id = slots_[slot];
        if (id == kNone || (hashes_[id] == hash && SameLower(names_[id], name))) return slot;
    }
}

std::uint32_t LowerNameTable::Find(std::string_view name) const {
    if (slots_.empty()) return kNone;
    return slots_[SlotOf(name, Hash(name))];
}

std::uint32_t LowerNameTable::Add(std::string_view name) {
    // At most half full, so that a probe ends soon.
    if ((names_.size() + 1) * 2 > slots_.size()) Grow();
    const std::uint64_t hash = Hash(name);
    const std::size_t slot = SlotOf(name, hash);
    if (slots_[slot] != kNone) return slots_[slot];
    const auto id = static_cast<std::uint32_t>(names_.size());
    names_.push_back(AsciiLower(std::string(name)));
    hashes_.push_back(hash);
    slots_[slot] = id;
    return id;
}

void LowerNameTable::Grow() {
    slots_.assign(slots_.empty() ? kFirstSlots : slots_.size() * 2, kNone);
    const std::size_t mask = slots_.size() - 1;
    for (std::uint32_t id = 0; id < names_.size(); ++id) {
        std::size_t slot = static_cast<std::size_t>(hashes_[id]) & mask;
        while (slots_[slot] != kNone) slot = (slot + 1) & mask;
        slots_[slot] = id;
    }
}

}  // namespace zorvik

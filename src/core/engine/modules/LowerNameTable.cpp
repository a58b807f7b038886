#include "core/engine/modules/LowerNameTable.h"

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
    // FNV-1a over the lower-cased bytes.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : name)
        hash = (hash ^ static_cast<unsigned char>(AsciiLowerChar(c))) * 1099511628211ull;
    return hash;
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

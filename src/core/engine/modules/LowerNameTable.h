#pragma once
// Ids of distinct names, compared by the ASCII rule without regard to case, for the tens of
// thousands of module paths one scan looks up: a name is hashed as it lies in its path, with
// no lower-cased copy, into a table of open addressing that holds only ids.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

class LowerNameTable {
public:
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;

    // The name's id, or kNone.
    std::uint32_t Find(std::string_view name) const;
    // The name's id, a new one (the next number from 0) for a name not held yet.
    std::uint32_t Add(std::string_view name);
    std::size_t Size() const { return names_.size(); }
    // The name of id, lower-cased.
    const std::string& NameOf(std::uint32_t id) const { return names_[id]; }

private:
    static std::uint64_t Hash(std::string_view name);
    // The slot that holds name, or the empty one where it would go.
    std::size_t SlotOf(std::string_view name, std::uint64_t hash) const;
    void Grow();

    std::vector<std::string> names_;
    std::vector<std::uint64_t> hashes_;  // per id
    std::vector<std::uint32_t> slots_;   // ids; kNone: empty. A power of two in size.
};

}  // namespace zorvik

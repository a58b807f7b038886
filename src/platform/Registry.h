#pragma once
// Registry services: keys under the three roots the program knows, typed values.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// A registry root. None is the "0" handle: every key opened under it fails.
enum class RootKey : std::uint32_t { None = 0, ClassesRoot, CurrentUser, LocalMachine };

// Value types, with the numbers Windows gives them.
enum class RegType : std::uint32_t {
    None = 0, Sz = 1, ExpandSz = 2, Binary = 3, Dword = 4, MultiSz = 7, Qword = 11
};

enum class KeyAccess { Read, All };

struct RegValue {
    RegType type = RegType::None;
    std::string data;  // raw bytes as stored; text values include their terminating zero if stored with it
};

class Registry {
public:
    using Handle = std::uintptr_t;  // 0 = no key
    virtual ~Registry() = default;

    // Opens an existing key; never creates it. An empty path opens the root itself.
    // One leading backslash is ignored. Returns 0 when the key is missing or access is refused.
    virtual Handle Open(RootKey root, const std::string& path, KeyAccess access) = 0;
    // Opens an existing key below the open key parent: path is relative to it (empty: the key
    // itself once more). 0 when parent is 0, the key is missing or access is refused. Only the
    // path below parent is walked, so a walk over many subkeys of one key keeps that key open
    // and opens each subkey this way.
    virtual Handle OpenBelow(Handle parent, const std::string& path, KeyAccess access) = 0;
    // Opens or creates (with all access). Used by the tools and tests that prepare keys.
    virtual Handle Create(RootKey root, const std::string& path) = 0;
    virtual void Close(Handle key) = 0;

    // Names in the registry's enumeration order; empty for key 0.
    virtual std::vector<std::string> SubKeyNames(Handle key) = 0;
    virtual std::vector<std::string> ValueNames(Handle key) = 0;

    // Empty name = the key's default value. nullopt when the value does not exist (or key is 0).
    virtual std::optional<RegValue> Query(Handle key, const std::string& name) = 0;
    virtual bool Set(Handle key, const std::string& name, const RegValue& value) = 0;
    virtual bool DeleteValue(Handle key, const std::string& name) = 0;
    // Deletes a key and everything below it; for tests and tools cleaning up after themselves.
    virtual bool DeleteTree(RootKey root, const std::string& path) = 0;
};

// Owns one open key; the root handles are never owned because Open never returns them as such.
class RegKey {
public:
    RegKey() = default;
    RegKey(Registry& reg, Registry::Handle h) : reg_(&reg), h_(h) {}
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& o) noexcept : reg_(o.reg_), h_(o.h_) { o.h_ = 0; }
    RegKey& operator=(RegKey&& o) noexcept {
        if (this != &o) { Reset(); reg_ = o.reg_; h_ = o.h_; o.h_ = 0; }
        return *this;
    }
    ~RegKey() { Reset(); }
    void Reset() { if (h_ && reg_) reg_->Close(h_); h_ = 0; }
    Registry::Handle get() const { return h_; }
    explicit operator bool() const { return h_ != 0; }

private:
    Registry* reg_ = nullptr;
    Registry::Handle h_ = 0;
};

inline RegKey OpenKey(Registry& reg, RootKey root, const std::string& path, KeyAccess access) {
    return RegKey(reg, reg.Open(root, path, access));
}
inline RegKey OpenKeyBelow(Registry& reg, Registry::Handle parent, const std::string& path,
                           KeyAccess access) {
    return RegKey(reg, reg.OpenBelow(parent, path, access));
}
inline RegKey CreateKey(Registry& reg, RootKey root, const std::string& path) {
    return RegKey(reg, reg.Create(root, path));
}

}  // namespace platform

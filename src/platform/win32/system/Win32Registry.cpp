#include "platform/win32/system/Win32Registry.h"

#include "platform/win32/WindowsApi.h"

#include "platform/win32/system/ScopedKey.h"

namespace platform::win32 {
namespace {

HKEY RootHandle(RootKey root) {
    switch (root) {
        case RootKey::ClassesRoot: return HKEY_CLASSES_ROOT;
        case RootKey::CurrentUser: return HKEY_CURRENT_USER;
        case RootKey::LocalMachine: return HKEY_LOCAL_MACHINE;
        case RootKey::None: break;
    }
    return nullptr;
}

HKEY AsKey(Registry::Handle key) { return reinterpret_cast<HKEY>(key); }
Registry::Handle AsHandle(HKEY key) { return reinterpret_cast<Registry::Handle>(key); }

std::string WithoutLeadingBackslash(const std::string& path) {
    return !path.empty() && path[0] == '\\' ? path.substr(1) : path;
}

HKEY OpenRaw(RootKey root, const std::string& path, REGSAM access) {
    HKEY rootKey = RootHandle(root);
    if (!rootKey) return nullptr;
    HKEY key = nullptr;
    std::string subKey = WithoutLeadingBackslash(path);
    if (::RegOpenKeyExA(rootKey, subKey.c_str(), 0, access | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

struct KeyCounts {
    DWORD maxSubKeyLen = 0;
    DWORD maxValueNameLen = 0;
};

bool QueryCounts(HKEY key, KeyCounts& counts) {
    return ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, &counts.maxSubKeyLen,
                              nullptr, nullptr, &counts.maxValueNameLen, nullptr, nullptr,
                              nullptr) == ERROR_SUCCESS;
}

// The lengths the key reports are in characters; an ANSI name of double-byte characters can
// take twice as many bytes, so the buffer allows for that and the terminating zero.
DWORD NameBufferSize(DWORD maxLen) { return maxLen * 2 + 2; }

// Walks names by index until the registry says there are no more. A name that does not fit
// (the key gained a longer one meanwhile) is asked for again with a larger buffer.
template <typename EnumFn>
std::vector<std::string> EnumerateNames(HKEY key, DWORD maxLen, EnumFn enumAt) {
    std::vector<std::string> names;
    if (!key) return names;
    std::string buffer(NameBufferSize(maxLen), '\0');
    for (DWORD index = 0;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        LONG rc = enumAt(key, index, buffer.data(), &size);
        if (rc == ERROR_MORE_DATA) {
            if (buffer.size() >= 0x40000) break;  // beyond any name the registry allows
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (rc != ERROR_SUCCESS) break;  // ERROR_NO_MORE_ITEMS, or the key went away
        names.emplace_back(buffer.data(), size);
        ++index;
    }
    return names;
}

bool DeleteKeyIn64BitView(HKEY root, const std::string& path) {
    using DeleteKeyExFn = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);
    // RegDeleteKeyExA is the call that honours the view flag; systems without it
    // (32-bit XP) have no second view either.
    static const auto deleteKeyEx = reinterpret_cast<DeleteKeyExFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("advapi32.dll"), "RegDeleteKeyExA")));
    if (deleteKeyEx) return deleteKeyEx(root, path.c_str(), KEY_WOW64_64KEY, 0) == ERROR_SUCCESS;
    return ::RegDeleteKeyA(root, path.c_str()) == ERROR_SUCCESS;
}

bool DeleteTreeBelow(RootKey root, const std::string& path) {
    std::vector<std::string> children;
    {
        ScopedKey key(OpenRaw(root, path, KEY_READ));
        if (!key) return false;
        KeyCounts counts;
        if (!QueryCounts(key.get(), counts)) return false;
        children = EnumerateNames(key.get(), counts.maxSubKeyLen,
                                  [](HKEY k, DWORD i, char* buf, DWORD* size) {
                                      return ::RegEnumKeyExA(k, i, buf, size, nullptr, nullptr,
                                                             nullptr, nullptr);
                                  });
    }
    for (const auto& child : children) DeleteTreeBelow(root, path + "\\" + child);
    return DeleteKeyIn64BitView(RootHandle(root), path);
}

}  // namespace

Registry::Handle Win32Registry::Open(RootKey root, const std::string& path, KeyAccess access) {
    return AsHandle(OpenRaw(root, path, access == KeyAccess::All ? KEY_ALL_ACCESS : KEY_READ));
}

Registry::Handle Win32Registry::OpenBelow(Handle parent, const std::string& path,
                                          KeyAccess access) {
    if (!parent) return 0;
    HKEY key = nullptr;
    const REGSAM rights = access == KeyAccess::All ? KEY_ALL_ACCESS : KEY_READ;
    if (::RegOpenKeyExA(AsKey(parent), path.c_str(), 0, rights | KEY_WOW64_64KEY, &key) !=
        ERROR_SUCCESS)
        return 0;
    return AsHandle(key);
}

Registry::Handle Win32Registry::Create(RootKey root, const std::string& path) {
    HKEY rootKey = RootHandle(root);
    if (!rootKey) return 0;
    HKEY key = nullptr;
    std::string subKey = WithoutLeadingBackslash(path);
    if (::RegCreateKeyExA(rootKey, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return 0;
    return AsHandle(key);
}

void Win32Registry::Close(Handle key) {
    ScopedKey owned(AsKey(key));  // closes on leaving, unless it is a predefined root
}

std::vector<std::string> Win32Registry::SubKeyNames(Handle key) {
    KeyCounts counts;
    if (!key || !QueryCounts(AsKey(key), counts)) return {};
    return EnumerateNames(AsKey(key), counts.maxSubKeyLen,
                          [](HKEY k, DWORD i, char* buf, DWORD* size) {
                              return ::RegEnumKeyExA(k, i, buf, size, nullptr, nullptr, nullptr,
                                                     nullptr);
                          });
}

std::vector<std::string> Win32Registry::ValueNames(Handle key) {
    KeyCounts counts;
    if (!key || !QueryCounts(AsKey(key), counts)) return {};
    return EnumerateNames(AsKey(key), counts.maxValueNameLen,
                          [](HKEY k, DWORD i, char* buf, DWORD* size) {
                              return ::RegEnumValueA(k, i, buf, size, nullptr, nullptr, nullptr,
                                                     nullptr);
                          });
}

std::optional<RegValue> Win32Registry::Query(Handle key, const std::string& name) {
    if (!key) return std::nullopt;
    DWORD type = REG_NONE;
    DWORD size = 0;
    LONG rc = ::RegQueryValueExA(AsKey(key), name.c_str(), nullptr, &type, nullptr, &size);
    if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) return std::nullopt;
    std::string data;
    // The value can grow between the size query and the read; ask again until it fits.
    for (;;) {
        data.assign(size, '\0');
        DWORD got = size;
        rc = ::RegQueryValueExA(AsKey(key), name.c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(data.data()), &got);
        if (rc == ERROR_MORE_DATA) {
            size = got > size ? got : size * 2 + 16;
            continue;
        }
        if (rc != ERROR_SUCCESS) return std::nullopt;
        data.resize(got);
        break;
    }
    RegValue value;
    value.type = static_cast<RegType>(type);
    value.data = std::move(data);
    return value;
}

bool Win32Registry::Set(Handle key, const std::string& name, const RegValue& value) {
    if (!key) return false;
    // RegSetValueExA counts one more byte for a text value whose last byte is not zero when
    // the byte after it is zero (a forgotten terminator, as it assumes). The data is copied
    // with a non-zero byte behind it so that exactly the bytes given are stored.
    std::string bytes = value.data;
    bytes.push_back('\x01');
    return ::RegSetValueExA(AsKey(key), name.c_str(), 0, static_cast<DWORD>(value.type),
                            reinterpret_cast<const BYTE*>(bytes.data()),
                            static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteValue(Handle key, const std::string& name) {
    if (!key) return false;
    return ::RegDeleteValueA(AsKey(key), name.c_str()) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteTree(RootKey root, const std::string& path) {
    std::string subKey = WithoutLeadingBackslash(path);
    if (subKey.empty()) return false;  // a root itself is never deleted
    return DeleteTreeBelow(root, subKey);
}

}  // namespace platform::win32

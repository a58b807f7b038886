#include "core/engine/startup/follow/ClassServers.h"

#include <cctype>

#include "core/engine/startup/RegistryText.h"

namespace zorvik {

namespace {

struct ClassRegistry {
    platform::RootKey root;
    const char* rootName;
    const char* key;
};

constexpr ClassRegistry kClassRegistries[] = {
    {platform::RootKey::CurrentUser, "HKEY_CURRENT_USER", "Software\\Classes\\CLSID\\"},
    {platform::RootKey::LocalMachine, "HKEY_LOCAL_MACHINE", "Software\\Classes\\CLSID\\"},
    {platform::RootKey::LocalMachine, "HKEY_LOCAL_MACHINE",
     "Software\\Classes\\Wow6432Node\\CLSID\\"},
};

constexpr const char* kServerKeys[] = {"InprocServer32", "LocalServer32"};

std::string Trimmed(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

}  // namespace

bool IsClassId(const std::string& text) {
    const std::string id = Trimmed(text);
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    if (id.size() != 38 || id.front() != '{' || id.back() != '}') return false;
    for (std::size_t i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? id[i] != '-' : !std::isxdigit(static_cast<unsigned char>(id[i]))) return false;
    }
    return true;
}

std::vector<ClassServer> ClassServersOf(platform::Registry& reg, const std::string& classId) {
    std::vector<ClassServer> servers;
    if (!IsClassId(classId)) return servers;
    const std::string id = Trimmed(classId);
    for (const ClassRegistry& registry : kClassRegistries) {
        const std::string classKey = registry.key + id;
        const platform::RegKey key =
            platform::OpenKey(reg, registry.root, classKey, platform::KeyAccess::Read);
        if (!key) continue;
        for (const char* server : kServerKeys) {
            const platform::RegKey serverKey =
                platform::OpenKeyBelow(reg, key.get(), server, platform::KeyAccess::Read);
            if (!serverKey) continue;
            std::optional<std::string> text = ReadTextValue(reg, serverKey.get(), "");
            if (!text || text->empty()) continue;
            servers.push_back({std::string(registry.rootName) + "\\" + classKey + "\\" + server,
                               std::move(*text)});
        }
    }
    return servers;
}

}  // namespace zorvik

#include <optional>

#include "core/base/untFunc.h"
#include "core/engine/startup/RegistryText.h"
#include "core/engine/startup/kinds/RegistryKind.h"

namespace zorvik {
namespace {

// Every text value of one key; values of other types are passed over.
void ReadValues(PlaceReading& reading, const std::string& rootName, platform::RootKey root,
                const std::string& path) {
    platform::Registry& reg = reading.sys().registry();
    platform::RegKey key = platform::OpenKey(reg, root, path, platform::KeyAccess::Read);
    if (!key) return;
    std::optional<std::uint32_t> spot;
    for (const std::string& valueName : reg.ValueNames(key.get())) {
        auto text = ReadTextValue(reg, key.get(), valueName);
        if (!text || text->empty()) continue;
        if (!spot) spot = reading.AddSpot(StartupKind::Reg, rootName, path);
        reading.AddText(*spot, *text, valueName);
    }
}

}  // namespace

void ReadRegistryPlaces(const ScanRule& rule, PlaceReading& reading) {
    const platform::RootKey root = RootKeyFromName(rule.root);
    if (root == platform::RootKey::None) return;
    platform::Registry& reg = reading.sys().registry();
    switch (rule.regAction) {
        case RegAction::Check: {
            platform::RegKey key = platform::OpenKey(reg, root, rule.key, platform::KeyAccess::Read);
            if (!key) return;
            if (auto text = ReadTextValue(reg, key.get(), rule.name))
                reading.AddText(reading.AddSpot(StartupKind::Reg, rule.root, rule.key), *text,
                                rule.name);
            break;
        }
        case RegAction::Enum:
            ReadValues(reading, rule.root, root, rule.key);
            break;
        case RegAction::Enum2: {
            std::vector<std::string> subKeys;
            {
                platform::RegKey key =
                    platform::OpenKey(reg, root, rule.key, platform::KeyAccess::Read);
                if (!key) return;
                subKeys = reg.SubKeyNames(key.get());
            }
            for (const std::string& subKey : subKeys)
                ReadValues(reading, rule.root, root, rule.key + "\\" + subKey);
            break;
        }
        case RegAction::Match:
            ReadMatchPlaces(rule, root, reading);
            break;
        case RegAction::None:
            break;
    }
}

void WatchRegistryPlaces(const ScanRule& rule, WatchedPlaceList& places) {
    if (rule.regAction == RegAction::None) return;
    if (rule.regAction == RegAction::Match) {
        // The keys a "*" part stands for appear and go below the fixed part before it.
        const std::string& key = rule.key;
        std::string fixed;
        std::size_t start = 0;
        while (start <= key.size()) {
            std::size_t end = key.find('\\', start);
            if (end == std::string::npos) end = key.size();
            const std::string part = key.substr(start, end - start);
            if (part.find('*') != std::string::npos) break;
            if (!part.empty()) fixed += (fixed.empty() ? "" : "\\") + part;
            start = end + 1;
        }
        places.AddKey(RootKeyFromName(rule.root), fixed, true);
        return;
    }
    places.AddKey(RootKeyFromName(rule.root), rule.key, rule.regAction == RegAction::Enum2);
}

}  // namespace zorvik

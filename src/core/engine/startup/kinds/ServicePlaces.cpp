#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "core/base/untFunc.h"
#include "core/engine/startup/RegistryText.h"
#include "core/engine/startup/kinds/ServiceKind.h"

namespace zorvik {

namespace {

constexpr const char* kImagePathValue = "ImagePath";
constexpr const char* kParametersKey = "Parameters";
constexpr const char* kServiceDllValue = "ServiceDll";

const char* const kStartTypeNames[] = {"boot", "system", "automatic", "manual", "disabled"};

// One service: its key opened once for ImagePath and Start, its Parameters once for ServiceDll.
void ReadService(const ScanRule& rule, platform::RootKey root, const std::string& service,
                 PlaceReading& reading) {
    platform::Registry& reg = reading.sys().registry();
    const std::string path = rule.key + "\\" + service;
    std::vector<std::pair<std::string, std::string>> texts;
    StartupSpot spot;
    spot.kind = StartupKind::Svc;
    spot.where = rule.root;
    spot.key = path;
    spot.ident = service;
    {
        const platform::RegKey key = platform::OpenKey(reg, root, path, platform::KeyAccess::Read);
        if (!key) return;
        if (auto text = ReadTextValue(reg, key.get(), kImagePathValue))
            texts.emplace_back(kImagePathValue, std::move(*text));
        spot.startType = ReadStartType(reg, key.get());
    }
    {
        const platform::RegKey parameters =
            platform::OpenKey(reg, root, path + "\\" + kParametersKey, platform::KeyAccess::Read);
        if (auto text = ReadTextValue(reg, parameters.get(), kServiceDllValue))
            texts.emplace_back(std::string(kParametersKey) + "\\" + kServiceDllValue,
                               std::move(*text));
    }
    texts.erase(std::remove_if(texts.begin(), texts.end(),
                               [](const auto& text) { return text.second.empty(); }),
                texts.end());
    if (texts.empty()) return;
    spot.off = spot.startType == kServiceDisabled;
    const std::uint32_t at = reading.AddSpot(std::move(spot));
    for (auto& [valueName, text] : texts) reading.AddText(at, text, valueName);
}

}  // namespace

void ReadServicePlaces(const ScanRule& rule, PlaceReading& reading) {
    const platform::RootKey root = RootKeyFromName(rule.root);
    if (root == platform::RootKey::None) return;
    platform::Registry& reg = reading.sys().registry();
    std::vector<std::string> services;
    {
        const platform::RegKey key =
            platform::OpenKey(reg, root, rule.key, platform::KeyAccess::Read);
        if (!key) return;
        services = reg.SubKeyNames(key.get());
    }
    for (const std::string& service : services) ReadService(rule, root, service, reading);
}

std::optional<std::uint32_t> ReadStartType(platform::Registry& reg, platform::Registry::Handle key) {
    const std::optional<platform::RegValue> value = reg.Query(key, kStartValue);
    if (!value || value->type != platform::RegType::Dword || value->data.size() < 4) return std::nullopt;
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i)
        number = (number << 8) | static_cast<unsigned char>(value->data[static_cast<std::size_t>(i)]);
    return number;
}

std::string StartTypeText(std::optional<std::uint32_t> startType) {
    if (!startType) return "unknown";
    if (*startType < std::size(kStartTypeNames)) return kStartTypeNames[*startType];
    return std::to_string(*startType);
}

}  // namespace zorvik

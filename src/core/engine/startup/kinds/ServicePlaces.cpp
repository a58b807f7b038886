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

// One service, below the open Services key: its key opened once for ImagePath and Start, its
// Parameters once for ServiceDll.
void ReadService(const ScanRule& rule, platform::Registry::Handle services,
                 const std::string& service, PlaceReading& reading) {
    platform::Registry& reg = reading.sys().registry();
    const platform::RegKey key =
        platform::OpenKeyBelow(reg, services, service, platform::KeyAccess::Read);
    if (!key) return;
    std::vector<std::pair<std::string, std::string>> texts;
    if (auto text = ReadTextValue(reg, key.get(), kImagePathValue); text && !text->empty())
        texts.emplace_back(kImagePathValue, std::move(*text));
    {
        const platform::RegKey parameters =
            platform::OpenKeyBelow(reg, key.get(), kParametersKey, platform::KeyAccess::Read);
        if (auto text = ReadTextValue(reg, parameters.get(), kServiceDllValue); text && !text->empty())
            texts.emplace_back(std::string(kParametersKey) + "\\" + kServiceDllValue, std::move(*text));
    }
    if (texts.empty()) return;
    StartupSpot spot;
    spot.kind = StartupKind::Svc;
    spot.where = rule.root;
    spot.key = rule.key + "\\" + service;
    spot.ident = service;
    spot.startType = ReadStartType(reg, key.get());
    spot.off = spot.startType == kServiceDisabled;
    const std::uint32_t at = reading.AddSpot(std::move(spot));
    for (auto& [valueName, text] : texts) reading.AddText(at, text, valueName);
}

}  // namespace

void ReadServicePlaces(const ScanRule& rule, PlaceReading& reading) {
    const platform::RootKey root = RootKeyFromName(rule.root);
    if (root == platform::RootKey::None) return;
    platform::Registry& reg = reading.sys().registry();
    const platform::RegKey services = platform::OpenKey(reg, root, rule.key, platform::KeyAccess::Read);
    if (!services) return;
    for (const std::string& service : reg.SubKeyNames(services.get()))
        ReadService(rule, services.get(), service, reading);
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

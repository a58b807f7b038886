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
// The command the service manager runs when the service fails (its recovery options).
constexpr const char* kFailureCommandValue = "FailureCommand";
constexpr const char* kParametersKey = "Parameters";
constexpr const char* kServiceDllValue = "ServiceDll";
// How a hit names the DLL's value: below the service's key.
constexpr const char* kServiceDllName = "Parameters\\ServiceDll";

const char* const kStartTypeNames[] = {"boot", "system", "automatic", "manual", "disabled"};

// One service, below the open Services key: its key opened once for ImagePath, FailureCommand,
// ServiceDll and Start, its Parameters once for ServiceDll.
void ReadService(const ScanRule& rule, platform::Registry::Handle services,
                 const std::string& service, PlaceReading& reading) {
    platform::Registry& reg = reading.sys().registry();
    const platform::RegKey key =
        platform::OpenKeyBelow(reg, services, service, platform::KeyAccess::Read);
    if (!key) return;
    std::vector<std::pair<std::string, std::string>> texts;
    // svchost.exe takes ServiceDll from the service's own key when Parameters has none.
    for (const char* valueName : {kImagePathValue, kFailureCommandValue, kServiceDllValue}) {
        std::optional<std::string> command = ReadTextValue(reg, key.get(), valueName);
        if (command && !command->empty()) texts.emplace_back(valueName, std::move(*command));
    }
    {
        const platform::RegKey parameters =
            platform::OpenKeyBelow(reg, key.get(), kParametersKey, platform::KeyAccess::Read);
        std::optional<std::string> dll = ReadTextValue(reg, parameters.get(), kServiceDllValue);
        if (dll && !dll->empty()) texts.emplace_back(kServiceDllName, std::move(*dll));
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
    const platform::RegKey services =
        platform::OpenKey(reg, root, rule.key, platform::KeyAccess::Read);
    if (!services) return;
    for (const std::string& service : reg.SubKeyNames(services.get()))
        ReadService(rule, services.get(), service, reading);
}

std::optional<std::uint32_t> ReadStartType(platform::Registry& reg,
                                           platform::Registry::Handle key) {
    const std::optional<platform::RegValue> value = reg.Query(key, kStartValue);
    if (!value || value->type != platform::RegType::Dword || value->data.size() < 4)
        return std::nullopt;
    // Little-endian, as Windows stores a REG_DWORD.
    std::uint32_t number = 0;
    for (std::size_t i = 4; i-- > 0;)
        number = (number << 8) | static_cast<unsigned char>(value->data[i]);
    return number;
}

std::string StartTypeText(std::optional<std::uint32_t> startType) {
    if (!startType) return "unknown";
    if (*startType < std::size(kStartTypeNames)) return kStartTypeNames[*startType];
    return std::to_string(*startType);
}

void WatchServicePlaces(const ScanRule& rule, WatchedPlaceList& places) {
    places.AddKey(RootKeyFromName(rule.root), rule.key, true);
}

}  // namespace zorvik

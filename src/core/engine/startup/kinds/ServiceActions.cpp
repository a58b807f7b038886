#include <optional>

#include "core/base/untFunc.h"
#include "core/engine/startup/kinds/ServiceKind.h"

namespace zorvik {

PlaceOpening ServiceOpening(const SvcStart& hit) {
    return {kRegistryEditor, {}, hit.Root + "\\" + hit.Key};
}

DisableOutcome DisableService(platform::System& sys, const SvcStart& hit) {
    platform::Registry& reg = sys.registry();
    const platform::RootKey root = RootKeyFromName(hit.Root);
    // Gone since the scan: nothing starts from it any more.
    if (!platform::OpenKey(reg, root, hit.Key, platform::KeyAccess::Read))
        return {DisableResult::Unchanged, {}};
    // A service of the machine without administrator rights.
    const platform::RegKey key = platform::OpenKey(reg, root, hit.Key, platform::KeyAccess::All);
    if (!key) return {DisableResult::RegistryRefused, {}};
    const std::optional<platform::RegValue> start = reg.Query(key.get(), kStartValue);
    // Kept as it was, so that disabling twice cannot lose the way back.
    if (ReadStartType(reg, key.get()) == kServiceDisabled) return {DisableResult::Disabled, {}};
    if (start && !reg.Set(key.get(), kFormerStartValue, *start))
        return {DisableResult::RegistryRefused, {}};
    platform::RegValue disabled;
    disabled.type = platform::RegType::Dword;
    disabled.data = std::string{static_cast<char>(kServiceDisabled), 0, 0, 0};
    if (!reg.Set(key.get(), kStartValue, disabled)) {
        if (start) reg.DeleteValue(key.get(), kFormerStartValue);
        return {DisableResult::RegistryRefused, {}};
    }
    return {DisableResult::Disabled, {}};
}

}  // namespace zorvik

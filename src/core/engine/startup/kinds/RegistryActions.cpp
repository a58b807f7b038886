#include <optional>

#include "core/base/untFunc.h"
#include "core/engine/startup/RegistryText.h"
#include "core/engine/startup/kinds/RegistryKind.h"

namespace zorvik {

PlaceOpening RegistryOpening(const RegStart& hit) {
    // The editor opens at the key named by "LastKey"; it is started even without it.
    return {"regedit.exe", {}, hit.Root + "\\" + hit.Key};
}

DisableOutcome DisableRegistryValue(platform::System& sys, const RegStart& hit) {
    platform::Registry& reg = sys.registry();
    const platform::RegKey key =
        platform::OpenKey(reg, RootKeyFromName(hit.Root), hit.Key, platform::KeyAccess::All);
    // Missing, or full access refused (a machine-wide key without administrator rights).
    if (!key) return {DisableResult::Unchanged, {}};
    const std::optional<platform::RegValue> value = reg.Query(key.get(), hit.Name);
    // Gone since the scan: writing it now would add a start-up entry, not disable one.
    if (!value) return {DisableResult::Unchanged, {}};
    if (!IsTextType(value->type) && !value->data.empty()) return {DisableResult::RegistryRefused, {}};
    const std::string text = value->data.substr(0, value->data.find('\0'));
    // An expandable string stays expandable, so that its variables still work when enabled again.
    platform::RegValue disabled;
    disabled.type = IsTextType(value->type) ? value->type : platform::RegType::Sz;
    disabled.data = DisabledCommand(sys, text) + '\0';
    if (!reg.Set(key.get(), hit.Name, disabled)) return {DisableResult::RegistryRefused, {}};
    return {DisableResult::Disabled, {}};
}

}  // namespace zorvik

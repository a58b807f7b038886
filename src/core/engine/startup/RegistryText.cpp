#include "core/engine/startup/RegistryText.h"

namespace zorvik {

std::optional<std::string> ReadTextValue(platform::Registry& reg, platform::Registry::Handle key,
                                         const std::string& name) {
    if (key == 0) return std::nullopt;
    std::optional<platform::RegValue> value = reg.Query(key, name);
    if (!value || !IsTextType(value->type)) return std::nullopt;
    const std::string& data = value->data;
    return data.substr(0, data.find('\0'));
}

}  // namespace zorvik

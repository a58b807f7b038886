#include <optional>

#include "core/base/AsciiLower.h"
#include "core/base/FixedTexts.h"
#include "core/base/untFunc.h"
#include "core/engine/startup/RegistryText.h"
#include "core/engine/startup/kinds/RegistryKind.h"

namespace zorvik {

namespace {

// The list's data with ".bak" joined to the program in the strings the hit stands for: those
// naming it and not disabled yet, or, when each one naming it is disabled, all of them once
// more, as for any disabled entry. The rest of the data stays byte for byte. Nothing when no
// string names the program.
std::optional<std::string> DisabledList(platform::System& sys, const std::string& data,
                                        const std::string& programFileName) {
    const std::string name = AsciiLower(programFileName);
    // An empty name would be found in every string.
    if (name.empty()) return std::nullopt;
    std::vector<StringPiece> naming;
    bool anyEnabled = false;
    for (const StringPiece& piece : MultiStringPieces(data)) {
        const std::string lowered = AsciiLower(data.substr(piece.offset, piece.length));
        if (lowered.find(name) == std::string::npos) continue;
        naming.push_back(piece);
        if (lowered.find(name + kBackupSuffix) == std::string::npos) anyEnabled = true;
    }
    if (naming.empty()) return std::nullopt;
    std::string rewritten;
    std::size_t copied = 0;
    for (const StringPiece& piece : naming) {
        const std::string text = data.substr(piece.offset, piece.length);
        if (anyEnabled && AsciiLower(text).find(name + kBackupSuffix) != std::string::npos)
            continue;
        rewritten += data.substr(copied, piece.offset - copied) + DisabledCommand(sys, text);
        copied = piece.offset + piece.length;
    }
    return rewritten + data.substr(copied);
}

}  // namespace

PlaceOpening RegistryOpening(const RegStart& hit) {
    // The editor opens at the key named by "LastKey"; it is started even without it.
    return {kRegistryEditor, {}, hit.Root + "\\" + hit.Key};
}

DisableOutcome DisableRegistryValue(platform::System& sys, const RegStart& hit,
                                    const std::string& programFileName) {
    platform::Registry& reg = sys.registry();
    const platform::RegKey key =
        platform::OpenKey(reg, RootKeyFromName(hit.Root), hit.Key, platform::KeyAccess::All);
    // Missing, or full access refused (a machine-wide key without administrator rights).
    if (!key) return {DisableResult::Unchanged, {}};
    const std::optional<platform::RegValue> value = reg.Query(key.get(), hit.Name);
    // Gone since the scan: writing it now would add a start-up entry, not disable one.
    if (!value) return {DisableResult::Unchanged, {}};
    platform::RegValue disabled;
    if (value->type == platform::RegType::MultiSz) {
        std::optional<std::string> list = DisabledList(sys, value->data, programFileName);
        if (!list) return {DisableResult::Unchanged, {}};
        disabled = {value->type, std::move(*list)};
    } else {
        if (!IsTextType(value->type) && !value->data.empty())
            return {DisableResult::RegistryRefused, {}};
        const std::string text = value->data.substr(0, value->data.find('\0'));
        // An expandable string stays expandable, so that its variables still work when
        // enabled again.
        disabled.type = IsTextType(value->type) ? value->type : platform::RegType::Sz;
        disabled.data = DisabledCommand(sys, text) + '\0';
    }
    if (!reg.Set(key.get(), hit.Name, disabled)) return {DisableResult::RegistryRefused, {}};
    return {DisableResult::Disabled, {}};
}

}  // namespace zorvik

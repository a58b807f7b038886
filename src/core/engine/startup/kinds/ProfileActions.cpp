#include "core/engine/startup/kinds/ProfileKind.h"

namespace zorvik {

PlaceOpening ProfileOpening(const IniStart& hit) {
    // The name exactly as the rule gives it: a bare name is the editor's to find.
    return {kTextEditor, hit.FileName, std::nullopt};
}

DisableOutcome DisableProfileEntry(platform::System& sys, const IniStart& hit) {
    platform::Profile& profile = sys.profile();
    const std::string value = profile.ReadString(hit.FileName, hit.Section, hit.Ident, "");
    if (!profile.WriteString(hit.FileName, hit.Section, hit.Ident, DisabledCommand(sys, value)))
        return {DisableResult::ProfileNotWritten, hit.FileName};
    return {DisableResult::Disabled, {}};
}

}  // namespace zorvik

#include "core/base/FixedTexts.h"
#include "core/engine/startup/kinds/ShortcutKind.h"

namespace zorvik {

PlaceOpening ShortcutOpening(const LnkStart& hit) {
    return {kFileManager, SelectInFileManager(hit.Folder + "\\" + hit.Entry), std::nullopt};
}

DisableOutcome DisableShortcut(platform::System& sys, const LnkStart& hit) {
    const std::string shortcut = hit.Folder + "\\" + hit.Entry;
    if (hit.Entry.empty() || !sys.files().Move(shortcut, shortcut + kBackupSuffix))
        return {DisableResult::Unchanged, {}};
    return {DisableResult::Disabled, {}};
}

}  // namespace zorvik

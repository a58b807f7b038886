#include "core/base/FixedTexts.h"
#include "core/engine/startup/kinds/FolderKind.h"

namespace zorvik {

PlaceOpening FolderOpening(const FilStart& hit) { return {std::nullopt, hit.Path, std::nullopt}; }

DisableOutcome DisableFolderEntry(platform::System& sys, const FilStart& hit,
                                  const std::string& programFileName) {
    if (programFileName.empty()) return {DisableResult::Unchanged, {}};
    const std::string target = hit.Path + "\\" + programFileName;
    if (!sys.files().Move(target, target + kBackupSuffix)) return {DisableResult::Unchanged, {}};
    return {DisableResult::Disabled, {}};
}

}  // namespace zorvik

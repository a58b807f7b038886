#include "core/base/FixedTexts.h"
#include "core/engine/startup/kinds/ShimKind.h"

namespace zorvik {

PlaceOpening ShimOpening(const FileEntryStart& hit) {
    return {kFileManager, SelectInFileManager(hit.File), std::nullopt};
}

DisableOutcome DisableShimDatabase(platform::System& sys, const FileEntryStart& hit) {
    if (hit.File.empty() || !sys.files().Move(hit.File, hit.File + kBackupSuffix))
        return {DisableResult::Unchanged, {}};
    return {DisableResult::Disabled, {}};
}

}  // namespace zorvik

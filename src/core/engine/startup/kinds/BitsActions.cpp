#include "core/engine/startup/kinds/BitsKind.h"

namespace zorvik {

DisableOutcome DisableBitsJob(platform::System& sys, const BitsStart& hit) {
    platform::BackgroundTransfers* transfers = sys.transfers();
    if (transfers && transfers->Suspend(hit.Id)) return {DisableResult::Disabled, {}};
    return {DisableResult::JobRefused, hit.Job};
}

}  // namespace zorvik

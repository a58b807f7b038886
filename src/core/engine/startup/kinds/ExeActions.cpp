#include "core/base/PathParts.h"
#include "core/engine/startup/kinds/ExeKind.h"

namespace zorvik {

PlaceOpening ExeOpening(const ExeStart& hit) {
    return {std::nullopt, ProgramFolderOf(hit.Path), std::nullopt};
}

}  // namespace zorvik

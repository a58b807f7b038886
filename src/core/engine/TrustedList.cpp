#include "core/engine/TrustedList.h"

#include "core/base/AsciiLower.h"

namespace zorvik {

bool IsTrusted(const TrustedList& list, const std::string& path) {
    const std::string wanted = AsciiLower(path);
    const std::size_t count = list.Count();
    for (std::size_t i = 0; i < count; ++i) {
        if (AsciiLower(list.Entry(i)) == wanted) return true;
    }
    return false;
}

}  // namespace zorvik

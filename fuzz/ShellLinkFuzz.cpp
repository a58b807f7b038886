// The shortcut parser over any bytes: it ends, every size it follows stays inside the input,
// and what it returns is consistent with itself.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/parse/ShellLink.h"
#include "support/FuzzCheck.h"

namespace {

using zorvik::parse::ShellLinkTargetSource;

void CheckText(const std::optional<std::string>& text, std::size_t inputSize) {
    if (!text) return;
    // Texts end at their first zero, and no part is longer than the input (a share and a
    // suffix are joined by one backslash).
    FUZZ_CHECK(text->find('\0') == std::string::npos);
    FUZZ_CHECK(text->size() <= inputSize + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto link = zorvik::parse::ParseShellLink(bytes);
    if (!link) return 0;
    for (const auto* text :
         {&link->linkInfoPath, &link->environmentTarget, &link->idListPath, &link->name,
          &link->relativePath, &link->workingDirectory, &link->arguments, &link->iconLocation}) {
        CheckText(*text, size);
    }
    const std::optional<std::string>* chosen = nullptr;
    switch (link->targetSource) {
        case ShellLinkTargetSource::None: break;
        case ShellLinkTargetSource::LinkInfo: chosen = &link->linkInfoPath; break;
        case ShellLinkTargetSource::EnvironmentVariables: chosen = &link->environmentTarget; break;
        case ShellLinkTargetSource::IdList: chosen = &link->idListPath; break;
        case ShellLinkTargetSource::RelativePath: chosen = &link->relativePath; break;
    }
    FUZZ_CHECK(chosen ? (*chosen && **chosen == link->target && !link->target.empty())
                      : link->target.empty());
    return 0;
}

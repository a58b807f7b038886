// Windows Terminal's settings reader over any bytes: it ends, its command line comes from
// inside the input, and taking the comments out never lengthens a text or leaves one of its
// comments behind outside a string.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/parse/TerminalSettings.h"
#include "support/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string stripped = zorvik::parse::WithoutJsonComments(bytes);
    FUZZ_CHECK(stripped.size() <= size);
    // Stripping what is left changes nothing more.
    FUZZ_CHECK(zorvik::parse::WithoutJsonComments(stripped).size() <= stripped.size());
    const auto startup = zorvik::parse::ParseTerminalSettings(bytes);
    if (!startup) return 0;
    FUZZ_CHECK(startup->commandLine.size() <= size && startup->profile.size() <= size);
    return 0;
}

// Script texts over any bytes: lines hold no line ends and come from inside the input, and the
// programs an unquoted line tries are prefixes of it, in order.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/parse/ScriptText.h"
#include "core/parse/UnquotedCommand.h"
#include "support/FuzzCheck.h"

namespace {

void CheckCandidates(const std::string& line) {
    const std::string text = line.substr(line.find_first_not_of(" \t") == std::string::npos
                                             ? line.size()
                                             : line.find_first_not_of(" \t"));
    std::size_t previousLength = 0;
    for (const std::string& candidate : zorvik::parse::UnquotedProgramCandidates(line)) {
        const bool asWritten = text.compare(0, candidate.size(), candidate) == 0;
        const std::string stem =
            candidate.size() >= 4 ? candidate.substr(0, candidate.size() - 4) : "";
        const bool withExe = candidate.ends_with(".exe") && text.compare(0, stem.size(), stem) == 0;
        FUZZ_CHECK(asWritten || withExe);
        const std::size_t length = asWritten ? candidate.size() : stem.size();
        FUZZ_CHECK(length > previousLength && length < text.size());
        FUZZ_CHECK(text[length] == ' ' || text[length] == '\t');
        previousLength = length;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto script = zorvik::parse::DecodeScriptText(bytes);
    std::size_t total = 0;
    for (const std::string& line : script.lines) {
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
        total += line.size();
        CheckCandidates(line);
    }
    FUZZ_CHECK(total <= size);
    return 0;
}

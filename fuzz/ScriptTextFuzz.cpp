// Script texts over any bytes: lines hold no line ends and come from inside the input, the
// programs an unquoted line tries are prefixes of it, in order, the script names a line
// mentions are pieces of it with a script's extension, within their bounds, and a line written
// back in any encoding reads as it was.
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

// A script's line written back in any encoding reads as it was.
void CheckWrittenBack(const std::string& line) {
    using zorvik::parse::TextEncoding;
    for (const TextEncoding encoding :
         {TextEncoding::Utf8, TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        const std::string bytes = zorvik::parse::EncodeAnsi(line, encoding);
        FUZZ_CHECK(zorvik::parse::DecodeToAnsi(bytes, encoding) == line);
    }
}

void CheckScriptNames(const std::string& line) {
    const auto mentions = zorvik::parse::ScriptNamesIn(line);
    FUZZ_CHECK(mentions.size() <= zorvik::parse::kMaxScriptMentions);
    for (const auto& names : mentions) {
        FUZZ_CHECK(!names.empty() && names.size() <= zorvik::parse::kMaxScriptNameStarts);
        std::size_t previousLength = 0;
        for (const std::string& name : names) {
            FUZZ_CHECK(zorvik::parse::IsScriptFileName(name));
            FUZZ_CHECK(name.size() <= zorvik::parse::kMaxScriptNameLength);
            FUZZ_CHECK(name.size() > previousLength);
            FUZZ_CHECK(line.find(name) != std::string::npos);
            previousLength = name.size();
        }
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
        CheckScriptNames(line);
        CheckWrittenBack(line);
    }
    FUZZ_CHECK(total <= size);
    return 0;
}

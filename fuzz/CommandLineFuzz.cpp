// The command-line helpers over any text: the first line is a pattern, the second a
// replacement, the rest the command (or text) they work on.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/base/untFunc.h"
#include "platform/sim/system/SimSystem.h"
#include "support/FuzzCheck.h"
#include "support/FuzzFields.h"

namespace {

void CheckReplaceAll(const std::string& text, const std::string& pattern,
                     const std::string& replacement) {
    const std::string result = zorvik::ReplaceAll(text, pattern, replacement);
    if (pattern.empty()) {
        FUZZ_CHECK(result == text);
        return;
    }
    if (replacement.size() < pattern.size()) {
        // Searched again until none is left.
        FUZZ_CHECK(result.find(pattern) == std::string::npos);
        FUZZ_CHECK(result.size() <= text.size());
    } else {
        // Each occurrence of the original text replaced once: the growth is bounded.
        const std::size_t most = text.size() / pattern.size();
        FUZZ_CHECK(result.size() <= text.size() + most * (replacement.size() - pattern.size()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const auto fields = fuzz::SplitFields(input, '\n', 3);
    const std::string pattern = fuzz::FieldAt(fields, 0);
    const std::string replacement = fuzz::FieldAt(fields, 1);
    const std::string command = fuzz::FieldAt(fields, 2);

    CheckReplaceAll(command, pattern, replacement);
    CheckReplaceAll(input, pattern, replacement);

    for (const std::string& text : {input, command}) {
        const std::string backup = zorvik::MakeBackupCommand(text);
        FUZZ_CHECK(backup.size() == text.size() + 4);
        FUZZ_CHECK(backup.find(".bak") != std::string::npos);

        const std::string name = zorvik::ExtractProgramName(text);
        FUZZ_CHECK(text.find(name) != std::string::npos);
    }

    // A machine on which some of the commands name programs that exist.
    platform::sim::SimSystem sys;
    sys.fs().AddFile("C:\\Program Files\\Some App\\app.exe", "MZ");
    sys.fs().AddFile("C:\\WINDOWS\\system32\\svc.exe", "MZ");
    sys.fs().SetShortName("C:\\Program Files", "PROGRA~1");
    const std::string path = zorvik::ExtractProgramPath(sys, command);
    FUZZ_CHECK(path.empty() || zorvik::PathExists(sys, path));
    return 0;
}

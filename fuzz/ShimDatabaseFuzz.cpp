// The shim database reader over any bytes: it ends (nested lists bounded), its texts come from
// inside the input, and a whole database followed by a tag of no known type keeps what it read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/parse/ShimDatabase.h"
#include "support/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto database = zorvik::parse::ParseShimDatabase(bytes);
    FUZZ_CHECK(database.has_value() == (size >= 12 && bytes.compare(8, 4, "sdbf") == 0));
    if (!database) return 0;
    for (const std::string& dll : database->shimDlls) {
        FUZZ_CHECK(!dll.empty() && dll.find('\0') == std::string::npos);
        FUZZ_CHECK(dll.size() * 2 <= size);
    }
    for (const auto& fix : database->fixes) {
        for (const std::string* text : {&fix.program, &fix.shim, &fix.commandLine}) {
            FUZZ_CHECK(text->find('\0') == std::string::npos);
            FUZZ_CHECK(text->size() * 2 <= size);
        }
    }
    if (!database->complete) return 0;
    // A tag of an unknown type after the last one ends the reading there and changes nothing
    // read before it.
    const auto longer = zorvik::parse::ParseShimDatabase(bytes + std::string("\x01\xA0", 2));
    FUZZ_CHECK(longer && !longer->complete && longer->shimDlls == database->shimDlls &&
               longer->fixes.size() == database->fixes.size());
    return 0;
}

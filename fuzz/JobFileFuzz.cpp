// The XP job file parser over any bytes: it ends, its texts come from inside the input, and
// what follows the comment never changes what it reads.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/parse/JobFile.h"
#include "support/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto job = zorvik::parse::ParseJobFile(bytes);
    if (!job) return 0;
    std::size_t total = 0;
    for (const std::string* text : {&job->applicationName, &job->parameters, &job->workingDirectory,
                                    &job->author, &job->comment}) {
        FUZZ_CHECK(text->find('\0') == std::string::npos);
        total += text->size();
    }
    FUZZ_CHECK(total * 2 <= size);

    const auto longer = zorvik::parse::ParseJobFile(bytes + std::string("\x07\x00\xFF\xFF", 4));
    FUZZ_CHECK(longer && longer->applicationName == job->applicationName &&
               longer->parameters == job->parameters &&
               longer->workingDirectory == job->workingDirectory && longer->author == job->author &&
               longer->comment == job->comment && longer->disabled == job->disabled);
    return 0;
}

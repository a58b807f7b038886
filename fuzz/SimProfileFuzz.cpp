// The simulated profile reader over any file bytes: the profile calls see every section, key
// and value whole, the text survives being written back, and a write loses nothing else.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/base/AsciiLower.h"
#include "platform/sim/system/SimIni.h"
#include "platform/sim/system/SimSystem.h"
#include "support/FuzzCheck.h"

namespace {

// Enough names to meet duplicates and odd lines, few enough that one input stays cheap.
constexpr std::size_t kNamesLooked = 16;

const std::string kFile = "C:\\WINDOWS\\fuzz.ini";
const std::string kWrittenSection = "Fuzz Written";

struct Entry {
    std::string section, key, value;
};

std::vector<Entry> EntriesOf(platform::Profile& profile) {
    std::vector<Entry> entries;
    const std::vector<std::string> sections = profile.SectionNames(kFile);
    for (std::size_t s = 0; s < sections.size() && s < kNamesLooked; ++s) {
        const std::vector<std::string> keys = profile.KeyNames(kFile, sections[s]);
        for (std::size_t k = 0; k < keys.size() && k < kNamesLooked; ++k)
            entries.push_back({sections[s], keys[k],
                               profile.ReadString(kFile, sections[s], keys[k], "")});
    }
    return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const platform::sim::IniText text(bytes);
    const std::vector<std::string> sections = text.SectionNames();

    platform::sim::SimSystem sys;
    sys.fs().AddFile(kFile, bytes);
    platform::Profile& profile = sys.profile();

    // No name and no value is lost to a buffer.
    FUZZ_CHECK(profile.SectionNames(kFile) == sections);
    for (std::size_t s = 0; s < sections.size() && s < kNamesLooked; ++s) {
        const std::vector<std::string> keys = text.KeyNames(sections[s]);
        FUZZ_CHECK(profile.KeyNames(kFile, sections[s]) == keys);
        for (std::size_t k = 0; k < keys.size() && k < kNamesLooked; ++k) {
            const auto raw = text.Value(sections[s], keys[k]);
            FUZZ_CHECK(raw.has_value());
            FUZZ_CHECK(profile.ReadString(kFile, sections[s], keys[k], "") ==
                       platform::sim::ProfileValueText(*raw, raw->size() + 3));
        }
    }

    // Written back as it was read, the text reads the same.
    const platform::sim::IniText again(text.Serialize());
    FUZZ_CHECK(again.SectionNames() == sections);

    // A write of one key changes nothing but that key.
    const std::vector<Entry> before = EntriesOf(profile);
    if (!profile.WriteString(kFile, kWrittenSection, "Key", "Value")) return 0;
    FUZZ_CHECK(profile.ReadString(kFile, kWrittenSection, "Key", "") == "Value");
    const std::vector<Entry> after = EntriesOf(profile);
    std::size_t a = 0;
    for (const Entry& entry : before) {
        if (zorvik::AsciiLower(entry.section) == zorvik::AsciiLower(kWrittenSection)) continue;
        while (a < after.size() &&
               zorvik::AsciiLower(after[a].section) == zorvik::AsciiLower(kWrittenSection))
            ++a;
        // The listing past kNamesLooked may shift when the new section comes first.
        if (a >= after.size()) break;
        FUZZ_CHECK(after[a].section == entry.section && after[a].key == entry.key &&
                   after[a].value == entry.value);
        ++a;
    }
    return 0;
}

// The settings reader over any Settings.ini, and the whole-number reading of its values.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/report/SavedScanSettings.h"
#include "core/settings/SettingsFile.h"
#include "platform/sim/system/SimSystem.h"
#include "support/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    platform::sim::SimSystem sys;
    const std::string file = zorvik::SettingsFilePath(sys);
    sys.fs().AddFile(file, bytes);

    const zorvik::SavedScanSettings settings = zorvik::ReadSavedScanSettings(sys);
    FUZZ_CHECK(settings.found);
    // Every key of the trusted section gives its entry.
    FUZZ_CHECK(settings.trusted.size() ==
               sys.profile().KeyNames(file, zorvik::kTrustedSection).size());
    const std::string stored = zorvik::ReadSettingsText(sys, file, zorvik::kIgnoreSafeSetting, "");
    FUZZ_CHECK(settings.ignoreSafe == (zorvik::SettingsIntOf(stored, 0) != 0));

    // A decimal in the 32-bit range reads as itself; any text reads as something.
    int decimal = 0;
    const auto [end, error] = std::from_chars(stored.data(), stored.data() + stored.size(), decimal);
    if (error == std::errc() && end == stored.data() + stored.size() && !stored.empty())
        FUZZ_CHECK(zorvik::SettingsIntOf(stored, decimal == 7 ? 8 : 7) == decimal);
    zorvik::SettingsIntOf(bytes, 0);
    return 0;
}

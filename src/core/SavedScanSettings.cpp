#include "core/SavedScanSettings.h"

#include <cstdlib>

#include "core/PathParts.h"
#include "core/untFunc.h"

namespace zorvik {

namespace {

constexpr const char* kSettingsFileName = "Settings.ini";

long long SavedInteger(const std::string& text) {
    std::size_t start = 0;
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        start = 2;
        base = 16;
    } else if (text.size() > 1 && text[0] == '$') {
        start = 1;
        base = 16;
    }
    if (start == text.size()) return 0;
    const char* begin = text.c_str() + start;
    char* end = nullptr;
    const long long value = std::strtoll(begin, &end, base);
    if (end == begin || *end != '\0') return 0;
    return value;
}

}  // namespace

SavedScanSettings ReadSavedScanSettings(platform::System& sys) {
    SavedScanSettings settings;
    settings.file = ProgramFolderOf(sys.files().OwnPath()) + kSettingsFileName;
    settings.found = PathExists(sys, settings.file);
    if (!settings.found) return settings;

    platform::Profile& profile = sys.profile();
    for (const std::string& key : profile.KeyNames(settings.file, "Trusted"))
        settings.trusted.push_back(profile.ReadString(settings.file, "Trusted", key, ""));
    settings.ignoreSafe = SavedInteger(profile.ReadString(settings.file, "Core", "IgnoreSafe", "0")) != 0;
    return settings;
}

}  // namespace zorvik

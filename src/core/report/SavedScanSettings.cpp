#include "core/report/SavedScanSettings.h"

#include "core/base/untFunc.h"
#include "core/settings/SettingsFile.h"

namespace zorvik {

SavedScanSettings ReadSavedScanSettings(platform::System& sys) {
    SavedScanSettings settings;
    settings.file = SettingsFilePath(sys);
    settings.found = PathExists(sys, settings.file);
    if (!settings.found) return settings;

    settings.trusted = ReadTrustedEntries(sys, settings.file);
    settings.ignoreSafe = ReadSettingsBool(sys, settings.file, kIgnoreSafeSetting, false);
    return settings;
}

}  // namespace zorvik

#include "core/settings/StartWithWindows.h"

#include <string>

namespace zorvik {

namespace {

const std::string kRunKeyPath = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\run";
const std::string kRunValueName = "Zorvik";

// The path is quoted: a Run value with an unquoted path holding blanks is read by Windows
// word by word, so C:\Program Files\x.exe could start C:\Program.exe instead.
std::string RunCommand(platform::System& sys) {
    std::string command = "\"";
    command += sys.files().OwnPath();
    command += "\" s";
    return command;
}

}  // namespace

bool StartWithWindows(platform::System& sys, int mode) {
    if (mode != kRunValueQuery && mode != kRunValueRegister && mode != kRunValueRemove)
        return false;
    platform::Registry& reg = sys.registry();
    const platform::RegKey runKey = platform::OpenKey(
        reg, platform::RootKey::CurrentUser, kRunKeyPath,
        mode == kRunValueQuery ? platform::KeyAccess::Read : platform::KeyAccess::All);
    if (!runKey) return false;

    switch (mode) {
        case kRunValueQuery:
            return reg.Query(runKey.get(), kRunValueName).has_value();
        case kRunValueRegister: {
            platform::RegValue value;
            value.type = platform::RegType::Sz;
            value.data = RunCommand(sys) + '\0';
            reg.Set(runKey.get(), kRunValueName, value);
            return false;
        }
        default:
            reg.DeleteValue(runKey.get(), kRunValueName);
            return false;
    }
}

}  // namespace zorvik

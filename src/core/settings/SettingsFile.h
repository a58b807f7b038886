#pragma once
// Settings.ini beside the program: where it is and how its values read and write. Every access
// goes through the profile functions and lets go of the file at once; nothing is cached.
#include <string>
#include <vector>

#include "core/settings/SettingsKeys.h"
#include "platform/System.h"

namespace zorvik {

// "Settings.ini" in the program's folder.
std::string SettingsFilePath(platform::System& sys);

// A stored whole number: signed decimal, or hexadecimal after "0x"/"0X" when the text is longer
// than those two characters, within the 32-bit range (hexadecimal up to 8 digits, taken as the
// bit pattern). Anything else, or a missing key, gives fallback.
int SettingsIntOf(const std::string& text, int fallback);
int ReadSettingsInt(platform::System& sys, const std::string& file, const SettingsKey& where,
                    int fallback);
// Stored as an integer: any value but 0 is true.
bool ReadSettingsBool(platform::System& sys, const std::string& file, const SettingsKey& where,
                      bool fallback);
// The stored text as it is; fallback when the key is missing.
std::string ReadSettingsText(platform::System& sys, const std::string& file,
                             const SettingsKey& where, const std::string& fallback);

// Every value of section "Trusted", keys in file order whatever their names.
std::vector<std::string> ReadTrustedEntries(platform::System& sys, const std::string& file);

// A run of writes that stops at the first one the system refuses: the writes after it are
// skipped, the ones before it stay in the file.
class SettingsWriter {
public:
    SettingsWriter(platform::System& sys, std::string file);

    void EraseSection(const std::string& section);
    void WriteText(const SettingsKey& where, const std::string& value);
    void WriteInt(const SettingsKey& where, int value);
    // "1" or "0".
    void WriteBool(const SettingsKey& where, bool value);

    // False once a write has been refused.
    bool Ok() const { return ok_; }

private:
    platform::System& sys_;
    std::string file_;
    bool ok_ = true;
};

}  // namespace zorvik

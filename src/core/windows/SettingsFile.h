#pragma once
// Settings.ini beside the program: where it is and how its values read and write. Every access
// goes through the profile functions and lets go of the file at once; nothing is cached.
#include <string>
#include <vector>

#include "core/base/FixedTexts.h"
#include "platform/System.h"

namespace zorvik {

// The program's folder joined with "Settings.ini".
std::string SettingsFilePath(platform::System& sys);

// A stored whole number: signed decimal, or hexadecimal after "0x"/"0X" when the text is longer
// than those two characters, within the 32-bit range (hexadecimal up to 8 digits, taken as the
// bit pattern). Anything else, or a missing key, gives fallback.
int SettingsIntOf(const std::string& text, int fallback);
int ReadSettingsInt(platform::System& sys, const std::string& file, const std::string& section,
                    const std::string& key, int fallback);
// Stored as an integer: any value but 0 is true.
bool ReadSettingsBool(platform::System& sys, const std::string& file, const std::string& section,
                      const std::string& key, bool fallback);

// Every value of section "Trusted", keys in file order whatever their names.
std::vector<std::string> ReadTrustedEntries(platform::System& sys, const std::string& file);

// A run of writes that stops at the first one the system refuses: the writes after it are
// skipped, the ones before it stay in the file.
class SettingsWriter {
public:
    SettingsWriter(platform::System& sys, std::string file);

    void EraseSection(const std::string& section);
    void WriteText(const std::string& section, const std::string& key, const std::string& value);
    void WriteInt(const std::string& section, const std::string& key, int value);
    // "1" or "0".
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // False once a write has been refused.
    bool Ok() const { return ok_; }

private:
    platform::System& sys_;
    std::string file_;
    bool ok_ = true;
};

}  // namespace zorvik

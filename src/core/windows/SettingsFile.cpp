#include "core/windows/SettingsFile.h"

#include <cstdint>
#include <limits>

#include "core/base/PathParts.h"

namespace zorvik {

namespace {

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value < base ? value : -1;
}

}  // namespace

std::string SettingsFilePath(platform::System& sys) {
    return ProgramFolderOf(sys.files().OwnPath()) + kSettingsFileName;
}

int SettingsIntOf(const std::string& text, int fallback) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        if (text.size() - 2 > 8) return fallback;
        std::uint32_t bits = 0;
        for (std::size_t i = 2; i < text.size(); ++i) {
            const int digit = DigitValue(text[i], 16);
            if (digit < 0) return fallback;
            bits = bits * 16 + static_cast<std::uint32_t>(digit);
        }
        return static_cast<int>(bits);
    }
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return fallback;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<int>::min())
                                        : std::numeric_limits<int>::max();
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], 10);
        if (digit < 0) return fallback;
        value = value * 10 + digit;
        if (value > limit) return fallback;
    }
    return static_cast<int>(negative ? -value : value);
}

int ReadSettingsInt(platform::System& sys, const std::string& file, const std::string& section,
                    const std::string& key, int fallback) {
    return SettingsIntOf(sys.profile().ReadString(file, section, key, ""), fallback);
}

bool ReadSettingsBool(platform::System& sys, const std::string& file, const std::string& section,
                      const std::string& key, bool fallback) {
    return ReadSettingsInt(sys, file, section, key, fallback ? 1 : 0) != 0;
}

std::vector<std::string> ReadTrustedEntries(platform::System& sys, const std::string& file) {
    platform::Profile& profile = sys.profile();
    std::vector<std::string> entries;
    for (const std::string& key : profile.KeyNames(file, "Trusted"))
        entries.push_back(profile.ReadString(file, "Trusted", key, ""));
    return entries;
}

SettingsWriter::SettingsWriter(platform::System& sys, std::string file)
    : sys_(sys), file_(std::move(file)) {}

void SettingsWriter::EraseSection(const std::string& section) {
    if (ok_) ok_ = sys_.profile().EraseSection(file_, section);
}

void SettingsWriter::WriteText(const std::string& section, const std::string& key,
                               const std::string& value) {
    if (ok_) ok_ = sys_.profile().WriteString(file_, section, key, value);
}

void SettingsWriter::WriteInt(const std::string& section, const std::string& key, int value) {
    WriteText(section, key, std::to_string(value));
}

void SettingsWriter::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteText(section, key, value ? "1" : "0");
}

}  // namespace zorvik

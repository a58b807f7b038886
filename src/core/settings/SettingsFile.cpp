#include "core/settings/SettingsFile.h"

#include <cstdint>

#include "core/base/BesideProgram.h"
#include "core/base/FixedTexts.h"
#include "core/base/IntText.h"

namespace zorvik {

namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string SettingsFilePath(platform::System& sys) {
    return FileBesideProgram(sys, kSettingsFileName);
}

int SettingsIntOf(const std::string& text, int fallback) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        if (text.size() - 2 > 8) return fallback;
        std::uint32_t bits = 0;
        for (std::size_t i = 2; i < text.size(); ++i) {
            const int digit = HexDigitValue(text[i]);
            if (digit < 0) return fallback;
            bits = bits * 16 + static_cast<std::uint32_t>(digit);
        }
        return static_cast<int>(bits);
    }
    int value = fallback;
    ParseDecimalInt(text, value);
    return value;
}

int ReadSettingsInt(platform::System& sys, const std::string& file, const SettingsKey& where,
                    int fallback) {
    return SettingsIntOf(ReadSettingsText(sys, file, where, ""), fallback);
}

bool ReadSettingsBool(platform::System& sys, const std::string& file, const SettingsKey& where,
                      bool fallback) {
    return ReadSettingsInt(sys, file, where, fallback ? 1 : 0) != 0;
}

std::string ReadSettingsText(platform::System& sys, const std::string& file,
                             const SettingsKey& where, const std::string& fallback) {
    return sys.profile().ReadString(file, where.section, where.key, fallback);
}

std::vector<std::string> ReadTrustedEntries(platform::System& sys, const std::string& file) {
    platform::Profile& profile = sys.profile();
    std::vector<std::string> entries;
    for (const std::string& key : profile.KeyNames(file, kTrustedSection))
        entries.push_back(profile.ReadString(file, kTrustedSection, key, ""));
    return entries;
}

SettingsWriter::SettingsWriter(platform::System& sys, std::string file)
    : sys_(sys), file_(std::move(file)) {}

void SettingsWriter::EraseSection(const std::string& section) {
    if (ok_) ok_ = sys_.profile().EraseSection(file_, section);
}

void SettingsWriter::WriteText(const SettingsKey& where, const std::string& value) {
    if (ok_) ok_ = sys_.profile().WriteString(file_, where.section, where.key, value);
}

void SettingsWriter::WriteInt(const SettingsKey& where, int value) {
    WriteText(where, std::to_string(value));
}

void SettingsWriter::WriteBool(const SettingsKey& where, bool value) {
    WriteText(where, value ? "1" : "0");
}

}  // namespace zorvik

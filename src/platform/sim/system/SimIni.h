#pragma once
// The text of a profile (INI) file as GetPrivateProfileStringA and WritePrivateProfileStringA
// see it: lines kept as written, so that a write changes only the lines it must.
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform::sim {

class IniText {
public:
    explicit IniText(const std::string& bytes);

    // Section headers in file order (duplicates included, empty names left out).
    std::vector<std::string> SectionNames() const;
    // Keys of the first section of that name, in file order. Lines without '=' and comment
    // lines (starting with ';') are not keys.
    std::vector<std::string> KeyNames(const std::string& section) const;
    // The raw value (blanks trimmed, quotes kept) of the first matching key of the first
    // matching section.
    std::optional<std::string> Value(const std::string& section, const std::string& key) const;

    // Replaces the key's value, or adds the key after the last line of its section, or adds
    // the section with the key at the end of the file.
    void Set(const std::string& section, const std::string& key, const std::string& value);
    // Removes the first section of that name with all its lines; false when there is none.
    bool EraseSection(const std::string& section);

    // The file's text, every line ended by CR LF.
    std::string Serialize() const;

private:
    enum class Kind { Blank, Comment, Section, Key, Other };
    struct Line {
        std::string text;
        Kind kind = Kind::Other;
        std::string name;   // section or key name
        std::string value;  // key value, trimmed
    };
    static Line Classify(const std::string& text);
    // Index of the header line of the first section of that name, or -1.
    int FindSection(const std::string& section) const;
    // One past the last line of the section whose header is at index header.
    std::size_t SectionEnd(std::size_t header) const;

    std::vector<Line> lines_;
    // Lower-cased section name -> its first header line, built at the first lookup and dropped
    // by every change: a rules file of thousands of sections is read entry by entry.
    mutable std::optional<std::unordered_map<std::string, int>> sectionIndex_;
};

// Keeps the names that fit whole in a buffer of bufferSize bytes, as the name lists of
// GetPrivateProfileStringA come back: see the rule in SimIni.cpp.
std::vector<std::string> NamesThatFit(const std::vector<std::string>& names, std::size_t bufferSize);

// What GetPrivateProfileStringA returns for a stored value: one pair of matching quotes
// removed, cut to bufferSize - 1 characters.
std::string ProfileValueText(const std::string& rawValue, std::size_t bufferSize);

}  // namespace platform::sim

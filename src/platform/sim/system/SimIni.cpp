#include "platform/sim/system/SimIni.h"

#include "platform/sim/system/SimText.h"

namespace platform::sim {

IniText::IniText(const std::string& bytes) {
    std::string current;
    bool pending = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            lines_.push_back(Classify(current));
            current.clear();
            pending = false;
        } else {
            current += c;
            pending = true;
        }
    }
    if (pending) lines_.push_back(Classify(current));
}

IniText::Line IniText::Classify(const std::string& text) {
    Line line;
    line.text = text;
    std::string trimmed = TrimBlanks(text);
    if (trimmed.empty()) {
        line.kind = Kind::Blank;
    } else if (trimmed[0] == '[' && trimmed.find(']') != std::string::npos) {
        line.kind = Kind::Section;
        std::size_t close = trimmed.rfind(']');
        line.name = TrimBlanks(std::string_view(trimmed).substr(1, close - 1));
    } else if (trimmed[0] == ';') {
        line.kind = Kind::Comment;
    } else if (std::size_t eq = trimmed.find('='); eq != std::string::npos) {
        line.kind = Kind::Key;
        line.name = TrimBlanks(std::string_view(trimmed).substr(0, eq));
        line.value = TrimBlanks(std::string_view(trimmed).substr(eq + 1));
    } else {
        line.kind = Kind::Other;  // a line without '=': neither listed nor read
    }
    return line;
}

std::vector<std::string> IniText::SectionNames() const {
    std::vector<std::string> names;
    for (const auto& line : lines_)
        if (line.kind == Kind::Section && !line.name.empty()) names.push_back(line.name);
    return names;
}

int IniText::FindSection(const std::string& section) const {
    if (!sectionIndex_) {
        sectionIndex_.emplace();
        for (std::size_t i = 0; i < lines_.size(); ++i)
            if (lines_[i].kind == Kind::Section)
                sectionIndex_->emplace(ToLowerAscii(lines_[i].name), static_cast<int>(i));
    }
    const auto found = sectionIndex_->find(ToLowerAscii(TrimBlanks(section)));
    return found == sectionIndex_->end() ? -1 : found->second;
}

std::size_t IniText::SectionEnd(std::size_t header) const {
    std::size_t end = header + 1;
    while (end < lines_.size() && lines_[end].kind != Kind::Section) ++end;
    return end;
}

std::vector<std::string> IniText::KeyNames(const std::string& section) const {
    std::vector<std::string> names;
    int header = FindSection(section);
    if (header < 0) return names;
    for (std::size_t i = header + 1; i < SectionEnd(header); ++i)
        if (lines_[i].kind == Kind::Key && !lines_[i].name.empty()) names.push_back(lines_[i].name);
    return names;
}

std::optional<std::string> IniText::Value(const std::string& section, const std::string& key) const {
    int header = FindSection(section);
    if (header < 0) return std::nullopt;
    std::string wanted = TrimBlanks(key);
    for (std::size_t i = header + 1; i < SectionEnd(header); ++i)
        if (lines_[i].kind == Kind::Key && EqualsNoCase(lines_[i].name, wanted)) return lines_[i].value;
    return std::nullopt;
}

void IniText::Set(const std::string& section, const std::string& key, const std::string& value) {
    std::string keyName = TrimBlanks(key);
    std::string written = TrimBlanks(value);
    int header = FindSection(section);
    sectionIndex_.reset();  // every branch below moves or adds lines
    if (header < 0) {
        std::string header = "[";
        header.append(TrimBlanks(section)).append("]");
        lines_.push_back(Classify(header));
        lines_.push_back(Classify(keyName + "=" + written));
        return;
    }
    std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (lines_[i].kind == Kind::Key && EqualsNoCase(lines_[i].name, keyName)) {
            lines_[i] = Classify(lines_[i].name + "=" + written);
            return;
        }
    }
    // After the section's last line that is not blank, so blank lines before the next
    // section stay where they are.
    std::size_t insertAt = end;
    while (insertAt > static_cast<std::size_t>(header) + 1 && lines_[insertAt - 1].kind == Kind::Blank)
        --insertAt;
    lines_.insert(lines_.begin() + insertAt, Classify(keyName + "=" + written));
}

bool IniText::EraseSection(const std::string& section) {
    int header = FindSection(section);
    if (header < 0) return false;
    sectionIndex_.reset();
    lines_.erase(lines_.begin() + header, lines_.begin() + SectionEnd(header));
    return true;
}

std::string IniText::Serialize() const {
    std::string out;
    for (const auto& line : lines_) out += line.text + "\r\n";
    return out;
}

// GetPrivateProfileStringA with a null section (or key) copies each name and its zero byte
// while there is room. A name that does not fit is cut to the room left and the buffer ends
// with two zero bytes; the call then returns bufferSize - 2 ("section1\0section2\0section3\0"
// needs 28 bytes with the list's final zero: in 27 bytes it comes back as
// "section1\0section2\0section\0\0", 25). Windows gives bufferSize - 2 also when the last name
// fits exactly (26 for 28 bytes) or when the list ends with one byte to spare (27 for 29), so
// the count cannot tell a cut name from a whole one. The platform therefore leaves out the last
// name whenever the call returns bufferSize - 2. What remains: names are seen, in order, while
// each one with its zero byte still leaves three bytes of the buffer free; the first that does
// not ends the list.
std::vector<std::string> NamesThatFit(const std::vector<std::string>& names, std::size_t bufferSize) {
    std::vector<std::string> kept;
    std::size_t used = 0;
    for (const auto& name : names) {
        if (used + name.size() + 1 + 3 > bufferSize) break;
        kept.push_back(name);
        used += name.size() + 1;
    }
    return kept;
}

std::string ProfileValueText(const std::string& rawValue, std::size_t bufferSize) {
    std::size_t room = bufferSize ? bufferSize - 1 : 0;
    if (rawValue.size() >= 2 && (rawValue[0] == '"' || rawValue[0] == '\'') &&
        rawValue.back() == rawValue[0]) {
        std::string afterQuote = rawValue.substr(1);
        // The closing quote goes only when it lies within what the buffer takes.
        if (afterQuote.size() <= room) return afterQuote.substr(0, afterQuote.size() - 1);
        return afterQuote.substr(0, room);
    }
    return rawValue.substr(0, room);
}

}  // namespace platform::sim

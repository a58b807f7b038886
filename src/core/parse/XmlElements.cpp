#include "core/parse/XmlElements.h"

#include <optional>
#include <utility>

#include "core/base/AnsiCodePage.h"
#include "core/parse/UnicodeText.h"

namespace zorvik::parse {

namespace {

constexpr std::string_view kBlanks = " \t\r\n";
constexpr std::string_view kCommentStart = "<!--", kCommentEnd = "-->";
constexpr std::string_view kCDataStart = "<![CDATA[", kCDataEnd = "]]>";
constexpr std::string_view kInstructionStart = "<?", kInstructionEnd = "?>";
constexpr std::string_view kDeclarationStart = "<!";
constexpr std::string_view kEndTagStart = "</";

struct PredefinedEntity {
    std::string_view name;
    char value;
};
constexpr PredefinedEntity kPredefinedEntities[] = {
    {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};

// No reference is longer; a '&' without a ';' this close stays as written.
constexpr std::size_t kLongestReference = 16;
constexpr char32_t kLastCharacter = 0x10FFFF;

std::optional<char> CharacterReference(std::string_view digits, unsigned base) {
    if (digits.empty()) return std::nullopt;
    char32_t value = 0;
    for (const char c : digits) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value > kLastCharacter) return std::nullopt;
    }
    if (value == 0) return std::nullopt;
    return AnsiByteOf(value);
}

std::optional<char> ReferenceValue(std::string_view reference) {
    for (const PredefinedEntity& entity : kPredefinedEntities) {
        if (reference == entity.name) return entity.value;
    }
    if (reference.substr(0, 2) == "#x") return CharacterReference(reference.substr(2), 16);
    if (reference.substr(0, 1) == "#") return CharacterReference(reference.substr(1), 10);
    return std::nullopt;
}

void AppendCharacterData(std::string& out, std::string_view data) {
    for (std::size_t at = 0; at < data.size();) {
        const std::size_t amp = data.find('&', at);
        out.append(data.substr(at, amp - at));
        if (amp == std::string_view::npos) return;
        at = amp;
        const std::size_t length = data.substr(at + 1, kLongestReference).find(';');
        if (length != std::string_view::npos) {
            if (const auto value = ReferenceValue(data.substr(at + 1, length))) {
                out += *value;
                at += length + 2;
                continue;
            }
        }
        out += data[at++];
    }
}

// The position of the '>' that ends the tag whose name starts at `from`, quoted attribute
// values passed over; npos when the text ends first or a '<' shows the tag was never closed.
std::size_t EndOfTag(std::string_view text, std::size_t from) {
    char quote = '\0';
    for (std::size_t at = from; at < text.size(); ++at) {
        const char c = text[at];
        if (quote != '\0') {
            if (c == quote) quote = '\0';
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return at;
        } else if (c == '<') {
            return std::string_view::npos;
        }
    }
    return std::string_view::npos;
}

// The '>' that ends a declaration such as <!DOCTYPE ... [ ... ]>, past its internal subset.
std::size_t EndOfDeclaration(std::string_view text, std::size_t from) {
    char quote = '\0';
    std::size_t brackets = 0;
    for (std::size_t at = from; at < text.size(); ++at) {
        const char c = text[at];
        if (quote != '\0') {
            if (c == quote) quote = '\0';
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '[') {
            ++brackets;
        } else if (c == ']' && brackets > 0) {
            --brackets;
        } else if (c == '>' && brackets == 0) {
            return at;
        }
    }
    return std::string_view::npos;
}

// The length of the name a tag starts with: up to its first blank.
std::size_t EndOfName(std::string_view tag) {
    std::size_t at = 0;
    while (at < tag.size() && kBlanks.find(tag[at]) == std::string_view::npos) ++at;
    return at;
}

std::string_view LocalName(std::string_view qualifiedName) {
    const std::size_t colon = qualifiedName.rfind(':');
    return colon == std::string_view::npos ? qualifiedName : qualifiedName.substr(colon + 1);
}

}  // namespace

TextEncoding XmlDocumentEncoding(std::string_view bytes) {
    TextEncoding encoding = TextEncoding::Utf8;
    if (bytes.substr(0, 2) == std::string_view("<\0", 2)) encoding = TextEncoding::Utf16Le;
    if (bytes.substr(0, 2) == std::string_view("\0<", 2)) encoding = TextEncoding::Utf16Be;
    return EncodingByByteOrderMark(bytes, encoding);
}

std::string XmlDocumentToAnsi(std::string_view bytes) {
    const TextEncoding encoding = XmlDocumentEncoding(bytes);
    return DecodeToAnsi(bytes.substr(ByteOrderMarkLength(bytes, encoding)), encoding);
}

std::string TrimXmlBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

bool ReadXmlElements(std::string_view text, XmlElementVisitor& visitor) {
    std::vector<std::string> path;
    // Per open element: its start tag's '<' and the end of that tag.
    std::vector<std::pair<std::size_t, std::size_t>> starts;
    std::string data;
    std::size_t at = 0;
    for (;;) {
        const std::size_t open = text.find('<', at);
        // Character data outside the root element is of no element.
        if (!path.empty()) AppendCharacterData(data, text.substr(at, open - at));
        if (open == std::string_view::npos) return false;  // no root, or one left open
        const std::string_view markup = text.substr(open);

        // Only "<!" and "<?" open anything but a tag; most markup is tags.
        const bool declarationOrInstruction =
            markup.size() > 1 && (markup[1] == '!' || markup[1] == '?');
        std::string_view end;
        if (declarationOrInstruction) {
            if (markup.starts_with(kCommentStart)) {
                end = kCommentEnd;
            } else if (markup.starts_with(kCDataStart)) {
                end = kCDataEnd;
            } else if (markup.starts_with(kInstructionStart)) {
                end = kInstructionEnd;
            }
        }
        if (!end.empty()) {
            const std::size_t close = text.find(end, open + 2);
            if (close == std::string_view::npos) return false;
            if (markup.starts_with(kCDataStart) && !path.empty()) {
                data.append(
                    text.substr(open + kCDataStart.size(), close - open - kCDataStart.size()));
            }
            at = close + end.size();
            continue;
        }
        if (declarationOrInstruction && markup.starts_with(kDeclarationStart)) {
            const std::size_t close = EndOfDeclaration(text, open + kDeclarationStart.size());
            if (close == std::string_view::npos) return false;
            at = close + 1;
            continue;
        }

        const bool isEndTag = markup.starts_with(kEndTagStart);
        const std::size_t nameAt = open + (isEndTag ? kEndTagStart.size() : 1);
        const std::size_t close = EndOfTag(text, nameAt);
        if (close == std::string_view::npos) return false;
        const bool isEmptyElement = !isEndTag && close > nameAt && text[close - 1] == '/';
        const std::string_view tag = text.substr(nameAt, close - nameAt - (isEmptyElement ? 1 : 0));
        const std::string_view name = LocalName(tag.substr(0, EndOfName(tag)));
        at = close + 1;

        if (isEndTag) {
            if (path.empty() || path.back() != name) return false;
        } else {
            if (name.empty() || path.size() >= kXmlDepthLimit) return false;
            path.emplace_back(name);
            starts.emplace_back(open, at);
            data.clear();
            visitor.ElementStarted(path);
            if (!isEmptyElement) continue;
        }
        const auto [start, contentBegin] = starts.back();
        visitor.ElementSpanRead(path, {start, contentBegin, isEndTag ? open : at, at});
        visitor.ElementEnded(path, data);
        data.clear();
        path.pop_back();
        starts.pop_back();
        if (path.empty()) return true;  // the root has ended: what follows is no concern
    }
}

}  // namespace zorvik::parse

#include "core/parse/ShimDatabase.h"

#include <cstdint>

#include "core/parse/BinaryFields.h"
#include "core/parse/UnicodeText.h"

namespace zorvik::parse {

namespace {

constexpr std::size_t kHeaderLength = 12;
constexpr std::string_view kMagic = "sdbf";
constexpr std::size_t kMagicAt = 8;

constexpr std::uint16_t kTypeMask = 0xF000;
constexpr std::uint16_t kTypeNull = 0x1000;
constexpr std::uint16_t kTypeByte = 0x2000;
constexpr std::uint16_t kTypeWord = 0x3000;
constexpr std::uint16_t kTypeDword = 0x4000;
constexpr std::uint16_t kTypeQword = 0x5000;
constexpr std::uint16_t kTypeStringRef = 0x6000;
constexpr std::uint16_t kTypeList = 0x7000;
constexpr std::uint16_t kTypeString = 0x8000;
constexpr std::uint16_t kTypeBinary = 0x9000;

constexpr std::uint16_t kTagDatabase = 0x7001;
constexpr std::uint16_t kTagShim = 0x7004;
constexpr std::uint16_t kTagExe = 0x7007;
constexpr std::uint16_t kTagShimRef = 0x7009;
constexpr std::uint16_t kTagLayer = 0x700B;
constexpr std::uint16_t kTagStringTable = 0x7801;
// The text tags whose low 12 bits say what they name, as a reference or as a string.
constexpr std::uint16_t kNameId = 0x001;
constexpr std::uint16_t kCommandLineId = 0x008;
constexpr std::uint16_t kDllFileId = 0x00A;

// A tag with a length: the tag, then its 32-bit length, then the data.
constexpr std::size_t kSizedTagHeader = 6;

// Lists nest a few levels (database, library, shim); the bound also ends a crafted chain.
constexpr int kDepthLimit = 16;

// The bytes after a tag of the type, without a length: how many; none for the types with one.
std::optional<std::size_t> FixedLength(std::uint16_t type) {
    switch (type) {
        case kTypeNull: return 0;
        case kTypeByte: return 1;
        case kTypeWord: return 2;
        case kTypeDword:
        case kTypeStringRef: return 4;
        case kTypeQword: return 8;
        default: return std::nullopt;
    }
}

// One tag: where its data lies.
struct Tag {
    std::uint16_t tag = 0;
    std::size_t data = 0;
    std::size_t length = 0;
    std::size_t end = 0;
};

// The tag at the offset, within limit; none when it reaches past it.
std::optional<Tag> TagAt(std::string_view bytes, std::size_t at, std::size_t limit) {
    const auto tag = ReadU16(bytes, at);
    if (!tag || at + 2 > limit) return std::nullopt;
    const std::uint16_t type = *tag & kTypeMask;
    Tag read{*tag, at + 2, 0, 0};
    if (const std::optional<std::size_t> fixed = FixedLength(type)) {
        read.length = *fixed;
    } else if (type == kTypeList || type == kTypeString || type == kTypeBinary) {
        const auto length = ReadU32(bytes, at + 2);
        if (!length) return std::nullopt;
        read.data = at + kSizedTagHeader;
        read.length = *length;
    } else {
        return std::nullopt;
    }
    if (!HasBytes(bytes, read.data, read.length) || read.data + read.length > limit)
        return std::nullopt;
    read.end = read.data + read.length;
    return read;
}

std::string Utf16Text(std::string_view bytes, const Tag& tag) {
    return UpToFirstZero(DecodeToAnsi(bytes.substr(tag.data, tag.length), TextEncoding::Utf16Le));
}

// What a list holds directly: its texts, and the shims it refers to.
struct ListTexts {
    std::string name;
    std::string commandLine;
    std::string dllFile;
    std::vector<ShimFix> references;  // program left empty
};

class Reader {
public:
    Reader(std::string_view bytes, std::optional<Tag> stringTable, ShimDatabase& out)
        : bytes_(bytes), stringTable_(stringTable), out_(out) {}

    // The tags from begin to end, the children of one list.
    void ReadList(std::size_t begin, std::size_t end, int depth, ListTexts& texts) {
        for (std::size_t at = begin; at < end;) {
            const std::optional<Tag> tag = TagAt(bytes_, at, end);
            if (!tag) {
                out_.complete = false;
                return;
            }
            at = tag->end;
            const std::uint16_t type = tag->tag & kTypeMask;
            if (type == kTypeList) {
                if (depth >= kDepthLimit) {
                    out_.complete = false;
                    return;
                }
                ListTexts child;
                ReadList(tag->data, tag->end, depth + 1, child);
                Collect(tag->tag, std::move(child), texts);
            } else if (type == kTypeString || type == kTypeStringRef) {
                std::optional<std::string> text = TextOf(*tag);
                if (!text) continue;
                const std::uint16_t id = tag->tag & ~kTypeMask;
                if (id == kNameId) texts.name = std::move(*text);
                else if (id == kCommandLineId) texts.commandLine = std::move(*text);
                else if (id == kDllFileId) texts.dllFile = std::move(*text);
            }
        }
    }

private:
    void Collect(std::uint16_t tag, ListTexts child, ListTexts& parent) {
        switch (tag) {
            case kTagShim:
                if (!child.dllFile.empty()) out_.shimDlls.push_back(std::move(child.dllFile));
                break;
            case kTagShimRef:
                parent.references.push_back({{}, std::move(child.name), std::move(child.commandLine)});
                break;
            case kTagExe:
            case kTagLayer:
                for (ShimFix& fix : child.references) {
                    fix.program = child.name;
                    out_.fixes.push_back(std::move(fix));
                }
                break;
            default:
                break;
        }
    }

    // A string's text, or the string a reference names; none for a reference that leads
    // nowhere. A reference leads only into the string table's own list: bytes past it are not
    // the table's, and what follows the table must not change what a reference reads.
    std::optional<std::string> TextOf(const Tag& tag) {
        if ((tag.tag & kTypeMask) == kTypeString) return Utf16Text(bytes_, tag);
        if (!stringTable_) return std::nullopt;
        const std::size_t tableAt = stringTable_->data - kSizedTagHeader;
        const auto reference = ReadU32(bytes_, tag.data);
        if (!reference || *reference >= stringTable_->end - tableAt) return std::nullopt;
        const std::optional<Tag> item = TagAt(bytes_, tableAt + *reference, stringTable_->end);
        if (!item || (item->tag & kTypeMask) != kTypeString) return std::nullopt;
        return Utf16Text(bytes_, *item);
    }

    std::string_view bytes_;
    std::optional<Tag> stringTable_;
    ShimDatabase& out_;
};

}  // namespace

std::optional<ShimDatabase> ParseShimDatabase(std::string_view bytes) {
    if (!HasBytes(bytes, 0, kHeaderLength) || bytes.substr(kMagicAt, kMagic.size()) != kMagic)
        return std::nullopt;
    ShimDatabase database;
    // The top level first, for the string table that references anywhere lead into.
    std::optional<Tag> stringTable;
    std::vector<Tag> top;
    for (std::size_t at = kHeaderLength; at < bytes.size();) {
        const std::optional<Tag> tag = TagAt(bytes, at, bytes.size());
        if (!tag) {
            database.complete = false;
            break;
        }
        if (tag->tag == kTagStringTable && !stringTable) stringTable = *tag;
        top.push_back(*tag);
        at = tag->end;
    }
    Reader reader(bytes, stringTable, database);
    for (const Tag& tag : top) {
        if (tag.tag != kTagDatabase) continue;
        ListTexts texts;
        reader.ReadList(tag.data, tag.end, 1, texts);
        if (database.name.empty()) database.name = std::move(texts.name);
    }
    return database;
}

}  // namespace zorvik::parse

#include "core/parse/ShellItemPath.h"

#include <cstdint>

#include "core/parse/BinaryFields.h"
#include "core/parse/UnicodeText.h"

namespace zorvik::parse {

namespace {

// The kind of an item, in the high bits of its class byte.
constexpr unsigned kKindMask = 0x70;
constexpr unsigned kRootFolder = 0x10;
constexpr unsigned kVolume = 0x20;
constexpr unsigned kFileEntry = 0x30;
// A file entry whose own name is UTF-16 rather than ANSI.
constexpr unsigned kFileEntryUnicodeName = 0x04;

// The class id of "My Computer", {20D04FE0-3AEA-1069-A2D8-08002B30309D}, as stored.
constexpr std::string_view kMyComputer =
    "\xE0\x4F\xD0\x20\xEA\x3A\x69\x10\xA2\xD8\x08\x00\x2B\x30\x30\x9D";
constexpr std::size_t kRootClassIdAt = 4;
constexpr std::size_t kVolumeNameAt = 3;
constexpr std::size_t kFileEntryNameAt = 14;

// The extension block after a file entry's own name, which holds its long name.
constexpr std::uint32_t kFileEntryExtension = 0xBEEF0004;
constexpr std::size_t kExtensionHeader = 8;  // size, version, signature

// Where the long name starts in the extension block of each version; none before version 3.
std::size_t LongNameOffset(std::uint16_t version) {
    if (version >= 9) return 0x2E;
    if (version == 8) return 0x2A;
    if (version == 7) return 0x26;
    if (version >= 3) return 0x14;
    return 0;
}

std::string LongNameOf(std::string_view item, std::size_t extensionAt) {
    const auto size = ReadU16(item, extensionAt);
    const auto version = ReadU16(item, extensionAt + 2);
    const auto signature = ReadU32(item, extensionAt + 4);
    if (!size || !version || !signature || *signature != kFileEntryExtension) return {};
    if (*size < kExtensionHeader || !HasBytes(item, extensionAt, *size)) return {};
    const std::size_t nameAt = LongNameOffset(*version);
    if (nameAt == 0) return {};
    const auto name = Utf16ZeroEndedAt(item.substr(extensionAt, *size), nameAt);
    return name ? DecodeToAnsi(*name, TextEncoding::Utf16Le) : std::string();
}

// A file entry's long name where it has one, else its own (short or Unicode) name.
std::string FileEntryName(std::string_view item, unsigned itemClass) {
    std::string ownName;
    std::size_t afterName = 0;
    if (itemClass & kFileEntryUnicodeName) {
        const auto name = Utf16ZeroEndedAt(item, kFileEntryNameAt);
        if (!name) return {};
        ownName = DecodeToAnsi(*name, TextEncoding::Utf16Le);
        afterName = kFileEntryNameAt + name->size() + 2;
    } else {
        const auto name = ZeroEndedAt(item, kFileEntryNameAt);
        if (!name) return {};
        ownName = std::string(*name);
        afterName = kFileEntryNameAt + name->size() + 1;
        afterName += afterName % 2;  // the extension starts on an even offset
    }
    std::string longName = LongNameOf(item, afterName);
    return longName.empty() ? ownName : longName;
}

bool IsDriveName(std::string_view name) {
    const char letter = name.empty() ? '\0' : name[0];
    const bool isLetter = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
    return isLetter && name.size() >= 2 && name[1] == ':';
}

}  // namespace

bool IsWholeItemIdList(std::string_view list) {
    for (std::size_t at = 0;;) {
        // An item reaching past the list leaves no room for the zero size that ends it.
        const auto size = ReadU16(list, at);
        if (!size || *size == 1) return false;
        if (*size == 0) return true;
        at += *size;
    }
}

std::optional<std::string> FileSystemPathOfItems(std::string_view items) {
    std::string path;
    for (std::size_t at = 0; HasBytes(items, at, 2);) {
        const std::uint16_t size = *ReadU16(items, at);
        if (size == 0) break;
        if (size < 3 || !HasBytes(items, at, size)) return std::nullopt;
        const std::string_view item = items.substr(at, size);
        const unsigned itemClass = static_cast<unsigned char>(item[2]);
        switch (itemClass & kKindMask) {
            case kRootFolder:
                if (!path.empty() || !HasBytes(item, kRootClassIdAt, kMyComputer.size()) ||
                    item.substr(kRootClassIdAt, kMyComputer.size()) != kMyComputer) {
                    return std::nullopt;
                }
                break;
            case kVolume: {
                const auto name = ZeroEndedAt(item, kVolumeNameAt);
                if (!path.empty() || !name || !IsDriveName(*name)) return std::nullopt;
                path = std::string(*name);
                break;
            }
            case kFileEntry: {
                const std::string name = FileEntryName(item, itemClass);
                if (path.empty() || name.empty()) return std::nullopt;
                if (path.back() != '\\') path += '\\';
                path += name;
                break;
            }
            default: return std::nullopt;
        }
        at += size;
    }
    if (path.empty()) return std::nullopt;
    return path;
}

}  // namespace zorvik::parse

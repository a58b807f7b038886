#pragma once
// Shortcut files built from their parts, for the tests of the shortcut parser.
#include <cstdint>
#include <optional>
#include <string>

#include "unit/parse/ByteBuilder.h"

namespace parse_test {

inline const std::string kShellLinkClassId{
    "\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16};
inline const std::string kMyComputerClassId{
    "\xE0\x4F\xD0\x20\xEA\x3A\x69\x10\xA2\xD8\x08\x00\x2B\x30\x30\x9D", 16};

struct LinkParts {
    std::optional<std::string> idItems;  // the items, without list size or terminating zero
    std::string linkInfo;                // a whole link info structure, or none
    bool unicode = true;
    std::optional<std::string> name, relativePath, workingDirectory, arguments, iconLocation;
    std::string extraBlocks;  // the terminal block is added
    std::uint32_t moreFlags = 0;

    LinkParts& WithIdItems(const std::string& items) { return Set(idItems, items); }
    LinkParts& WithLinkInfo(const std::string& info) { return Set(linkInfo, info); }
    LinkParts& InAnsi() { return Set(unicode, false); }
    LinkParts& WithName(const std::string& text) { return Set(name, text); }
    LinkParts& WithRelativePath(const std::string& text) { return Set(relativePath, text); }
    LinkParts& WithWorkingDirectory(const std::string& text) { return Set(workingDirectory, text); }
    LinkParts& WithArguments(const std::string& text) { return Set(arguments, text); }
    LinkParts& WithExtraBlocks(const std::string& blocks) { return Set(extraBlocks, blocks); }
    LinkParts& WithMoreFlags(std::uint32_t flags) { return Set(moreFlags, flags); }

private:
    template <typename Field, typename Value>
    LinkParts& Set(Field& field, const Value& value) {
        field = value;
        return *this;
    }
};

inline std::string BuildShellLink(const LinkParts& parts) {
    std::uint32_t flags = parts.moreFlags | (parts.unicode ? 0x80 : 0);
    std::string body;
    if (parts.idItems) {
        const std::string list = *parts.idItems + U16(0);
        body += U16(static_cast<std::uint32_t>(list.size())) + list;
        flags |= 0x1;
    }
    if (!parts.linkInfo.empty()) {
        body += parts.linkInfo;
        flags |= 0x2;
    }
    const std::pair<const std::optional<std::string>*, std::uint32_t> texts[] = {
        {&parts.name, 0x04},
        {&parts.relativePath, 0x08},
        {&parts.workingDirectory, 0x10},
        {&parts.arguments, 0x20},
        {&parts.iconLocation, 0x40}};
    for (const auto& [text, flag] : texts) {
        if (!*text) continue;
        flags |= flag;
        body += U16(static_cast<std::uint32_t>((*text)->size()));
        body += parts.unicode ? Utf16(**text) : **text;
    }
    body += parts.extraBlocks + U32(0);
    std::string header = U32(0x4C) + kShellLinkClassId + U32(flags);
    header.resize(0x4C, '\0');
    return header + body;
}

// Link info with a local base path (ANSI, and UTF-16 when given) or a network share, the
// texts laid out after the header.
inline std::string BuildLinkInfo(const std::string& localBase, const std::string& suffix = "",
                                 const std::u16string* unicodeBase = nullptr,
                                 const std::string& share = "") {
    const std::uint32_t headerSize = unicodeBase ? 0x24 : 0x1C;
    const std::uint32_t flags = (localBase.empty() ? 0 : 0x1) | (share.empty() ? 0 : 0x2);
    std::string tail;
    auto place = [&](const std::string& bytes) {
        const auto at = static_cast<std::uint32_t>(headerSize + tail.size());
        tail += bytes;
        return at;
    };
    const std::uint32_t volumeAt =
        flags & 0x1 ? place(U32(0x11) + U32(3) + U32(0x1234) + U32(0x10) + '\0') : 0;
    const std::uint32_t baseAt = flags & 0x1 ? place(localBase + '\0') : 0;
    const std::string shareName = share + '\0';
    const std::uint32_t networkAt =
        flags & 0x2 ? place(U32(static_cast<std::uint32_t>(0x14 + shareName.size())) + U32(0) +
                            U32(0x14) + U32(0) + U32(0) + shareName)
                    : 0;
    const std::uint32_t suffixAt = place(suffix + '\0');
    std::string unicodeOffsets;
    if (unicodeBase) {
        const std::uint32_t unicodeBaseAt = place(Utf16(*unicodeBase) + U16(0));
        unicodeOffsets = U32(unicodeBaseAt) + U32(place(U16(0)));
    }
    return U32(static_cast<std::uint32_t>(headerSize + tail.size())) + U32(headerSize) +
           U32(flags) + U32(volumeAt) + U32(baseAt) + U32(networkAt) + U32(suffixAt) +
           unicodeOffsets + tail;
}

inline std::string ShellItem(const std::string& data) {
    return U16(static_cast<std::uint32_t>(data.size() + 2)) + data;
}

inline std::string MyComputerItem() {
    return ShellItem(std::string("\x1F\x50", 2) + kMyComputerClassId);
}

inline std::string DriveItem(const std::string& drive) {
    std::string data = "\x2F" + drive;
    data.resize(23, '\0');
    return ShellItem(data);
}

// A folder (0x31) or file (0x32) entry with its short name and, in an extension block of
// version 9, its long name.
inline std::string FileEntryItem(char itemClass, const std::string& shortName,
                                 const std::string& longName) {
    std::string data{itemClass, '\0'};
    data += U32(0) + U32(0) + U16(0x10) + shortName + '\0';
    if (data.size() % 2) data += '\0';  // the item's size field makes offsets even again
    const std::string extensionBody = std::string(0x2E - 8, '\0') + Utf16(longName) + U16(0);
    const auto extensionSize = static_cast<std::uint32_t>(8 + extensionBody.size() + 2);
    const auto extensionAt = static_cast<std::uint32_t>(data.size() + 2);
    data += U16(extensionSize) + U16(9) + U32(0xBEEF0004) + extensionBody + U16(extensionAt);
    return ShellItem(data);
}

// The block that holds an unexpanded target, in ANSI and UTF-16.
inline std::string EnvironmentBlock(const std::string& target) {
    std::string ansi = target, unicode = Utf16(target);
    ansi.resize(260, '\0');
    unicode.resize(520, '\0');
    return U32(0x314) + U32(0xA0000001) + ansi + unicode;
}

}  // namespace parse_test

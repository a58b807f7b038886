#include "core/parse/ShellLink.h"

#include <cstdint>

#include "core/parse/BinaryFields.h"
#include "core/parse/ShellItemPath.h"
#include "core/parse/UnicodeText.h"

namespace zorvik::parse {

namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
// {00021401-0000-0000-C000-000000000046}, as stored after the header size.
constexpr std::string_view kLinkClassId =
    "\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46";
constexpr std::size_t kLinkClassIdAt = 4;
constexpr std::size_t kLinkFlagsAt = 0x14;

constexpr std::uint32_t kHasLinkTargetIdList = 0x1;
constexpr std::uint32_t kHasLinkInfo = 0x2;
constexpr std::uint32_t kIsUnicode = 0x80;
constexpr std::uint32_t kForceNoLinkInfo = 0x100;

// The texts after the link info, in the order they are stored, each with the flag that says
// it is there.
struct StringDataField {
    std::uint32_t flag;
    std::optional<std::string> ShellLink::*text;
};
constexpr StringDataField kStringData[] = {
    {0x04, &ShellLink::name},
    {0x08, &ShellLink::relativePath},
    {0x10, &ShellLink::workingDirectory},
    {0x20, &ShellLink::arguments},
    {0x40, &ShellLink::iconLocation},
};

// Link info: its header's fields, the flags that say which paths it holds.
constexpr std::uint32_t kLinkInfoHeaderSmallest = 0x1C;
constexpr std::uint32_t kLinkInfoHeaderWithUnicode = 0x24;
constexpr std::uint32_t kHasLocalBasePath = 0x1;
constexpr std::uint32_t kHasNetworkLink = 0x2;
constexpr std::size_t kLinkInfoHeaderSizeAt = 4;
constexpr std::size_t kLinkInfoFlagsAt = 8;
constexpr std::size_t kLocalBasePathOffsetAt = 0x10;
constexpr std::size_t kNetworkLinkOffsetAt = 0x14;
constexpr std::size_t kPathSuffixOffsetAt = 0x18;
constexpr std::size_t kLocalBasePathUnicodeOffsetAt = 0x1C;
constexpr std::size_t kPathSuffixUnicodeOffsetAt = 0x20;

// The network part of link info: the share's name, in ANSI and, when its header is larger than
// the smallest, in UTF-16.
constexpr std::uint32_t kNetworkLinkSmallest = 0x14;
constexpr std::size_t kNetNameOffsetAt = 8;
constexpr std::size_t kNetNameUnicodeOffsetAt = 0x14;

// Extra data: blocks of a 32-bit size and signature; a size below 4 ends them.
constexpr std::uint32_t kExtraBlockHeader = 8;
constexpr std::uint32_t kTerminalBlockBelow = 4;
constexpr std::uint32_t kEnvironmentBlockSignature = 0xA0000001;
constexpr std::uint32_t kEnvironmentBlockSize = 0x314;
constexpr std::size_t kEnvironmentAnsiAt = 8;
constexpr std::size_t kEnvironmentAnsiBytes = 260;
constexpr std::size_t kEnvironmentUnicodeAt = kEnvironmentAnsiAt + kEnvironmentAnsiBytes;
constexpr std::size_t kEnvironmentUnicodeBytes = 520;

// A text of link info at the offset stored at offsetAt: ANSI or UTF-16, ended by a zero inside
// the link info. An offset of zero means the text is not there. False when broken.
bool LinkInfoText(std::string_view info, std::size_t offsetAt, bool unicode,
                  std::optional<std::string>& text) {
    const auto offset = ReadU32(info, offsetAt);
    if (!offset) return false;
    if (*offset == 0) return true;
    const auto bytes = unicode ? Utf16ZeroEndedAt(info, *offset) : ZeroEndedAt(info, *offset);
    if (!bytes) return false;
    text = unicode ? DecodeToAnsi(*bytes, TextEncoding::Utf16Le) : std::string(*bytes);
    return true;
}

// The share name of the network part, UTF-16 where it has one. False when broken.
bool NetworkShareName(std::string_view info, std::optional<std::string>& share) {
    const auto offset = ReadU32(info, kNetworkLinkOffsetAt);
    const auto size = offset ? ReadU32(info, *offset) : std::nullopt;
    if (!size || *size < kNetworkLinkSmallest || !HasBytes(info, *offset, *size)) return false;
    const std::string_view link = info.substr(*offset, *size);
    const auto netNameOffset = ReadU32(link, kNetNameOffsetAt);
    if (!netNameOffset) return false;
    std::optional<std::string> unicodeShare;
    if (!LinkInfoText(link, kNetNameOffsetAt, false, share) ||
        (*netNameOffset > kNetworkLinkSmallest &&
         !LinkInfoText(link, kNetNameUnicodeOffsetAt, true, unicodeShare))) {
        return false;
    }
    if (unicodeShare) share = unicodeShare;
    return true;
}

// The path the link info spells (local base path or share, then the common suffix). False when
// the link info is broken; path stays absent when it holds neither.
bool ReadLinkInfo(std::string_view info, std::optional<std::string>& path) {
    const auto headerSize = ReadU32(info, kLinkInfoHeaderSizeAt);
    const auto flags = ReadU32(info, kLinkInfoFlagsAt);
    if (!headerSize || !flags || *headerSize < kLinkInfoHeaderSmallest ||
        *headerSize > info.size()) {
        return false;
    }
    // Every text the link info announces must be whole, though the UTF-16 one is preferred.
    std::optional<std::string> base, suffix, share, unicodeBase, unicodeSuffix;
    if ((*flags & kHasLocalBasePath && !LinkInfoText(info, kLocalBasePathOffsetAt, false, base)) ||
        !LinkInfoText(info, kPathSuffixOffsetAt, false, suffix) ||
        (*flags & kHasNetworkLink && !NetworkShareName(info, share))) {
        return false;
    }
    if (*headerSize >= kLinkInfoHeaderWithUnicode) {
        if ((*flags & kHasLocalBasePath &&
             !LinkInfoText(info, kLocalBasePathUnicodeOffsetAt, true, unicodeBase)) ||
            !LinkInfoText(info, kPathSuffixUnicodeOffsetAt, true, unicodeSuffix)) {
            return false;
        }
        if (unicodeBase) base = unicodeBase;
        if (unicodeSuffix) suffix = unicodeSuffix;
    }
    const std::string tail = suffix.value_or("");
    if (base && !base->empty()) {
        path = *base + tail;
    } else if (share && !share->empty()) {
        path = tail.empty() || share->back() == '\\' ? *share + tail : *share + '\\' + tail;
    }
    return true;
}

// Reads the extra data blocks from at. False when a block reaches past the bytes.
bool ReadExtraData(std::string_view bytes, std::size_t at, ShellLink& link) {
    while (at < bytes.size()) {
        const auto size32 = ReadU32(bytes, at);
        if (!size32) return false;
        const std::uint32_t size = *size32;
        if (size < kTerminalBlockBelow) return true;
        if (size < kExtraBlockHeader || !HasBytes(bytes, at, size)) return false;
        const std::string_view block = bytes.substr(at, size);
        if (*ReadU32(block, 4) == kEnvironmentBlockSignature && size >= kEnvironmentBlockSize) {
            std::string target = UpToFirstZero(
                DecodeToAnsi(block.substr(kEnvironmentUnicodeAt, kEnvironmentUnicodeBytes),
                             TextEncoding::Utf16Le));
            if (target.empty()) {
                target = UpToFirstZero(
                    std::string(block.substr(kEnvironmentAnsiAt, kEnvironmentAnsiBytes)));
            }
            link.environmentTarget = target;
        }
        at += size;
    }
    return true;  // the end of the file without a terminal block ends them as well
}

void ChooseTarget(ShellLink& link) {
    const std::pair<const std::optional<std::string>*, ShellLinkTargetSource> bestFirst[] = {
        {&link.linkInfoPath, ShellLinkTargetSource::LinkInfo},
        {&link.environmentTarget, ShellLinkTargetSource::EnvironmentVariables},
        {&link.idListPath, ShellLinkTargetSource::IdList},
        {&link.relativePath, ShellLinkTargetSource::RelativePath},
    };
    for (const auto& [path, source] : bestFirst) {
        if (*path && !(*path)->empty()) {
            link.target = **path;
            link.targetSource = source;
            return;
        }
    }
}

}  // namespace

std::optional<ShellLink> ParseShellLink(std::string_view bytes) {
    const auto headerSize = ReadU32(bytes, 0);
    const auto flags = ReadU32(bytes, kLinkFlagsAt);
    if (!headerSize || *headerSize != kHeaderSize || !HasBytes(bytes, 0, kHeaderSize) ||
        bytes.substr(kLinkClassIdAt, kLinkClassId.size()) != kLinkClassId) {
        return std::nullopt;
    }
    ShellLink link;
    std::size_t at = kHeaderSize;

    if (*flags & kHasLinkTargetIdList) {
        const auto size = ReadU16(bytes, at);
        if (!size || !HasBytes(bytes, at + 2, *size)) return std::nullopt;
        const std::string_view list = bytes.substr(at + 2, *size);
        if (!IsWholeItemIdList(list)) return std::nullopt;
        link.idListPath = FileSystemPathOfItems(list);
        at += 2 + *size;
    }

    if (*flags & kHasLinkInfo) {
        const auto size = ReadU32(bytes, at);
        if (!size || *size < kLinkInfoHeaderSmallest || !HasBytes(bytes, at, *size)) {
            return std::nullopt;
        }
        std::optional<std::string> path;
        if (!ReadLinkInfo(bytes.substr(at, *size), path)) return std::nullopt;
        if (!(*flags & kForceNoLinkInfo)) link.linkInfoPath = path;
        at += *size;
    }

    const bool unicode = *flags & kIsUnicode;
    for (const StringDataField& field : kStringData) {
        if (!(*flags & field.flag)) continue;
        const auto count = ReadU16(bytes, at);
        const std::size_t length = count ? std::size_t{*count} * (unicode ? 2 : 1) : 0;
        if (!count || !HasBytes(bytes, at + 2, length)) return std::nullopt;
        const std::string_view text = bytes.substr(at + 2, length);
        link.*field.text =
            UpToFirstZero(unicode ? DecodeToAnsi(text, TextEncoding::Utf16Le) : std::string(text));
        at += 2 + length;
    }

    if (!ReadExtraData(bytes, at, link)) return std::nullopt;
    ChooseTarget(link);
    return link;
}

}  // namespace zorvik::parse

#pragma once
// The facts about a listed program's file that help tell a bot from a harmless program:
// size, SHA-256, version strings, signature. Read only for listed rows, after the scan.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/System.h"

namespace zorvik {

// Larger files are not hashed: reading them would stall the scan.
inline constexpr std::uint64_t kMaxHashedFileSize = 256ull * 1024 * 1024;

enum class HashState { Done, TooLarge, NotAvailable, Unreadable };

struct ProgramFileFacts {
    bool readable = false;  // false: the file could not be opened; nothing else is known
    std::uint64_t size = 0;
    HashState hashState = HashState::Unreadable;
    std::string sha256;  // lower-case hex when hashState is Done
    std::optional<platform::VersionStrings> version;
    platform::SignatureVerdict signature;
};

// "signed, trusted", "signed, not trusted" or "not signed".
std::string SignatureText(platform::SignatureState state);

// The text above with the reason it is not trusted in brackets:
// "signed, not trusted (root certificate not trusted)".
std::string SignatureSummary(const platform::SignatureVerdict& signature);

// nullopt when the system gives no file facts at all.
std::optional<ProgramFileFacts> ReadProgramFileFacts(platform::System& sys, const std::string& path);

}  // namespace zorvik

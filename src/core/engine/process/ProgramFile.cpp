#include "core/engine/process/ProgramFile.h"

namespace zorvik {

std::string SignatureText(platform::SignatureState state) {
    switch (state) {
        case platform::SignatureState::Trusted: return "signed, trusted";
        case platform::SignatureState::NotTrusted: return "signed, not trusted";
        case platform::SignatureState::NotSigned: break;
    }
    return "not signed";
}

std::string SignatureSummary(const platform::SignatureVerdict& signature) {
    std::string text = SignatureText(signature.state);
    if (!signature.reason.empty()) text += " (" + signature.reason + ")";
    return text;
}

std::optional<ProgramFileFacts> ReadProgramFileFacts(platform::System& sys,
                                                     const std::string& path) {
    platform::FileFacts* facts = sys.fileFacts();
    if (!facts) return std::nullopt;
    ProgramFileFacts result;
    const std::optional<std::uint64_t> size = facts->Size(path);
    // A file gone or locked since the scan: say so rather than show facts of nothing.
    if (!size) return result;
    result.readable = true;
    result.size = *size;
    if (*size > kMaxHashedFileSize) {
        result.hashState = HashState::TooLarge;
    } else if (const std::optional<std::string> hash = facts->Sha256(path); !hash) {
        result.hashState = HashState::Unreadable;
    } else if (hash->empty()) {
        result.hashState = HashState::NotAvailable;
    } else {
        result.hashState = HashState::Done;
        result.sha256 = *hash;
    }
    result.version = facts->Version(path);
    result.signature = facts->Signature(path);
    return result;
}

}  // namespace zorvik

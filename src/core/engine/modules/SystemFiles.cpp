#include "core/engine/modules/SystemFiles.h"

#include <optional>
#include <string_view>

#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"

namespace zorvik {

namespace {

// The language-file ending many of Windows' own original file names carry.
const std::string kMuiSuffix = ".mui";
constexpr const char* kMicrosoft = "microsoft";
constexpr std::string_view kSystemFolders[] = {"\\system32\\", "\\syswow64\\"};

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

std::string OriginalNameReason(const std::optional<platform::VersionStrings>& version,
                               const std::string& path) {
    if (!version || version->originalFilename.empty()) return "no original file name";
    std::string original = AsciiLower(version->originalFilename);
    if (EndsWith(original, kMuiSuffix)) original.resize(original.size() - kMuiSuffix.size());
    if (original != AsciiLower(ProgramFileNameOf(path)))
        return "original file name " + version->originalFilename;
    return {};
}

std::optional<std::string> NotSystemFileReason(platform::System& sys, const std::string& path,
                                               bool askSigner) {
    platform::FileFacts* facts = sys.fileFacts();
    if (!facts || !facts->Size(path)) return std::nullopt;
    std::string reason = OriginalNameReason(facts->Version(path), path);
    if (!reason.empty() || !askSigner) return reason;
    const platform::SignatureVerdict signature = facts->Signature(path);
    switch (signature.state) {
        case platform::SignatureState::NotSigned:
            break;
        case platform::SignatureState::NotTrusted:
            return "signature not trusted" +
                   (signature.reason.empty() ? std::string() : ": " + signature.reason);
        case platform::SignatureState::Trusted:
            if (AsciiLower(signature.signer).find(kMicrosoft) == std::string::npos)
                return "signed by " +
                       (signature.signer.empty() ? "an unnamed signer" : signature.signer);
            break;
    }
    return "";
}

namespace {

bool InSystemFolderLower(const std::string& lowerPath, const std::string& lowerWindows) {
    if (lowerWindows.empty() || lowerPath.compare(0, lowerWindows.size(), lowerWindows) != 0)
        return false;
    const std::string_view below = std::string_view(lowerPath).substr(lowerWindows.size());
    for (const std::string_view folder : kSystemFolders)
        if (below.starts_with(folder)) return true;
    return false;
}

}  // namespace

bool InSystemFolder(platform::System& sys, const std::string& path) {
    return InSystemFolderLower(AsciiLower(path), AsciiLower(sys.files().WindowsDirectory()));
}

bool SystemModuleTest::IsSystemOwn(const std::string& path) {
    std::string key = AsciiLower(path);
    const auto known = judged_.find(key);
    if (known != judged_.end()) return known->second;
    if (!lowerWindows_) lowerWindows_ = AsciiLower(sys_.files().WindowsDirectory());
    // A file that cannot be read gives no version information either: not the system's.
    platform::FileFacts* facts = sys_.fileFacts();
    const bool own = facts && InSystemFolderLower(key, *lowerWindows_) &&
                     OriginalNameReason(facts->Version(path), path).empty();
    judged_.emplace(std::move(key), own);
    return own;
}

}  // namespace zorvik

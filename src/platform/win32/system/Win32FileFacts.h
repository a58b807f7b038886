#pragma once
// File facts of the real system: CryptoAPI for SHA-256, version.dll for the version strings,
// wintrust.dll for the signature and the catalogs, the file's security descriptor for who may
// write its folder. version.dll, wintrust.dll and crypt32.dll are loaded when first needed,
// so the program loads without them.
#include "platform/FileFacts.h"

namespace platform::win32 {

class Win32FileFacts : public FileFacts {
public:
    std::optional<std::uint64_t> Size(const std::string& path) override;
    std::optional<std::string> Sha256(const std::string& path) override;
    std::optional<VersionStrings> Version(const std::string& path) override;
    SignatureVerdict Signature(const std::string& path) override;
    std::optional<SignatureVerdict> CatalogSignature(const std::string& path) override;
    std::optional<std::uint64_t> LastWriteTime(const std::string& path) override;
    std::optional<bool> FolderWritableByUsers(const std::string& folder) override;
};

}  // namespace platform::win32

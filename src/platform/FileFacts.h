#pragma once
// What the system can say about a program file: its size, its SHA-256, the strings of its
// version resource and its Authenticode signature. Nothing here touches the network.
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// The version resource's strings in its first translation; empty where the table lacks one.
struct VersionStrings {
    std::string companyName;
    std::string fileDescription;
    std::string productName;
    std::string fileVersion;
    bool hasStringTable = false;  // false: a resource without a string table for its translation
    // The name the file was built under ("sethc.exe"): differs from the file's own name when a
    // program was copied over another.
    std::string originalFilename;
};

enum class SignatureState { NotSigned, Trusted, NotTrusted };

struct SignatureVerdict {
    SignatureState state = SignatureState::NotSigned;
    std::string reason;  // why it is not trusted; empty otherwise
    std::string signer;  // the signing certificate's name where the signature carries one
};

class FileFacts {
public:
    virtual ~FileFacts() = default;
    // The file's size in bytes; nullopt when it cannot be opened for reading.
    virtual std::optional<std::uint64_t> Size(const std::string& path) = 0;
    // The SHA-256 of the whole file in lower-case hex; nullopt when the file cannot be read,
    // an empty text when the system has no SHA-256 (CryptoAPI without PROV_RSA_AES).
    virtual std::optional<std::string> Sha256(const std::string& path) = 0;
    // nullopt when the file has no version resource.
    virtual std::optional<VersionStrings> Version(const std::string& path) = 0;
    // WinVerifyTrust with revocation checks off and cached-only retrieval.
    virtual SignatureVerdict Signature(const std::string& path) = 0;
    // The signature of the system's catalogs that hold the file's hash, as most of Windows'
    // own files are signed: NotSigned when no catalog holds it; nullopt where the system has
    // no catalogs to ask (no catalog functions, no catalog database).
    virtual std::optional<SignatureVerdict> CatalogSignature(const std::string& path) {
        (void)path;
        return std::nullopt;
    }
    // When the file was last written, in the system's own units (FILETIME's 100 ns since
    // 1601); nullopt when it cannot be opened or the system keeps no such time. Only compared
    // with itself: a file unchanged since gives the same number.
    virtual std::optional<std::uint64_t> LastWriteTime(const std::string& path) {
        (void)path;
        return std::nullopt;
    }
    // Whether the folder's access rights let a user who is no administrator create files in
    // it; nullopt where the system cannot tell (no access rights, or they cannot be read).
    virtual std::optional<bool> FolderWritableByUsers(const std::string& folder) {
        (void)folder;
        return std::nullopt;
    }
};

}  // namespace platform

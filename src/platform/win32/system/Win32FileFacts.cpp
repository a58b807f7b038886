#include "platform/win32/system/Win32FileFacts.h"

#include "platform/win32/WindowsApi.h"

#include <wincrypt.h>
#include <wintrust.h>
#include <softpub.h>
#include <mscat.h>

#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/win32/system/AnsiText.h"
#include "platform/win32/system/LibraryModule.h"
#include "platform/win32/system/ScopedHandle.h"

namespace platform::win32 {

namespace {

constexpr DWORD kReadChunk = 64 * 1024;
constexpr DWORD kSha256Bytes = 32;

// HCRYPTPROV and HCRYPTHASH owners.
class CryptProvider {
public:
    CryptProvider() {
        if (!::CryptAcquireContextA(&prov_, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT))
            prov_ = 0;
    }
    CryptProvider(const CryptProvider&) = delete;
    CryptProvider& operator=(const CryptProvider&) = delete;
    ~CryptProvider() { if (prov_) ::CryptReleaseContext(prov_, 0); }
    HCRYPTPROV get() const { return prov_; }

private:
    HCRYPTPROV prov_ = 0;
};

class CryptHash {
public:
    CryptHash(HCRYPTPROV prov, ALG_ID algorithm) {
        if (!prov || !::CryptCreateHash(prov, algorithm, 0, 0, &hash_)) hash_ = 0;
    }
    CryptHash(const CryptHash&) = delete;
    CryptHash& operator=(const CryptHash&) = delete;
    ~CryptHash() { if (hash_) ::CryptDestroyHash(hash_); }
    HCRYPTHASH get() const { return hash_; }

private:
    HCRYPTHASH hash_ = 0;
};

UniqueHandle OpenForReading(const std::string& path) {
    // Shared with writers and deleters too: a running program's file is open already.
    const HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    return UniqueHandle(h);
}

std::string Hex(const BYTE* bytes, DWORD count) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (DWORD i = 0; i < count; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

// The reasons WinVerifyTrust gives most often, in words; others by their code.
std::string TrustFailureReason(LONG status) {
    switch (static_cast<DWORD>(status)) {
        case static_cast<DWORD>(CERT_E_UNTRUSTEDROOT): return "root certificate not trusted";
        case static_cast<DWORD>(CERT_E_CHAINING): return "certificate chain not complete";
        case static_cast<DWORD>(CERT_E_EXPIRED): return "certificate expired";
        case static_cast<DWORD>(CERT_E_REVOKED): return "certificate revoked";
        case static_cast<DWORD>(CERT_E_UNTRUSTEDTESTROOT): return "test root certificate";
        case static_cast<DWORD>(TRUST_E_BAD_DIGEST): return "file changed after signing";
        case static_cast<DWORD>(TRUST_E_EXPLICIT_DISTRUST): return "signer explicitly distrusted";
        case static_cast<DWORD>(TRUST_E_CERT_SIGNATURE): return "certificate signature not valid";
        case static_cast<DWORD>(CRYPT_E_SECURITY_SETTINGS): return "refused by security settings";
        default: break;
    }
    char code[32];
    std::snprintf(code, sizeof code, "error 0x%08lX", static_cast<unsigned long>(status));
    return code;
}

bool MeansNotSigned(LONG status) {
    const auto code = static_cast<DWORD>(status);
    return code == static_cast<DWORD>(TRUST_E_NOSIGNATURE) ||
           code == static_cast<DWORD>(TRUST_E_SUBJECT_FORM_UNKNOWN) ||
           code == static_cast<DWORD>(TRUST_E_PROVIDER_UNKNOWN);
}

using WinVerifyTrustFn = LONG(WINAPI*)(HWND, GUID*, LPVOID);
using ProvDataFromStateDataFn = CRYPT_PROVIDER_DATA*(WINAPI*)(HANDLE);
using ProvSignerFromChainFn = CRYPT_PROVIDER_SGNR*(WINAPI*)(CRYPT_PROVIDER_DATA*, DWORD, BOOL,
                                                            DWORD);
using CertGetNameStringAFn = DWORD(WINAPI*)(PCCERT_CONTEXT, DWORD, DWORD, void*, LPSTR, DWORD);

// The name of the first signer's certificate, from the state WinVerifyTrust kept.
std::string SignerName(const LibraryModule& wintrust, HANDLE stateData) {
    const auto provData = wintrust.Find<ProvDataFromStateDataFn>("WTHelperProvDataFromStateData");
    const auto signerOf = wintrust.Find<ProvSignerFromChainFn>("WTHelperGetProvSignerFromChain");
    if (!provData || !signerOf || !stateData) return {};
    CRYPT_PROVIDER_DATA* data = provData(stateData);
    CRYPT_PROVIDER_SGNR* signer = data ? signerOf(data, 0, FALSE, 0) : nullptr;
    if (!signer || signer->csCertChain == 0 || !signer->pasCertChain ||
        !signer->pasCertChain[0].pCert)
        return {};
    const LibraryModule crypt32("crypt32.dll");
    const auto getName = crypt32.Find<CertGetNameStringAFn>("CertGetNameStringA");
    if (!getName) return {};
    PCCERT_CONTEXT cert = signer->pasCertChain[0].pCert;
    const DWORD length = getName(cert, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, nullptr, 0);
    if (length <= 1) return {};
    std::string name(length, '\0');
    getName(cert, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, &name[0], length);
    name.resize(length - 1);
    return name;
}

using GetFileVersionInfoSizeAFn = DWORD(WINAPI*)(LPCSTR, LPDWORD);
using GetFileVersionInfoAFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
using VerQueryValueAFn = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);

}  // namespace

std::optional<std::uint64_t> Win32FileFacts::Size(const std::string& path) {
    const UniqueHandle file = OpenForReading(path);
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::optional<std::string> Win32FileFacts::Sha256(const std::string& path) {
    const UniqueHandle file = OpenForReading(path);
    if (!file) return std::nullopt;
    const CryptProvider provider;
    const CryptHash hash(provider.get(), CALG_SHA_256);
    // XP before SP3 has no SHA-256 in its providers.
    if (!hash.get()) return std::string();
    std::vector<BYTE> buffer(kReadChunk);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), buffer.data(), kReadChunk, &read, nullptr)) return std::nullopt;
        if (read == 0) break;
        if (!::CryptHashData(hash.get(), buffer.data(), read, 0)) return std::string();
    }
    BYTE digest[kSha256Bytes];
    DWORD digestLength = sizeof digest;
    if (!::CryptGetHashParam(hash.get(), HP_HASHVAL, digest, &digestLength, 0)) return std::string();
    return Hex(digest, digestLength);
}

std::optional<VersionStrings> Win32FileFacts::Version(const std::string& path) {
    const LibraryModule version("version.dll");
    const auto infoSize = version.Find<GetFileVersionInfoSizeAFn>("GetFileVersionInfoSizeA");
    const auto info = version.Find<GetFileVersionInfoAFn>("GetFileVersionInfoA");
    const auto query = version.Find<VerQueryValueAFn>("VerQueryValueA");
    if (!infoSize || !info || !query) return std::nullopt;

    DWORD ignored = 0;
    const DWORD size = infoSize(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<char> block(size);
    if (!info(path.c_str(), 0, size, block.data())) return std::nullopt;

    VersionStrings strings;
    struct Translation { WORD language; WORD codePage; };
    Translation* translations = nullptr;
    UINT translationBytes = 0;
    if (!query(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<LPVOID*>(&translations),
               &translationBytes) ||
        !translations || translationBytes < sizeof(Translation))
        return strings;

    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04x%04x\\",
                  translations[0].language, translations[0].codePage);
    const auto read = [&](const char* name, std::string& into) {
        char* text = nullptr;
        UINT length = 0;
        const std::string subBlock = std::string(prefix) + name;
        if (!query(block.data(), subBlock.c_str(), reinterpret_cast<LPVOID*>(&text), &length) ||
            !text)
            return false;
        // The length counts characters with the terminating zero, where there is one.
        into.assign(text, length);
        while (!into.empty() && into.back() == '\0') into.pop_back();
        return true;
    };
    bool any = read("CompanyName", strings.companyName);
    any = read("FileDescription", strings.fileDescription) || any;
    any = read("ProductName", strings.productName) || any;
    any = read("FileVersion", strings.fileVersion) || any;
    any = read("OriginalFilename", strings.originalFilename) || any;
    strings.hasStringTable = any;
    return strings;
}

namespace {

// WinVerifyTrust over a file or a catalog member, as data's union names it.
SignatureVerdict VerifyTrust(const LibraryModule& wintrust, WinVerifyTrustFn verify,
                             WINTRUST_DATA& data) {
    SignatureVerdict verdict;
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    // No certificate revocation lists or missing certificates fetched: a scan stays off the net.
    data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL | WTD_REVOCATION_CHECK_NONE;

    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    // INVALID_HANDLE_VALUE as the window: never ask a user.
    const HWND noUser = static_cast<HWND>(INVALID_HANDLE_VALUE);
    const LONG status = verify(noUser, &action, &data);
    if (status == ERROR_SUCCESS) {
        verdict.state = SignatureState::Trusted;
    } else if (MeansNotSigned(status)) {
        verdict.state = SignatureState::NotSigned;
    } else {
        verdict.state = SignatureState::NotTrusted;
        verdict.reason = TrustFailureReason(status);
    }
    if (verdict.state != SignatureState::NotSigned)
        verdict.signer = SignerName(wintrust, data.hWVTStateData);

    data.dwStateAction = WTD_STATEACTION_CLOSE;
    verify(noUser, &action, &data);
    return verdict;
}

using AcquireContextFn = BOOL(WINAPI*)(HCATADMIN*, const GUID*, DWORD);
using AcquireContext2Fn = BOOL(WINAPI*)(HCATADMIN*, const GUID*, PCWSTR,
                                        PCCERT_STRONG_SIGN_PARA, DWORD);
using ReleaseContextFn = BOOL(WINAPI*)(HCATADMIN, DWORD);
using CalcHashFn = BOOL(WINAPI*)(HANDLE, DWORD*, BYTE*, DWORD);
using CalcHash2Fn = BOOL(WINAPI*)(HCATADMIN, HANDLE, DWORD*, BYTE*, DWORD);
using EnumCatalogFn = HCATINFO(WINAPI*)(HCATADMIN, BYTE*, DWORD, DWORD, HCATINFO*);
using CatalogInfoFn = BOOL(WINAPI*)(HCATINFO, CATALOG_INFO*, DWORD);
using ReleaseCatalogFn = BOOL(WINAPI*)(HCATADMIN, HCATINFO, DWORD);

// The catalog functions of wintrust.dll; the "2" ones (SHA-256 catalogs) from Windows 8 on.
struct CatalogApi {
    explicit CatalogApi(const LibraryModule& wintrust)
        : acquire(wintrust.Find<AcquireContextFn>("CryptCATAdminAcquireContext")),
          acquire2(wintrust.Find<AcquireContext2Fn>("CryptCATAdminAcquireContext2")),
          release(wintrust.Find<ReleaseContextFn>("CryptCATAdminReleaseContext")),
          calcHash(wintrust.Find<CalcHashFn>("CryptCATAdminCalcHashFromFileHandle")),
          calcHash2(wintrust.Find<CalcHash2Fn>("CryptCATAdminCalcHashFromFileHandle2")),
          enumCatalog(wintrust.Find<EnumCatalogFn>("CryptCATAdminEnumCatalogFromHash")),
          catalogInfo(wintrust.Find<CatalogInfoFn>("CryptCATCatalogInfoFromContext")),
          releaseCatalog(wintrust.Find<ReleaseCatalogFn>("CryptCATAdminReleaseCatalogContext")),
          verify(wintrust.Find<WinVerifyTrustFn>("WinVerifyTrust")) {}
    bool Usable() const {
        return acquire && release && calcHash && enumCatalog && catalogInfo && releaseCatalog &&
               verify;
    }
    AcquireContextFn acquire;
    AcquireContext2Fn acquire2;
    ReleaseContextFn release;
    CalcHashFn calcHash;
    CalcHash2Fn calcHash2;
    EnumCatalogFn enumCatalog;
    CatalogInfoFn catalogInfo;
    ReleaseCatalogFn releaseCatalog;
    WinVerifyTrustFn verify;
};

// A catalog administrator context, released when it dies.
class CatalogAdmin {
public:
    CatalogAdmin(const CatalogApi& api, bool sha256) : api_(api) {
        if (sha256) {
            if (!api.acquire2 || !api.calcHash2 ||
                !api.acquire2(&admin_, nullptr, BCRYPT_SHA256_ALGORITHM, nullptr, 0))
                admin_ = nullptr;
        } else if (!api.acquire(&admin_, nullptr, 0)) {
            admin_ = nullptr;
        }
        sha256_ = sha256;
    }
    CatalogAdmin(const CatalogAdmin&) = delete;
    CatalogAdmin& operator=(const CatalogAdmin&) = delete;
    ~CatalogAdmin() { if (admin_) api_.release(admin_, 0); }
    HCATADMIN get() const { return admin_; }

    // The file's hash as the catalogs of this context keep it; empty when it cannot be made.
    std::vector<BYTE> Hash(HANDLE file) const {
        DWORD size = 0;
        const auto calc = [&](BYTE* into) {
            return sha256_ ? api_.calcHash2(admin_, file, &size, into, 0)
                           : api_.calcHash(file, &size, into, 0);
        };
        calc(nullptr);
        if (size == 0) return {};
        std::vector<BYTE> hash(size);
        if (!calc(hash.data())) return {};
        hash.resize(size);
        return hash;
    }

private:
    const CatalogApi& api_;
    HCATADMIN admin_ = nullptr;
    bool sha256_ = false;
};

// A catalog found for a hash, released when it dies.
class CatalogContext {
public:
    CatalogContext(const CatalogApi& api, const CatalogAdmin& admin, std::vector<BYTE>& hash)
        : api_(api), admin_(admin) {
        if (!hash.empty())
            info_ = api.enumCatalog(admin.get(), hash.data(), static_cast<DWORD>(hash.size()), 0,
                                    nullptr);
    }
    CatalogContext(const CatalogContext&) = delete;
    CatalogContext& operator=(const CatalogContext&) = delete;
    ~CatalogContext() { if (info_) api_.releaseCatalog(admin_.get(), info_, 0); }
    HCATINFO get() const { return info_; }

private:
    const CatalogApi& api_;
    const CatalogAdmin& admin_;
    HCATINFO info_ = nullptr;
};

std::wstring HexTag(const std::vector<BYTE>& hash) {
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring tag;
    for (const BYTE b : hash) {
        tag += kDigits[b >> 4];
        tag += kDigits[b & 0x0F];
    }
    return tag;
}

// The verdict of the catalog of this kind of hash that holds the file; none when no catalog
// holds it (or the context cannot be had).
std::optional<SignatureVerdict> CatalogVerdict(const LibraryModule& wintrust,
                                               const CatalogApi& api, bool sha256,
                                               const std::string& path) {
    const CatalogAdmin admin(api, sha256);
    if (!admin.get()) return std::nullopt;
    const UniqueHandle file = OpenForReading(path);
    if (!file) return std::nullopt;
    std::vector<BYTE> hash = admin.Hash(file.get());
    const CatalogContext catalog(api, admin, hash);
    if (!catalog.get()) return std::nullopt;
    CATALOG_INFO info{};
    info.cbStruct = sizeof info;
    if (!api.catalogInfo(catalog.get(), &info, 0)) return std::nullopt;

    const std::wstring widePath = WideFromAnsi(path);
    const std::wstring tag = HexTag(hash);
    WINTRUST_CATALOG_INFO member{};
    member.cbStruct = sizeof member;
    member.pcwszCatalogFilePath = info.wszCatalogFile;
    member.pcwszMemberFilePath = widePath.c_str();
    member.pcwszMemberTag = tag.c_str();
    member.hMemberFile = file.get();
    member.pbCalculatedFileHash = hash.data();
    member.cbCalculatedFileHash = static_cast<DWORD>(hash.size());
    WINTRUST_DATA data{};
    data.dwUnionChoice = WTD_CHOICE_CATALOG;
    data.pCatalog = &member;
    return VerifyTrust(wintrust, api.verify, data);
}

// Who an access rule names, as far as it tells whether an administrator is needed.
bool NamesNonAdministrators(PSID sid) {
    if (!::IsValidSid(sid)) return false;
    const SID_IDENTIFIER_AUTHORITY& authority = *::GetSidIdentifierAuthority(sid);
    const BYTE count = *::GetSidSubAuthorityCount(sid);
    const auto sub = [&](DWORD i) { return *::GetSidSubAuthority(sid, i); };
    static const SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    static const SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    if (std::memcmp(&authority, &world, sizeof authority) == 0) return true;  // Everyone
    if (std::memcmp(&authority, &nt, sizeof authority) != 0 || count == 0) return false;
    switch (sub(0)) {
        case SECURITY_AUTHENTICATED_USER_RID:
        case SECURITY_INTERACTIVE_RID:
            return count == 1;
        case SECURITY_BUILTIN_DOMAIN_RID:
            return count == 2 && sub(1) == DOMAIN_ALIAS_RID_USERS;
        case SECURITY_NT_NON_UNIQUE:
            // An account of this machine or a domain: ordinary accounts from 1000 on, besides
            // the domain's users group.
            return count >= 2 && (sub(count - 1) >= 1000 || sub(count - 1) == DOMAIN_GROUP_RID_USERS);
        default:
            return false;
    }
}

}  // namespace

SignatureVerdict Win32FileFacts::Signature(const std::string& path) {
    const LibraryModule wintrust("wintrust.dll");
    const auto verify = wintrust.Find<WinVerifyTrustFn>("WinVerifyTrust");
    if (!verify) {
        SignatureVerdict verdict;
        verdict.state = SignatureState::NotTrusted;
        verdict.reason = "no wintrust.dll";
        return verdict;
    }
    const std::wstring widePath = WideFromAnsi(path);
    WINTRUST_FILE_INFO file{};
    file.cbStruct = sizeof file;
    file.pcwszFilePath = widePath.c_str();
    WINTRUST_DATA data{};
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    return VerifyTrust(wintrust, verify, data);
}

std::optional<SignatureVerdict> Win32FileFacts::CatalogSignature(const std::string& path) {
    const LibraryModule wintrust("wintrust.dll");
    const CatalogApi api(wintrust);
    if (!api.Usable()) return std::nullopt;
    // Windows 8 and later list their files by SHA-256 in newer catalogs, by SHA-1 in older.
    if (std::optional<SignatureVerdict> verdict = CatalogVerdict(wintrust, api, true, path))
        return verdict;
    if (std::optional<SignatureVerdict> verdict = CatalogVerdict(wintrust, api, false, path))
        return verdict;
    return SignatureVerdict{};
}

std::optional<std::uint64_t> Win32FileFacts::LastWriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

std::optional<bool> Win32FileFacts::FolderWritableByUsers(const std::string& folder) {
    DWORD needed = 0;
    ::GetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0) return std::nullopt;
    std::vector<BYTE> descriptor(needed);
    if (!::GetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed,
                            &needed))
        return std::nullopt;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    if (!::GetSecurityDescriptorDacl(descriptor.data(), &present, &dacl, &defaulted))
        return std::nullopt;
    // No access list at all lets everyone in.
    if (!present || !dacl) return true;
    constexpr DWORD kCreatesFiles = FILE_ADD_FILE | FILE_WRITE_DATA | GENERIC_WRITE | GENERIC_ALL;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!::GetAce(dacl, i, &ace)) continue;
        const auto* header = static_cast<ACE_HEADER*>(ace);
        // A rule only inherited by what the folder holds says nothing of the folder itself.
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        if ((allowed->Mask & kCreatesFiles) && NamesNonAdministrators(&allowed->SidStart))
            return true;
    }
    return false;
}

}  // namespace platform::win32

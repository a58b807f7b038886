#include "platform/win32/system/Win32FileFacts.h"

#include "platform/win32/WindowsApi.h"

#include <wincrypt.h>
#include <wintrust.h>
#include <softpub.h>

#include <cstdio>
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

SignatureVerdict Win32FileFacts::Signature(const std::string& path) {
    SignatureVerdict verdict;
    const LibraryModule wintrust("wintrust.dll");
    const auto verify = wintrust.Find<WinVerifyTrustFn>("WinVerifyTrust");
    if (!verify) {
        verdict.state = SignatureState::NotTrusted;
        verdict.reason = "no wintrust.dll";
        return verdict;
    }
    const std::wstring widePath = WideFromAnsi(path);
    WINTRUST_FILE_INFO file{};
    file.cbStruct = sizeof file;
    file.pcwszFilePath = widePath.c_str();

    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
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

}  // namespace platform::win32

#include "core/engine/verdict/JudgeProgram.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <vector>

#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"
#include "core/engine/verdict/EntryLaunch.h"
#include "core/engine/verdict/FolderClass.h"
#include "core/engine/verdict/RarePlaces.h"
#include "core/engine/verdict/VerdictSigns.h"
#include "core/engine/verdict/WindowsNames.h"
#include "platform/Files.h"

namespace zorvik {

namespace {

using platform::SignatureState;
using platform::SignatureVerdict;

// The names of the certificates Microsoft signs Windows' own files with (XP's component
// publisher included); "Microsoft Corporation" signs its applications as well, and only
// counts for a file below the Windows folder.
constexpr std::string_view kWindowsSigners[] = {"microsoft windows", "microsoft windows publisher",
                                                "microsoft windows component publisher"};
constexpr std::string_view kMicrosoft = "microsoft";
// Publishers that sign every file they ship: their name on an unsigned file is borrowed.
constexpr std::string_view kSigningPublishers[] = {"microsoft", "google", "mozilla", "adobe",
                                                   "apple", "oracle", "intel", "nvidia"};
// Words of a company's name that tell nothing about which company it is.
constexpr std::string_view kCompanyWords[] = {"inc", "corp", "corporation", "co", "company",
                                              "llc", "ltd", "limited", "gmbh", "ag", "sa",
                                              "bv", "the", "and", "of", "software", "technologies",
                                              "technology"};
constexpr std::string_view kDocumentEndings[] = {
    ".doc", ".docx", ".xls", ".xlsx", ".ppt", ".pptx", ".pdf", ".txt", ".rtf", ".jpg", ".jpeg",
    ".png", ".gif", ".bmp", ".mp3", ".mp4", ".avi", ".zip", ".rar", ".htm", ".html", ".odt"};
constexpr std::string_view kProgramEndings[] = {".exe", ".scr", ".com", ".pif"};
constexpr std::string_view kScreenSaverEnding = ".scr";
// Where the screen saver is set: the only place a .scr is started from as what it is.
constexpr std::string_view kScreenSaverValue = "scrnsave.exe";
// Entries' texts are cut to this in the reasons.
constexpr std::size_t kEvidenceText = 160;

struct Found {
    Sign sign;
    std::string evidence;
};

template <std::size_t N>
bool EndsWithOneOf(std::string_view text, const std::string_view (&ends)[N]) {
    for (const std::string_view end : ends)
        if (text.ends_with(end)) return true;
    return false;
}

bool IsTrusted(const SignatureVerdict& signature) {
    return signature.state == SignatureState::Trusted;
}

// The signature that vouches: the embedded one, else the catalog's.
const SignatureVerdict* TrustedSignature(const SignatureFacts& signature) {
    if (!signature.known) return nullptr;
    if (IsTrusted(signature.embedded)) return &signature.embedded;
    if (signature.catalog && IsTrusted(*signature.catalog)) return &*signature.catalog;
    return nullptr;
}

std::string Named(const std::string& signer) {
    return signer.empty() ? std::string("an unnamed signer") : signer;
}

// The company's name in the words that tell it: lower-case, without punctuation and forms.
std::vector<std::string> CompanyWords(const std::string& name) {
    std::vector<std::string> words;
    std::string word;
    const auto flush = [&] {
        bool filler = false;
        for (const std::string_view known : kCompanyWords) filler = filler || word == known;
        if (!word.empty() && !filler) words.push_back(word);
        word.clear();
    };
    for (const char c : AsciiLower(name)) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            word += c;
        else
            flush();
    }
    flush();
    return words;
}

// The signer is the company when the company's first telling word is one of the signer's.
bool SignerIsCompany(const std::string& signer, const std::string& company) {
    const std::vector<std::string> companyWords = CompanyWords(company);
    if (companyWords.empty()) return true;
    const std::vector<std::string> signerWords = CompanyWords(signer);
    return std::find(signerWords.begin(), signerWords.end(), companyWords.front()) !=
           signerWords.end();
}

std::string SignatureWords(const SignatureFacts& signature) {
    if (!signature.known) return "no signature facts";
    const SignatureVerdict& embedded = signature.embedded;
    switch (embedded.state) {
        case SignatureState::Trusted: return "signed by " + Named(embedded.signer);
        case SignatureState::NotTrusted:
            return "signed by " + Named(embedded.signer) + ", not trusted" +
                   (embedded.reason.empty() ? std::string() : " (" + embedded.reason + ")");
        case SignatureState::NotSigned: break;
    }
    return "not signed";
}

std::string Cut(const std::string& text) {
    return text.size() <= kEvidenceText ? text : text.substr(0, kEvidenceText) + "...";
}

std::string EntryWords(const OwnStartEntry& entry) {
    std::string words = entry.place;
    if (!entry.name.empty()) words += ", " + entry.name;
    return words;
}

std::optional<Found> PublisherClaim(const ProgramFacts& facts) {
    if (!facts.version || facts.version->companyName.empty()) return std::nullopt;
    const std::string& company = facts.version->companyName;
    const SignatureVerdict& embedded = facts.signature.embedded;
    if (embedded.state != SignatureState::NotSigned && !SignerIsCompany(embedded.signer, company))
        return Found{Sign::PublisherClaim,
                     company + " as its publisher, but it is " + SignatureWords(facts.signature)};
    const std::vector<std::string> words = CompanyWords(company);
    const bool signingPublisher =
        !words.empty() && std::find(std::begin(kSigningPublishers), std::end(kSigningPublishers),
                                    words.front()) != std::end(kSigningPublishers);
    if (signingPublisher && !TrustedSignature(facts.signature))
        return Found{Sign::PublisherClaim, company + ", a publisher that signs its files, but it is " +
                                               SignatureWords(facts.signature)};
    return std::nullopt;
}

bool FolderWritableByUsers(const ProgramFacts& facts, FolderClass folder) {
    if (folder == FolderClass::UserWritable) return true;
    if (folder == FolderClass::Other) return facts.folderWritableByUsers.value_or(false);
    return false;
}

std::vector<Found> SignsOf(const ProgramFacts& facts) {
    std::vector<Found> found;
    const FolderPlace folder = FolderPlaceOf(facts.path, facts.windowsDirectory);
    const std::string name = ProgramFileNameOf(facts.path);
    const std::string lowerName = AsciiLower(name);

    if (const std::optional<WindowsNameMatch> match =
            WindowsNameOf(facts.path, facts.windowsDirectory)) {
        if (match->nearMiss)
            found.push_back({Sign::NearMiss, match->windowsName + " (" + name + ")"});
        else
            found.push_back({Sign::Masquerade, match->windowsName + ", which belongs in " +
                                                   match->belongsIn + ", but runs from " +
                                                   folder.folder});
    }
    for (const std::string& reason : facts.replaced)
        found.push_back({Sign::Replaced, facts.path + " (" + reason + ")"});
    if (facts.hijacked)
        found.push_back({Sign::Hijack, facts.startedBy.empty()
                                           ? std::string()
                                           : ", started by " + facts.startedBy});
    for (const SystemNamedModule& module : facts.systemNamedModules)
        if (module.signature != SignatureState::Trusted)
            found.push_back({Sign::SideLoad, module.path});

    if (EndsWithOneOf(lowerName, kProgramEndings)) {
        const std::string stem = lowerName.substr(0, lowerName.rfind('.'));
        std::string trimmed = stem;
        while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
        if (EndsWithOneOf(trimmed, kDocumentEndings))
            found.push_back({Sign::DoubleExtension, name});
    }
    if (std::string_view(lowerName).ends_with(kScreenSaverEnding)) {
        for (const OwnStartEntry& entry : facts.entries) {
            if (AsciiLower(entry.name) == kScreenSaverValue) continue;
            found.push_back({Sign::ScreenSaverProgram, EntryWords(entry)});
            break;
        }
    }
    if (facts.fileReadable && FolderWritableByUsers(facts, folder.folderClass))
        found.push_back({Sign::UserFolder, folder.folder + ", " + SignatureWords(facts.signature)});
    if (std::optional<Found> claim = PublisherClaim(facts)) found.push_back(std::move(*claim));

    for (const OwnStartEntry& entry : facts.entries) {
        std::optional<std::string> launch = HostLaunchOf(entry.text, facts.windowsDirectory);
        if (!launch && !entry.script.empty())
            launch = ScriptLaunchOf(entry.script, facts.windowsDirectory);
        if (launch)
            found.push_back({Sign::ScriptHost,
                             *launch + " (" + EntryWords(entry) + ": " + Cut(entry.text) + ")"});
        if (entry.hiddenTask) found.push_back({Sign::HiddenTask, entry.place});
        if (const std::optional<Sign> rare = RarePlaceSign(entry.place, entry.name, facts.path))
            found.push_back({*rare, EntryWords(entry) + ": " + Cut(entry.text)});
        if (!entry.userClassOverMachine.empty())
            found.push_back({Sign::UserComOverride, entry.userClassOverMachine});
    }
    if (facts.attributes && (*facts.attributes & platform::kAttrHidden))
        found.push_back({Sign::HiddenFile, facts.path});
    if (facts.fileReadable && facts.signature.known && !facts.version)
        found.push_back({Sign::NoVersionInfo, std::string()});
    return found;
}

// Reasons in the order of the table, each sign once with its evidence joined.
std::vector<VerdictReason> ReasonsOf(const std::vector<Found>& found) {
    std::vector<VerdictReason> reasons;
    for (const VerdictSign& row : VerdictSigns()) {
        for (const Found& one : found) {
            if (one.sign != row.sign) continue;
            reasons.push_back({row.code, SignText(row.sign, one.evidence)});
        }
    }
    // The same sign with the same evidence twice (two entries alike) says nothing more.
    reasons.erase(std::unique(reasons.begin(), reasons.end(),
                              [](const VerdictReason& a, const VerdictReason& b) {
                                  return a.code == b.code && a.text == b.text;
                              }),
                  reasons.end());
    return reasons;
}

// What makes the program Windows' own, if anything does.
std::optional<Found> WindowsOwn(const ProgramFacts& facts) {
    const FolderClass folder = FolderPlaceOf(facts.path, facts.windowsDirectory).folderClass;
    const bool belowWindows = folder == FolderClass::System || folder == FolderClass::Windows;
    const SignatureFacts& signature = facts.signature;
    if (signature.known) {
        const auto isWindows = [&](const SignatureVerdict& verdict) {
            if (!IsTrusted(verdict)) return false;
            if (IsWindowsSigner(verdict.signer)) return true;
            return belowWindows && AsciiLower(verdict.signer).starts_with(kMicrosoft);
        };
        if (isWindows(signature.embedded))
            return Found{Sign::WindowsSigned, Named(signature.embedded.signer)};
        if (signature.catalog && isWindows(*signature.catalog))
            return Found{Sign::WindowsCatalog, Named(signature.catalog->signer)};
        // A system without catalogs (or without a signature check) tells nothing of the files
        // Windows signs through them: the scan's own test stands in.
        const bool noSignatureFacts = signature.embedded.state == SignatureState::NotSigned &&
                                      !signature.catalog;
        if (!noSignatureFacts) return std::nullopt;
    }
    if (folder == FolderClass::System && (facts.systemOwnFile || !signature.known))
        return Found{Sign::SystemFile, facts.path};
    return std::nullopt;
}

}  // namespace

bool IsWindowsSigner(const std::string& signer) {
    const std::string lower = AsciiLower(signer);
    for (const std::string_view known : kWindowsSigners)
        if (lower == known) return true;
    return false;
}

Verdict JudgeProgram(const ProgramFacts& facts) {
    std::vector<Found> found = SignsOf(facts);
    const SignatureVerdict* trusted = TrustedSignature(facts.signature);
    const bool folderOutweighed =
        trusted && std::any_of(found.begin(), found.end(),
                               [](const Found& one) { return one.sign == Sign::UserFolder; });
    if (trusted)
        std::erase_if(found, [](const Found& one) { return SignRow(one.sign).outweighedByTrust; });
    int weight = 0;
    for (const Found& one : found) weight += SignRow(one.sign).weight;

    Verdict verdict;
    if (weight >= kSuspiciousWeight) {
        verdict.level = VerdictLevel::Suspicious;
        verdict.reasons = ReasonsOf(found);
        return verdict;
    }
    // Weak signs below the mark stay beside what vouches, for the user to see.
    std::vector<Found> reasons;
    if (std::optional<Found> windows = WindowsOwn(facts)) {
        verdict.level = VerdictLevel::Windows;
        reasons.push_back(std::move(*windows));
    } else if (trusted) {
        verdict.level = VerdictLevel::Verified;
        reasons.push_back({Sign::Signed, Named(trusted->signer)});
        if (folderOutweighed)
            reasons.push_back({Sign::TrustOutweighsFolder,
                               FolderPlaceOf(facts.path, facts.windowsDirectory).folder});
    } else {
        verdict.level = VerdictLevel::Unverified;
        reasons.push_back({Sign::NothingVouches, facts.fileReadable
                                                     ? SignatureWords(facts.signature)
                                                     : std::string("its file cannot be read")});
    }
    reasons.insert(reasons.end(), found.begin(), found.end());
    verdict.reasons = ReasonsOf(reasons);
    return verdict;
}

}  // namespace zorvik

#pragma once
// What the scan concludes about a listed program: one of four levels, and the reasons that led
// there. Judged from what is on the machine only; the signs and their weights are one table
// (VerdictSigns.h), the judging one function over a program's facts (JudgeProgram.h).
#include <optional>
#include <string>
#include <vector>

namespace zorvik {

// In rising order of concern: a report's "at or above a level" compares these.
enum class VerdictLevel {
    Windows,     // Windows' own program
    Verified,    // signed with a signature the system trusts, and nothing against it
    Unverified,  // nothing against it, nothing vouching for it
    Suspicious   // at least one sign that bots show
};

struct VerdictReason {
    std::string code;  // stable short code ("user-folder", "masquerade", ...): scripts key on it
    std::string text;  // a sentence a user understands, naming the evidence
};

struct Verdict {
    VerdictLevel level = VerdictLevel::Unverified;
    // What made the level: the signs against the program for Suspicious, and what vouches for
    // it otherwise (the signer, the catalog); in the order of the table of signs.
    std::vector<VerdictReason> reasons;
};

// "windows", "verified", "unverified", "suspicious": the names reports and options use.
const char* VerdictLevelName(VerdictLevel level);
// The level of such a name, ignoring case; nullopt for any other text.
std::optional<VerdictLevel> VerdictLevelFromName(const std::string& name);

// The reasons as one text, one per line, for a tip: "text" lines joined by separator.
std::string VerdictReasonsText(const Verdict& verdict, const std::string& separator);

}  // namespace zorvik

#pragma once
// The table of signs a verdict weighs: what vouches for a program and what bots show. Each row
// has its stable code, the sentence a user reads (with "%s" where the evidence goes), its
// weight, and whether a trusted signature outweighs it. The judge (JudgeProgram.h) walks it;
// a new sign is a new row here and the test that finds it there.
#include <cstdint>
#include <span>
#include <string>

namespace zorvik {

enum class Sign : std::uint8_t {
    // What vouches (weight 0): the reasons of the levels windows, verified and unverified.
    WindowsSigned,
    WindowsCatalog,
    SystemFile,
    Signed,
    TrustOutweighsFolder,
    NothingVouches,
    // What bots show.
    Masquerade,
    NearMiss,
    Replaced,
    Hijack,
    SideLoad,
    DoubleExtension,
    ScreenSaverProgram,
    UserFolder,
    PublisherClaim,
    ScriptHost,
    HiddenTask,
    IfeoDebugger,
    SilentExitMonitor,
    AppInit,
    UserComOverride,
    WinlogonAddition,
    BootVerification,
    HiddenFile,
    NoVersionInfo,
};

struct VerdictSign {
    Sign sign;
    const char* code;  // kebab-case, stable: scripts and reports key on it
    const char* text;  // one "%s" where the evidence goes
    // 0: vouches for the program. A program is suspicious at kSuspiciousWeight.
    int weight;
    // A signature the system trusts makes the sign count for nothing: it tells where the file
    // lies or how it is started, which installed programs do too; never who made it.
    bool outweighedByTrust;
};

// One strong sign, or two weak ones.
inline constexpr int kSuspiciousWeight = 2;

// Every row, in the order reasons are given.
std::span<const VerdictSign> VerdictSigns();
const VerdictSign& SignRow(Sign sign);

// The row's sentence with the evidence in its place.
std::string SignText(Sign sign, const std::string& evidence);

}  // namespace zorvik

#include "core/engine/verdict/VerdictSigns.h"

#include <array>
#include <stdexcept>

namespace zorvik {

namespace {

constexpr std::array kSigns = {
    VerdictSign{Sign::WindowsSigned, "windows-signed", "Signed as part of Windows by %s.", 0,
                false},
    VerdictSign{Sign::WindowsCatalog, "windows-catalog",
                "Signed as part of Windows through the system's catalogs, by %s.", 0, false},
    VerdictSign{Sign::SystemFile, "system-file",
                "Windows' own file in the system folder (%s); the system gives no signature "
                "facts.",
                0, false},
    VerdictSign{Sign::Signed, "signed", "Signed by %s, with a signature the system trusts.", 0,
                false},
    VerdictSign{Sign::TrustOutweighsFolder, "trusted-in-user-folder",
                "In a folder the user can write (%s), which its trusted signature outweighs.", 0,
                false},
    VerdictSign{Sign::NothingVouches, "not-verified",
                "Nothing vouches for it (%s), and nothing speaks against it.", 0, false},
    VerdictSign{Sign::Masquerade, "masquerade",
                "Named like Windows' own program %s.", 2, false},
    VerdictSign{Sign::NearMiss, "near-miss", "Its name is a near miss of Windows' own %s.", 2,
                false},
    VerdictSign{Sign::Replaced, "replaced-system-program",
                "Stands in the place of Windows' own program %s.", 2, false},
    VerdictSign{Sign::Hijack, "hijacked",
                "Its process looks taken over by other code (a suspended first thread or an "
                "image that differs from its file)%s.",
                2, false},
    VerdictSign{Sign::SideLoad, "side-loaded",
                "Loads %s, named like a library of the system folder but from elsewhere and not "
                "signed with a trusted signature.",
                2, false},
    VerdictSign{Sign::DoubleExtension, "double-extension",
                "Its name %s passes a program off as a document.", 2, false},
    VerdictSign{Sign::ScreenSaverProgram, "screen-saver-program",
                "A screen saver file started as a program by %s.", 2, false},
    VerdictSign{Sign::UserFolder, "user-folder",
                "In a folder the user can write, without a signature the system trusts: %s.", 2,
                true},
    VerdictSign{Sign::PublisherClaim, "publisher-claim",
                "Its version information names %s.", 2, true},
    VerdictSign{Sign::ScriptHost, "script-host", "Started through %s.", 2, false},
    VerdictSign{Sign::HiddenTask, "hidden-task", "Started by the hidden scheduled task %s.", 2,
                true},
    VerdictSign{Sign::IfeoDebugger, "ifeo-debugger",
                "Set as the debugger of another program (%s), which Windows then starts it in "
                "place of.",
                2, false},
    VerdictSign{Sign::SilentExitMonitor, "silent-exit-monitor",
                "Started each time another program exits (%s).", 2, false},
    VerdictSign{Sign::AppInit, "appinit", "Loaded into every program that uses user32 (%s).", 2,
                false},
    VerdictSign{Sign::UserComOverride, "user-com-override",
                "The current user's COM class over the machine's of the same id (%s).", 2,
                false},
    VerdictSign{Sign::WinlogonAddition, "winlogon-addition",
                "Added to what Winlogon starts at every logon (%s).", 2, false},
    VerdictSign{Sign::BootVerification, "boot-verification",
                "Started by the service manager as the boot verification program (%s).", 2,
                false},
    VerdictSign{Sign::HiddenFile, "hidden-file", "Its file is hidden (%s).", 1, true},
    VerdictSign{Sign::NoVersionInfo, "no-version-info", "Its file has no version information%s.",
                1, true},
};

}  // namespace

std::span<const VerdictSign> VerdictSigns() { return kSigns; }

const VerdictSign& SignRow(Sign sign) {
    for (const VerdictSign& row : kSigns)
        if (row.sign == sign) return row;
    throw std::out_of_range("no row for the sign");
}

std::string SignText(Sign sign, const std::string& evidence) {
    const std::string format = SignRow(sign).text;
    const std::size_t at = format.find("%s");
    if (at == std::string::npos) return format;
    return format.substr(0, at) + evidence + format.substr(at + 2);
}

}  // namespace zorvik

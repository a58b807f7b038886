#include "core/engine/startup/follow/AccountEnvironment.h"

#include <optional>

#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"

namespace zorvik {

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& head) {
    return text.size() >= head.size() &&
           AsciiLower(text.substr(0, head.size())) == AsciiLower(head);
}

// The value the account's profile gives a variable, or none to leave it to the system.
std::optional<std::string> AccountValue(platform::System& sys, const std::string& name,
                                        const std::string& profileFolder) {
    const std::string lower = AsciiLower(name);
    if (lower == "userprofile") return profileFolder;
    if (lower == "username") return ProgramFileNameOf(profileFolder);
    if (lower == "homepath") {
        return profileFolder.size() > 2 && profileFolder[1] == ':' ? profileFolder.substr(2)
                                                                   : profileFolder;
    }
    if (lower == "appdata" || lower == "localappdata") {
        // Where the running user's folder lies in the running user's profile.
        const std::string own = ExpandVariables(sys, "%" + name + "%");
        const std::string ownProfile = ExpandVariables(sys, "%USERPROFILE%");
        if (own.find('%') != std::string::npos || ownProfile.find('%') != std::string::npos ||
            !StartsWithNoCase(own, ownProfile))
            return std::nullopt;
        return profileFolder + own.substr(ownProfile.size());
    }
    return std::nullopt;
}

}  // namespace

std::string ExpandVariables(platform::System& sys, const std::string& text) {
    platform::Environment* environment = sys.environment();
    return environment && text.find('%') != std::string::npos ? environment->Expand(text) : text;
}

std::string ExpandForAccount(platform::System& sys, const std::string& text,
                             const std::string& profileFolder) {
    if (profileFolder.empty() || text.find('%') == std::string::npos)
        return ExpandVariables(sys, text);
    std::string out;
    std::size_t at = 0;
    for (;;) {
        const std::size_t open = text.find('%', at);
        const std::size_t close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos) break;
        out.append(text, at, open - at);
        const std::optional<std::string> value =
            AccountValue(sys, text.substr(open + 1, close - open - 1), profileFolder);
        // Any other name is the system's to expand, or to keep as written.
        out += value ? *value : text.substr(open, close - open + 1);
        at = close + 1;
    }
    out.append(text, at, std::string::npos);
    return ExpandVariables(sys, out);
}

}  // namespace zorvik

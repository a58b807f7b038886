#include "core/engine/startup/StartupActions.h"

#include "core/base/AsciiLower.h"
#include "core/base/FixedTexts.h"
#include "core/base/PathParts.h"
#include "core/base/untFunc.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/engine/startup/follow/ScriptDisable.h"
#include "core/engine/startup/kinds/RegistryKind.h"
#include "platform/Shell.h"

namespace zorvik {

namespace {

constexpr const char* kRegeditKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
constexpr const char* kLastKeyValue = "LastKey";

// The default value of a class server's registration, "ROOT\Key\...\InprocServer32".
RegStart ServerValue(const std::string& place) {
    const std::size_t slash = place.find('\\');
    if (slash == std::string::npos) return {place, {}, {}};
    return {place.substr(0, slash), place.substr(slash + 1), {}};
}

}  // namespace

bool HasHit(const ProcInfo& findings, StartupHit hit) {
    return hit.index < RowOf(hit.kind).hits.count(findings);
}

std::string SelectInFileManager(const std::string& path) { return "/select,\"" + path + "\""; }

PlaceOpening OpeningOf(const ProcInfo& findings, StartupHit hit) {
    const HitTrail& trail = *TrailOf(findings, hit);
    if (!trail.RunsInstead.empty())
        return {kFileManager, SelectInFileManager(trail.RunsInstead), std::nullopt};
    if (!trail.Script.empty()) return {kTextEditor, trail.Script, std::nullopt};
    if (!trail.Server.empty()) return RegistryOpening(ServerValue(trail.Server));
    return RowOf(hit.kind).opening(findings, hit.index);
}

bool PointRegistryEditorAt(platform::System& sys, const std::string& key) {
    platform::Registry& reg = sys.registry();
    const platform::RegKey editor =
        platform::OpenKey(reg, platform::RootKey::CurrentUser, kRegeditKey, platform::KeyAccess::All);
    platform::RegValue value;
    value.type = platform::RegType::Sz;
    value.data = key + '\0';
    return editor && reg.Set(editor.get(), kLastKeyValue, value);
}

void OpenPlace(platform::System& sys, const PlaceOpening& opening) {
    platform::ShellExecuteRequest request;
    request.verb = "OPEN";
    if (opening.program) {
        request.file = WindowsProgramPath(sys, *opening.program);
        request.parameters = opening.target;
    } else {
        request.file = opening.target;
    }
    request.show = platform::kShowNormal;
    sys.shell().Execute(request);
}

DisableOutcome DisableStartup(platform::System& sys, ProcInfo& findings, StartupHit hit,
                              const std::string& programFileName) {
    if (!HasHit(findings, hit)) return {};
    const StartupKindRow& row = RowOf(hit.kind);
    if (row.noDisable) return {};
    const HitTrail& trail = *TrailOf(findings, hit);
    // A hit through a loaded module names the module, not the program.
    const std::string* module = HitModule(findings, hit);
    const std::string named = module ? ProgramFileNameOf(*module) : programFileName;
    DisableOutcome outcome;
    if (!trail.RunsInstead.empty()) {
        if (sys.files().Move(trail.RunsInstead, trail.RunsInstead + kBackupSuffix))
            outcome.result = DisableResult::Disabled;
    } else if (!trail.Script.empty()) {
        outcome = DisableScriptLines(sys, trail.Script, named);
    } else if (!trail.Server.empty()) {
        // The class keeps its registration; its server is what names the program.
        outcome = DisableRegistryValue(sys, ServerValue(trail.Server), named);
    } else {
        outcome = row.disable(sys, findings, hit.index, named);
    }
    if (outcome.result == DisableResult::Disabled) *row.hits.disabledFlag(findings, hit.index) = true;
    return outcome;
}

std::string DisabledCommand(platform::System& sys, const std::string& command) {
    std::string lowered = AsciiLower(GetLongPath(sys, command));
    if (lowered.empty()) lowered = AsciiLower(command);
    return MakeBackupCommand(lowered);
}

}  // namespace zorvik

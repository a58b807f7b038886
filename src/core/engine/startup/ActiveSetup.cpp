#include "core/engine/startup/ActiveSetup.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/base/FixedTexts.h"
#include "core/engine/startup/RegistryText.h"
#include "core/base/untFunc.h"
#include "core/engine/untScan.h"

namespace zorvik {
namespace {

const char* const kComponentsKey = "SOFTWARE\\Microsoft\\Active Setup\\Installed Components";

// The component's StubPath when it is a non-empty text and the component has no IsInstalled value.
std::optional<std::string> PendingStub(platform::Registry& reg, const std::string& component) {
    platform::RegKey key = platform::OpenKey(reg, platform::RootKey::LocalMachine,
                                             std::string(kComponentsKey) + "\\" + component,
                                             platform::KeyAccess::Read);
    if (!key) return std::nullopt;
    std::optional<std::string> stub = ReadTextValue(reg, key.get(), "StubPath");
    if (!stub || stub->empty()) return std::nullopt;
    if (reg.Query(key.get(), "IsInstalled")) return std::nullopt;
    return stub;
}

}  // namespace

std::vector<ActiveSetupStub> ListActiveSetupStubs(platform::System& sys, const TrustedList& trusted) {
    platform::Registry& reg = sys.registry();
    std::vector<std::string> components;
    {
        platform::RegKey key = platform::OpenKey(reg, platform::RootKey::LocalMachine,
                                                 kComponentsKey, platform::KeyAccess::Read);
        if (!key) return {};
        components = reg.SubKeyNames(key.get());
    }

    std::vector<ActiveSetupStub> stubs;
    for (const std::string& component : components) {
        std::optional<std::string> stub = PendingStub(reg, component);
        if (!stub || IsTrusted(trusted, *stub)) continue;
        std::string programFileName = ExtractProgramName(*stub);
        std::string shortFileName = GetShortPath(sys, programFileName);
        stubs.push_back({std::move(*stub), {std::move(programFileName), std::move(shortFileName)}});
    }
    return stubs;
}

bool AddActiveSetupRows(platform::System& sys, const ScanOptions& options,
                        const std::vector<ActiveSetupStub>& stubs,
                        std::vector<StartupFindings>& found, ProcessList& list) {
    bool added = false;
    for (std::size_t i = 0; i < stubs.size(); ++i) {
        std::string details;
        if (!FinishStartups(options, found.at(i), details)) continue;
        added = true;
        list.Add(ReplaceAll(ExtractProgramPath(sys, stubs[i].stubPath), kBackupSuffix, ""), kActiveSetupPid,
                 "Probable Bot Loader, " + details,
                 std::make_unique<ProcInfo>(std::move(found[i].info)));
    }
    return added;
}

bool CheckActiveSetup(platform::System& sys, const ScanOptions& options,
                      const TrustedList& trusted, ProcessList& list) {
    const std::vector<ActiveSetupStub> stubs = ListActiveSetupStubs(sys, trusted);
    if (stubs.empty()) return false;
    std::vector<ProgramNames> names;
    for (const ActiveSetupStub& stub : stubs) names.push_back(stub.names);
    const StartupPlaces places = ReadStartupPlaces(sys);
    std::vector<StartupFindings> found = SearchStartups(places, names);
    return AddActiveSetupRows(sys, options, stubs, found, list);
}

}  // namespace zorvik

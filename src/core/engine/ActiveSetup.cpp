#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/base/FixedTexts.h"
#include "core/engine/RegistryText.h"
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

bool CheckActiveSetup(platform::System& sys, const ScanOptions& options,
                      const TrustedList& trusted, ProcessList& list) {
    platform::Registry& reg = sys.registry();
    std::vector<std::string> components;
    {
        platform::RegKey key = platform::OpenKey(reg, platform::RootKey::LocalMachine,
                                                 kComponentsKey, platform::KeyAccess::Read);
        if (!key) return false;
        components = reg.SubKeyNames(key.get());
    }

    bool found = false;
    for (const std::string& component : components) {
        const std::optional<std::string> stub = PendingStub(reg, component);
        if (!stub || IsTrusted(trusted, *stub)) continue;

        auto info = std::make_unique<ProcInfo>();
        std::string details;
        const std::string programFileName = ExtractProgramName(*stub);
        const std::string shortFileName = GetShortPath(sys, programFileName);
        if (!FindStartups(sys, options, programFileName, shortFileName, *info, details)) continue;

        found = true;
        list.Add(ReplaceAll(ExtractProgramPath(sys, *stub), kBackupSuffix, ""), kActiveSetupPid,
                 "Probable Bot Loader, " + details, std::move(info));
    }
    return found;
}

}  // namespace zorvik

// GetProcessPath: the file of a running process's main module.
#include "core/base/untFunc.h"

namespace zorvik {

namespace {

// Vista and later let a process be asked for its image name with a lesser right, which is
// granted for processes (services, elevated programs) that refuse the module-list rights.
std::string FullImageNameWithLimitedRights(platform::Processes& procs, std::uint32_t processId) {
    const platform::ProcessHandle process =
        platform::OpenProcess(procs, processId, platform::kProcessQueryLimitedInformation);
    if (!process) return {};
    return procs.FullImageName(process.get()).value_or(std::string());
}

}  // namespace

std::string GetProcessPath(platform::System& sys, std::uint32_t processId) {
    if (processId == 0) return {};
    platform::Processes& procs = sys.processes();

    const platform::ProcessHandle process = platform::OpenProcess(
        procs, processId, platform::kProcessQueryInformation | platform::kProcessVmRead);
    if (!process) return FullImageNameWithLimitedRights(procs, processId);

    // A 32-bit build on 64-bit Windows cannot list the modules of a 64-bit process; the image
    // name still names its file, so such socket owners are not passed over.
    const std::uintptr_t mainModule = procs.FirstModule(process.get());
    if (mainModule == 0) return procs.FullImageName(process.get()).value_or(std::string());
    const std::optional<std::string> fileName = procs.ModuleFileName(process.get(), mainModule);
    if (fileName && !fileName->empty()) return *fileName;
    // The image name often answers where the module name does not.
    const std::optional<std::string> imageName = procs.FullImageName(process.get());
    if (imageName && !imageName->empty()) return *imageName;
    return kUnknownProcessPath;
}

}  // namespace zorvik

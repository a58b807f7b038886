#pragma once
// SVC: the services of a Services key. Each subkey is a service: its ImagePath (the command
// the service manager runs), its FailureCommand (run when the service fails) and its
// ServiceDll in Parameters or in its own key (the DLL a shared svchost.exe loads) are its texts, its Start value
// says whether and when it starts.
#include <cstdint>
#include <optional>
#include <string>

#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupActions.h"
#include "core/engine/startup/StartupPlaces.h"
#include "core/engine/watch/WatchedPlaces.h"

namespace zorvik {

// The Start value of a service the service manager never starts.
inline constexpr std::uint32_t kServiceDisabled = 4;

// The value a service's start type is kept in, and where Disable keeps its former one.
inline constexpr const char* kStartValue = "Start";
inline constexpr const char* kFormerStartValue = "Start.bak";

void ReadServicePlaces(const ScanRule& rule, PlaceReading& reading);
// The Services key with every service below it.
void WatchServicePlaces(const ScanRule& rule, WatchedPlaceList& places);

// The Start value of the open service key as a number; none when missing or no REG_DWORD.
std::optional<std::uint32_t> ReadStartType(platform::Registry& reg, platform::Registry::Handle key);

// "boot", "system", "automatic", "manual" or "disabled" for 0 to 4; another number as itself;
// "unknown" for none.
std::string StartTypeText(std::optional<std::uint32_t> startType);

// The registry editor, at the service's key.
PlaceOpening ServiceOpening(const SvcStart& hit);

// Sets the service's Start to disabled, its former value kept beside it as "Start.bak" (the
// way back, by hand). A service already disabled is Disabled without a write; one whose key is
// gone is Unchanged; a key that does not open with full access or refuses the write is
// RegistryRefused, and is left as it was.
DisableOutcome DisableService(platform::System& sys, const SvcStart& hit);

}  // namespace zorvik

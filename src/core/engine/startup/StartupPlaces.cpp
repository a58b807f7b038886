#include "core/engine/startup/StartupPlaces.h"

#include "core/base/AsciiLower.h"
#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/engine/untScan.h"

namespace zorvik {

std::uint32_t PlaceReading::AddSpot(StartupKind kind, std::string where, std::string key,
                                    std::string ident) {
    StartupSpot spot;
    spot.kind = kind;
    spot.where = std::move(where);
    spot.key = std::move(key);
    spot.ident = std::move(ident);
    return AddSpot(std::move(spot));
}

std::uint32_t PlaceReading::AddSpot(StartupSpot spot) {
    places_.spots.push_back(std::move(spot));
    return static_cast<std::uint32_t>(places_.spots.size() - 1);
}

void PlaceReading::AddText(std::uint32_t spot, const std::string& text, std::string valueName) {
    if (text.empty()) return;
    places_.texts.push_back({spot, std::move(valueName), AsciiLower(text)});
}

const StrAr& PlaceReading::Accounts() {
    if (!accounts_) {
        accounts_.emplace();
        GetUserAccounts(sys_, *accounts_);
    }
    return *accounts_;
}

const std::vector<platform::ScheduledTask>& PlaceReading::ScheduledTasks() {
    if (!scheduledTasks_) {
        platform::Tasks* scheduler = sys_.tasks();
        scheduledTasks_ = scheduler ? scheduler->List() : std::vector<platform::ScheduledTask>{};
    }
    return *scheduledTasks_;
}

const std::vector<platform::WmiEventConsumer>& PlaceReading::WmiConsumers() {
    if (!wmiConsumers_) {
        platform::Wmi* wmi = sys_.wmi();
        wmiConsumers_ = wmi ? wmi->EventConsumers() : std::vector<platform::WmiEventConsumer>{};
    }
    return *wmiConsumers_;
}

void PlaceReading::CompareModulesFrom(std::size_t first) {
    for (std::size_t i = first; i < places_.spots.size(); ++i)
        places_.spots[i].comparesModules = true;
}

bool ComparesModules(const StartupPlaces& places) {
    for (const StartupSpot& spot : places.spots)
        if (spot.comparesModules) return true;
    return false;
}

StartupPlaces ReadStartupPlaces(platform::System& sys) {
    PlaceReading reading(sys);
    for (const ScanRule& rule : ReadScanRules(sys)) {
        if (!rule.kind) continue;
        const std::size_t firstSpot = reading.SpotCount();
        RowOf(*rule.kind).readPlaces(rule, reading);
        if (rule.Value(kDllsKey) == "1") reading.CompareModulesFrom(firstSpot);
    }
    return reading.Take();
}

void AppendStartupHit(const StartupPlaces& places, const StartupText& text, bool disabled,
                      ProcInfo& findings) {
    const StartupSpot& spot = places.spots.at(text.spot);
    const StartupKindRow& row = RowOf(spot.kind);
    row.record(spot, text, disabled, findings);
    row.hits.keepText(findings, text.lower);
}

}  // namespace zorvik

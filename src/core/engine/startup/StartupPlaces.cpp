#include "core/engine/startup/StartupPlaces.h"

#include "core/base/AsciiLower.h"
#include "core/base/untFunc.h"
#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupKinds.h"
#include "core/engine/startup/follow/AccountEnvironment.h"
#include "core/engine/startup/follow/ClassServers.h"
#include "core/engine/startup/follow/FollowedFiles.h"
#include "core/engine/untScan.h"

namespace zorvik {

namespace {

// The value a rule gives a key that switches something on.
constexpr const char* kKeyOn = "1";

}  // namespace

PlaceReading::PlaceReading(platform::System& sys)
    : sys_(sys),
      scripts_(std::make_unique<ScriptCache>()),
      existingFiles_(std::make_unique<ExistingFiles>(sys)) {}

PlaceReading::~PlaceReading() = default;

void PlaceReading::BeginRule(const ScanRule& rule) {
    followScripts_ = rule.Value("Scripts") == kKeyOn;
    followUnquoted_ = rule.Value("Unquoted") == kKeyOn;
    comparesModules_ = rule.Value(kDllsKey) == kKeyOn;
    followClasses_ = rule.Value(kClassesKey) == kKeyOn;
    accountProfile_.clear();
}

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
    spot.comparesModules = comparesModules_;
    places_.spots.push_back(std::move(spot));
    return static_cast<std::uint32_t>(places_.spots.size() - 1);
}

void PlaceReading::AddText(std::uint32_t spot, const std::string& text, std::string valueName,
                           bool disabled) {
    if (text.empty()) return;
    if (followClasses_) AddClassServers(spot, text, valueName, disabled);
    if (!followScripts_ && !followUnquoted_) {
        places_.texts.push_back(
            {spot, std::move(valueName), AsciiLower(text), kNoPath, kNoPath, disabled});
        return;
    }
    places_.texts.push_back({spot, valueName, AsciiLower(text), kNoPath, kNoPath, disabled});
    Follow(spot, text, valueName, disabled, kNoPath);
}

void PlaceReading::AddScriptLines(std::uint32_t spot, const std::string& path,
                                  const std::string& valueName, bool disabled) {
    if (followScripts_) FollowScript(spot, path, valueName, disabled);
}

void PlaceReading::AddClassServers(std::uint32_t spot, const std::string& classId,
                                   const std::string& valueName, bool disabled) {
    if (!followClasses_ || !IsClassId(classId)) return;
    for (const ClassServer& server : ClassServersOf(sys_.registry(), classId)) {
        places_.texts.push_back({spot, valueName, AsciiLower(server.text), kNoPath, kNoPath,
                                 disabled, AddPath(server.place)});
    }
}

void PlaceReading::Follow(std::uint32_t spot, const std::string& text, const std::string& valueName,
                          bool disabled, std::uint32_t script) {
    if (followUnquoted_) {
        // Most texts hold no variable: they are their own expansion, with no copy made.
        const bool variables = text.find('%') != std::string::npos;
        const std::string expanded = variables ? Expand(text) : std::string();
        const std::string& command = variables ? expanded : text;
        for (const ProgramInstead& program : ExistingProgramsInstead(*existingFiles_, command)) {
            places_.texts.push_back({spot, valueName, AsciiLower(program.path), script,
                                     AddPath(program.path), disabled || program.renamed});
        }
    }
    // One level deep: the lines of a script name no further scripts.
    if (followScripts_ && script == kNoPath) {
        const auto expand = [this](const std::string& name) { return Expand(name); };
        for (const std::string& path : ExistingScriptsNamed(*existingFiles_, text, expand))
            FollowScript(spot, path, valueName, disabled);
    }
}

void PlaceReading::FollowScript(std::uint32_t spot, const std::string& path,
                                const std::string& valueName, bool disabled) {
    const std::vector<std::string>* lines = scripts_->Lines(sys_, path);
    if (!lines) return;
    const std::uint32_t script = AddPath(path);
    for (const std::string& line : *lines) {
        if (line.empty()) continue;
        places_.texts.push_back({spot, valueName, AsciiLower(line), script, kNoPath, disabled});
        if (followUnquoted_) Follow(spot, line, valueName, disabled, script);
    }
}

std::uint32_t PlaceReading::AddPath(const std::string& path) {
    auto [entry, added] =
        pathIndex_.try_emplace(path, static_cast<std::uint32_t>(places_.paths.size()));
    if (added) places_.paths.push_back(path);
    return entry->second;
}

void PlaceReading::SetAccountProfile(const std::string& profileFolder) {
    accountProfile_ = profileFolder;
}

std::string PlaceReading::Expand(const std::string& text) {
    return ExpandForAccount(sys_, text, accountProfile_);
}

bool PlaceReading::FirstTimeRead(StartupKind kind, const std::string& folder) {
    const std::string longForm = GetLongPath(sys_, folder);
    std::string name = AsciiLower(longForm.empty() ? folder : longForm);
    while (!name.empty() && name.back() == '\\') name.pop_back();
    std::string read = std::to_string(static_cast<int>(kind)) + '|' + name;
    if (!foldersRead_.insert(read).second) return false;
    firstReads_.push_back(std::move(read));
    return true;
}

void PlaceReading::NoteFirstReads(const std::vector<std::string>& firstReads) {
    foldersRead_.insert(firstReads.begin(), firstReads.end());
}

StartupPlaces PlaceReading::Take() {
    pathIndex_.clear();
    return std::exchange(places_, {});
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

const std::vector<platform::TransferJob>& PlaceReading::TransferJobs() {
    if (!transferJobs_) {
        platform::BackgroundTransfers* transfers = sys_.transfers();
        transferJobs_ = transfers ? transfers->Jobs() : std::vector<platform::TransferJob>{};
    }
    return *transferJobs_;
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
        reading.BeginRule(rule);
        RowOf(*rule.kind).readPlaces(rule, reading);
    }
    return reading.Take();
}

void AppendStartupHit(const StartupPlaces& places, const StartupText& text, bool disabled,
                      ProcInfo& findings) {
    const StartupSpot& spot = places.spots.at(text.spot);
    const StartupKindRow& row = RowOf(spot.kind);
    row.record(spot, text, disabled, findings);
    row.hits.keepText(findings, text.lower);
    if (text.script == kNoPath && text.runsInstead == kNoPath && text.server == kNoPath) return;
    HitTrail* trail = row.hits.trail(findings, row.hits.count(findings) - 1);
    if (text.script != kNoPath) trail->Script = places.paths.at(text.script);
    if (text.runsInstead != kNoPath) trail->RunsInstead = places.paths.at(text.runsInstead);
    if (text.server != kNoPath) trail->Server = places.paths.at(text.server);
}

}  // namespace zorvik

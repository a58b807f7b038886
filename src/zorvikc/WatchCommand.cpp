// zorvikc watch [--eventlog]: a JSON line for every start-up entry added, changed or removed
// while it runs, until Ctrl+C or Ctrl+Break; with --eventlog, an event in the Application log
// for each too. The first scan only sets the baseline.
#include <atomic>
#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/engine/ScanCycle.h"
#include "core/engine/process/ListedLevel.h"
#include "core/engine/process/ProgramEvidence.h"
#include "core/engine/watch/EntryNews.h"
#include "core/engine/watch/EntryPrograms.h"
#include "core/engine/watch/StartupPicture.h"
#include "core/engine/verdict/VerdictCache.h"
#include "core/eventlog/EventSource.h"
#include "core/report/SavedScanSettings.h"
#include "core/report/WatchLine.h"
#include "zorvikc/Commands.h"

namespace zorvikc {
namespace {

constexpr int kExitStopped = 0;
constexpr int kExitError = 2;

void PrintWatchUsage(std::ostream& err) {
    err << "usage: zorvikc watch [--eventlog]\n"
           "  a JSON line (UTF-8) for every start-up entry added, changed or removed, from now\n"
           "  until Ctrl+C or Ctrl+Break\n"
           "  --eventlog: also an event for each in the Application log, under the source that\n"
           "              zorvikc --install-eventlog-source registers\n"
           "  exit code: 0 stopped, 2 error, 4 (with --eventlog) some events were not written\n";
}

// The watch's events, when asked for: a failure is told once when it starts, and the watch's
// exit code tells that events were lost.
class WatchEvents {
public:
    WatchEvents(platform::System& sys, bool wanted, std::ostream& err) : err_(err) {
        if (!wanted) return;
        feed_.emplace(sys);
        if (!feed_->Ready()) Tell();
    }
    void Write(const zorvik::EntryNews& news, const zorvik::WatchLineFacts& facts) {
        if (!feed_) return;
        if (feed_->Write(zorvik::WatchEvent(news, facts))) {
            failing_ = false;
        } else if (!failing_) {
            Tell();
        }
    }
    bool Lost() const { return lost_; }

private:
    void Tell() {
        failing_ = lost_ = true;
        err_ << "zorvikc watch: the changes are not written to the event log: " << feed_->Problem()
             << '\n';
    }

    std::ostream& err_;
    std::optional<zorvik::FindingEventFeed> feed_;
    bool failing_ = false;
    bool lost_ = false;
};

// The verdict levels a scan would give now to the entries of the processes named, over the
// places as the watch read them (none is read again), with the trusted list and options the
// window last saved. Only those processes are examined and their files read: an answer costs
// what the change names, not what runs.
std::map<std::string, zorvik::VerdictLevel> ListedLevels(platform::System& sys,
                                                         zorvik::RunningPrograms& running,
                                                         const std::set<std::uint32_t>& pids,
                                                         const zorvik::StartupPicture& picture,
                                                         zorvik::VerdictCache& cache) {
    const zorvik::SavedScanSettings settings = zorvik::ReadSavedScanSettings(sys);
    zorvik::ProcessList list;
    zorvik::ListChosenProcesses(sys, running.Sockets(), pids, settings, settings, list,
                                picture.Places());
    // A file unchanged since the watch's last answer is not hashed or verified again.
    zorvik::AddEvidence(sys, list, &cache);
    return zorvik::LevelsByEntry(list);
}

void PrintNews(platform::System& sys, platform::TcpTable* table,
               const zorvik::StartupPicture& picture,
               const std::vector<zorvik::EntryNews>& news, std::ostream& out,
               WatchEvents& events, zorvik::VerdictCache& cache) {
    if (news.empty()) return;
    const std::optional<platform::UtcTime> now = sys.UtcNow();
    zorvik::RunningPrograms running = zorvik::RunningPrograms::Take(sys, table);
    std::vector<zorvik::WatchLineFacts> lines;
    std::set<std::uint32_t> pids;
    for (const zorvik::EntryNews& item : news) {
        zorvik::WatchLineFacts facts;
        facts.time = now;
        facts.program = zorvik::ProgramNamedBy(item.Text());
        zorvik::RunningPrograms::Match match = running.Of(sys, facts.program);
        facts.running = match.running;
        facts.sockets = std::move(match.sockets);
        pids.merge(match.pids);
        lines.push_back(std::move(facts));
    }
    // Only a running program is listed by a scan: without one, nothing is worth judging.
    std::map<std::string, zorvik::VerdictLevel> levels;
    if (!pids.empty()) levels = ListedLevels(sys, running, pids, picture, cache);
    for (std::size_t i = 0; i < news.size(); ++i) {
        if (const auto level = levels.find(news[i].key); level != levels.end())
            lines[i].level = level->second;
        // Each line goes out whole and at once, for a reader that follows the output.
        out << zorvik::WatchLine(news[i], lines[i]) << '\n';
        out.flush();
        events.Write(news[i], lines[i]);
    }
}

}  // namespace

int RunWatchCommand(CommandContext& context) {
    const bool eventLog = context.args.size() == 1 && context.args[0] == "--eventlog";
    if (!context.args.empty() && !eventLog) {
        PrintWatchUsage(context.err);
        return kExitError;
    }
    platform::System& sys = context.sys;
    const std::unique_ptr<platform::PlaceWatch> watch = sys.NewPlaceWatch();
    if (!watch) {
        context.err << "zorvikc watch: this system gives no notice of changes\n";
        return kExitError;
    }
    std::atomic<bool> stopped{false};
    // Taken off before the watch goes: declared after it.
    const platform::ListenerToken breaks = sys.OnConsoleBreak([&stopped, &watch] {
        stopped = true;
        watch->Wake();
    });
    const std::unique_ptr<platform::TcpTable> table = zorvik::LoadTcpTableEntry(sys);
    WatchEvents events(sys, eventLog, context.err);
    zorvik::VerdictCache cache;
    // The first read sets the baseline; each answer reads what the changes name.
    zorvik::StartupPicture picture;
    try {
        picture.ReadAll(sys, watch.get());
    } catch (const std::exception& e) {
        context.err << "zorvikc watch: " << e.what() << '\n';
        return kExitError;
    }
    while (!stopped) {
        // Waits no longer than until the safety net's full read is due.
        const platform::PlaceChanges changes = watch->WaitForChange(picture.FullReadDueIn(sys));
        if (stopped) break;
        if (!changes && picture.FullReadDueIn(sys) > 0) continue;
        // A burst of changes is one answer.
        try {
            const std::vector<zorvik::EntryNews> news = picture.Answer(sys, *watch, changes);
            PrintNews(sys, table.get(), picture, news, context.out, events, cache);
        } catch (const std::exception& e) {
            // One answer that fails is told; the watch goes on.
            context.err << "zorvikc watch: " << e.what() << '\n';
        }
    }
    return events.Lost() ? kExitNoEventLog : kExitStopped;
}

}  // namespace zorvikc

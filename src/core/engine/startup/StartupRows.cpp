#include "core/engine/startup/StartupRows.h"

#include "core/engine/startup/StartupKinds.h"

namespace zorvik {

std::vector<HitNote> HitNotes(const HitTrail& trail) {
    std::vector<HitNote> notes;
    if (!trail.Script.empty()) notes.push_back({"Script", trail.Script});
    if (!trail.RunsInstead.empty()) notes.push_back({"Runs instead", trail.RunsInstead});
    if (!trail.Server.empty()) notes.push_back({"Class server", trail.Server});
    return notes;
}

std::string NotesText(const std::vector<HitNote>& notes, const std::string& separator) {
    std::string text;
    for (const HitNote& note : notes)
        text += (text.empty() ? "" : separator) + note.label + ": " + note.text;
    return text;
}

std::string StartsOtherText(const std::string& otherFile) {
    return "starts " + otherFile + ", not this program";
}

std::vector<StartupRow> StartupRowsOf(const ProcInfo& findings) {
    std::vector<StartupRow> rows;
    ForEachHit(findings, [&](StartupHit hit) {
        const StartupKindRow& kind = RowOf(hit.kind);
        const std::string* module = HitModule(findings, hit);
        rows.push_back(StartupRow{hit.kind, kind.name, kind.columns(findings, hit.index), hit.index,
                                  kind.hits.isDisabled(findings, hit.index),
                                  HitNotes(*kind.hits.trailOf(findings, hit.index)),
                                  module ? *module : std::string()});
    });
    return rows;
}

}  // namespace zorvik

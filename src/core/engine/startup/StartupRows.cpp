#include "core/engine/startup/StartupRows.h"

namespace zorvik {

namespace {

template <class Hit>
bool* FlagAt(std::vector<Hit>& hits, std::size_t index) {
    return index < hits.size() ? &hits[index].Disabled : nullptr;
}

}  // namespace

const char* StartupCaption(StartupKind kind) {
    switch (kind) {
        case StartupKind::Reg: return "REG";
        case StartupKind::Ini: return "INI";
        case StartupKind::Fol: return "FOL";
        case StartupKind::Fil: return "FIL";
    }
    return "";
}

std::optional<StartupKind> StartupKindOf(const std::string& caption) {
    for (StartupKind kind : {StartupKind::Reg, StartupKind::Ini, StartupKind::Fol, StartupKind::Fil})
        if (caption == StartupCaption(kind)) return kind;
    return std::nullopt;
}

std::vector<StartupRow> StartupRowsOf(const ProcInfo& findings) {
    std::vector<StartupRow> rows;
    auto add = [&rows](StartupKind kind, std::vector<std::string> data, std::size_t index,
                       bool disabled) {
        rows.push_back(StartupRow{kind, StartupCaption(kind), std::move(data), index, disabled});
    };
    for (std::size_t i = 0; i < findings.RegList.size(); ++i) {
        const RegStart& hit = findings.RegList[i];
        add(StartupKind::Reg, {hit.Root, hit.Key, hit.Name}, i, hit.Disabled);
    }
    for (std::size_t i = 0; i < findings.IniList.size(); ++i) {
        const IniStart& hit = findings.IniList[i];
        add(StartupKind::Ini, {hit.FileName, hit.Section, hit.Ident}, i, hit.Disabled);
    }
    for (std::size_t i = 0; i < findings.FolList.size(); ++i)
        add(StartupKind::Fol, {findings.FolList[i].Path}, i, findings.FolList[i].Disabled);
    for (std::size_t i = 0; i < findings.FilList.size(); ++i)
        add(StartupKind::Fil, {findings.FilList[i].Path}, i, findings.FilList[i].Disabled);
    return rows;
}

bool* HitDisabledFlag(ProcInfo& findings, StartupKind kind, std::size_t index) {
    switch (kind) {
        case StartupKind::Reg: return FlagAt(findings.RegList, index);
        case StartupKind::Ini: return FlagAt(findings.IniList, index);
        case StartupKind::Fol: return FlagAt(findings.FolList, index);
        case StartupKind::Fil: return FlagAt(findings.FilList, index);
    }
    return nullptr;
}

}  // namespace zorvik

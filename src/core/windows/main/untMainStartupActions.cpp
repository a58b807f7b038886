// The start-up list's commands: open the place an entry lives in, or disable the entry there.
#include <memory>
#include <optional>
#include <string>

#include "core/base/AsciiLower.h"
#include "core/base/Errors.h"
#include "core/base/FixedTexts.h"
#include "core/base/PathParts.h"
#include "core/engine/startup/RegistryText.h"
#include "core/engine/startup/StartupRows.h"
#include "core/base/TextLines.h"
#include "core/base/untFunc.h"
#include "core/windows/ErrorBox.h"
#include "core/windows/main/untMain.h"
#include "platform/Shell.h"

namespace zorvik {

namespace {

constexpr const char* kRegeditKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
constexpr const char* kLastKeyValue = "LastKey";
constexpr const char* kLastKeyFailed =
    "Unable to set value for \"LastKey\", You may require administrator rights";
constexpr const char* kDisableFailed =
    "Unable to disable the start up entry, You may require administrator rights";
// The new text of a rewritten file goes here first, beside the file it replaces.
constexpr const char* kRewriteSuffix = ".~zorvik";

void Open(platform::System& sys, const std::string& file, const std::string& parameters = {}) {
    platform::ShellExecuteRequest request;
    request.verb = "OPEN";
    request.file = file;
    request.parameters = parameters;
    request.show = platform::kShowNormal;
    sys.shell().Execute(request);
}

// What a disabled command holds: the long form of a bare program path, or the text itself when
// it is more than a path (arguments, quotes) or names no file, in lower case.
std::string DisabledCommand(platform::System& sys, const std::string& command) {
    std::string lowered = AsciiLower(GetLongPath(sys, command));
    if (lowered.empty()) lowered = AsciiLower(command);
    return MakeBackupCommand(lowered);
}

platform::RegValue TextValue(platform::RegType type, const std::string& text) {
    platform::RegValue value;
    value.type = type;
    value.data = text + '\0';
    return value;
}

bool WriteLastKey(platform::System& sys, const std::string& keyName) {
    platform::Registry& reg = sys.registry();
    const platform::RegKey key =
        platform::OpenKey(reg, platform::RootKey::CurrentUser, kRegeditKey, platform::KeyAccess::All);
    return key && reg.Set(key.get(), kLastKeyValue, TextValue(platform::RegType::Sz, keyName));
}

enum class RegistryOutcome { Written, NothingToDo, Failed };

RegistryOutcome WriteDisabledValue(platform::System& sys, const std::string& rootName,
                                   const std::string& keyPath, const std::string& name) {
    platform::Registry& reg = sys.registry();
    const platform::RegKey key =
        platform::OpenKey(reg, RootKeyFromName(rootName), keyPath, platform::KeyAccess::All);
    // Missing, or full access refused (a machine-wide key without administrator rights).
    if (!key) return RegistryOutcome::NothingToDo;
    const std::optional<platform::RegValue> value = reg.Query(key.get(), name);
    // Gone since the scan: writing it now would add a start-up entry, not disable one.
    if (!value) return RegistryOutcome::NothingToDo;
    if (!IsTextType(value->type)) {
        if (!value->data.empty()) return RegistryOutcome::Failed;
    }
    const std::string text = value->data.substr(0, value->data.find('\0'));
    // An expandable string stays expandable, so that its variables still work when enabled again.
    const platform::RegType type = IsTextType(value->type) ? value->type : platform::RegType::Sz;
    if (!reg.Set(key.get(), name, TextValue(type, DisabledCommand(sys, text))))
        return RegistryOutcome::Failed;
    return RegistryOutcome::Written;
}

// The file's lines with every line naming the program disabled, each ended by CR LF, then
// whatever followed a Ctrl-Z unchanged. matched tells whether any line named it.
std::string DisableLines(const std::string& bytes, const std::string& programFileName,
                         bool& matched) {
    const std::string name = AsciiLower(programFileName);
    std::string text;
    matched = false;
    for (const std::string& line : SplitTextLines(bytes)) {
        // A line feed alone stays inside a line, yet it ends a command for the programs that
        // read such files: each piece is changed on its own, so that ".bak" joins the program
        // and not the last dot of a later piece. The line feeds are kept as they were.
        std::size_t start = 0;
        for (;;) {
            const std::size_t lf = line.find('\n', start);
            const std::string piece = line.substr(start, lf == std::string::npos ? lf : lf - start);
            const std::string lowered = AsciiLower(piece);
            if (lowered.find(name) != std::string::npos) {
                text += MakeBackupCommand(lowered);
                matched = true;
            } else {
                text += piece;
            }
            if (lf == std::string::npos) break;
            text += '\n';
            start = lf + 1;
        }
        text += "\r\n";
    }
    const std::size_t endOfFile = bytes.find('\x1A');
    if (endOfFile != std::string::npos) text += bytes.substr(endOfFile);
    return text;
}

}  // namespace

void TfrmMain::ShowStartup1Click() {
    const int row = LstStart.SelectedRow();
    if (row < 0) return;
    const std::optional<StartupKind> kind = StartupKindOf(LstStart.RowCaption(row));
    if (!kind) return;
    const std::string data1 = LstStart.SubItem(row, 0);
    const std::string data2 = LstStart.SubItem(row, 1);

    switch (*kind) {
        case StartupKind::Reg:
            // The editor opens at the key named by "LastKey"; it is started even without it.
            if (!WriteLastKey(sys_, data1 + "\\" + data2)) ShowErrorBox(sys_.ui(), kLastKeyFailed);
            Open(sys_, "regedit.exe");
            break;
        case StartupKind::Ini:
        case StartupKind::Fil:
            Open(sys_, "notepad.exe", data1);
            break;
        case StartupKind::Fol:
            Open(sys_, data1);
            break;
    }
}

void TfrmMain::DisableStartup1Click() {
    const int row = LstStart.SelectedRow();
    if (row < 0) return;
    const std::optional<StartupKind> kind = StartupKindOf(LstStart.RowCaption(row));
    const auto index = std::static_pointer_cast<StartupRowIndex>(LstStart.RowData(row));
    // The findings of the process row that filled the list, held while the command runs.
    const std::shared_ptr<ProcInfo> owner = startupOwner_.lock();
    const int processRow = ProcessRowOf(owner.get());
    if (!kind || !index || index->index < 0 || processRow < 0) return;
    const std::size_t hit = static_cast<std::size_t>(index->index);
    if (!HitDisabledFlag(*owner, *kind, hit)) return;

    const std::string programFileName = ProgramFileNameOf(LstProc.RowCaption(processRow));
    const std::string data1 = LstStart.SubItem(row, 0);
    const std::string data2 = LstStart.SubItem(row, 1);
    const std::string data3 = LstStart.SubItem(row, 2);

    bool disabled = false;
    switch (*kind) {
        case StartupKind::Reg: disabled = DisableRegistryValue(data1, data2, data3); break;
        case StartupKind::Ini: disabled = DisableProfileEntry(data1, data2, data3); break;
        case StartupKind::Fol: disabled = DisableFolderEntry(data1, programFileName); break;
        case StartupKind::Fil: disabled = DisableFileLines(data1, programFileName); break;
    }
    if (!disabled) return;
    if (bool* flag = HitDisabledFlag(*owner, *kind, hit)) *flag = true;
    LstStart.Redraw();
}

bool TfrmMain::DisableRegistryValue(const std::string& rootName, const std::string& key,
                                    const std::string& name) {
    // The key is closed before any message is shown.
    const RegistryOutcome outcome = WriteDisabledValue(sys_, rootName, key, name);
    if (outcome == RegistryOutcome::Failed) {
        ShowErrorBox(sys_.ui(), kDisableFailed);
    }
    return outcome == RegistryOutcome::Written;
}

bool TfrmMain::DisableProfileEntry(const std::string& file, const std::string& section,
                                   const std::string& ident) {
    platform::Profile& profile = sys_.profile();
    const std::string value = profile.ReadString(file, section, ident, "");
    if (!profile.WriteString(file, section, ident, DisabledCommand(sys_, value)))
        throw AppError("Unable to write to " + file);
    return true;
}

bool TfrmMain::DisableFolderEntry(const std::string& folder, const std::string& programFileName) {
    if (programFileName.empty()) return false;
    const std::string target = folder + "\\" + programFileName;
    return sys_.files().Move(target, target + kBackupSuffix);
}

bool TfrmMain::DisableFileLines(const std::string& file, const std::string& programFileName) {
    // An empty name would be found in every line.
    if (programFileName.empty()) return false;
    platform::Files& files = sys_.files();
    std::string bytes;
    if (!files.ReadAll(file, bytes).ok) throw AppError("Cannot open file " + file);

    bool matched = false;
    const std::string text = DisableLines(bytes, programFileName, matched);

    const std::optional<std::uint32_t> attributes = files.Attributes(file);
    // Refused as a write to it would be; replacing it whole would not be stopped everywhere.
    if (attributes && (*attributes & platform::kAttrReadOnly))
        throw AppError("Cannot create file " + file);

    // Written whole beside the file first, so that a failure never leaves half a file.
    const std::string rewrite = file + kRewriteSuffix;
    if (!files.WriteAll(rewrite, text).ok) {
        files.Delete(rewrite);
        throw AppError("Cannot create file " + file);
    }
    if (!files.Replace(rewrite, file)) {
        files.Delete(rewrite);
        throw AppError("Cannot create file " + file);
    }
    // The new file starts with default attributes; a hidden or system file stays one.
    if (attributes && *attributes != platform::kAttrNormal) files.SetAttributes(file, *attributes);
    return matched;
}

}  // namespace zorvik

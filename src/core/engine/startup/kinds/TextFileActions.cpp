#include <cstdint>
#include <optional>

#include "core/base/AsciiLower.h"
#include "core/base/FixedTexts.h"
#include "core/base/TextLines.h"
#include "core/base/untFunc.h"
#include "core/engine/startup/kinds/TextFileKind.h"

namespace zorvik {

namespace {

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

PlaceOpening TextFileOpening(const FilStart& hit) {
    return {kTextEditor, hit.Path, std::nullopt};
}

DisableOutcome DisableTextFileLines(platform::System& sys, const std::string& file,
                                    const std::string& programFileName) {
    // An empty name would be found in every line.
    if (programFileName.empty()) return {DisableResult::Unchanged, {}};
    platform::Files& files = sys.files();
    std::string bytes;
    if (!files.ReadAll(file, bytes).ok) return {DisableResult::FileNotRead, file};

    bool matched = false;
    const std::string text = DisableLines(bytes, programFileName, matched);
    if (!ReplaceFileText(sys, file, text)) return {DisableResult::FileNotWritten, file};
    return {matched ? DisableResult::Disabled : DisableResult::Unchanged, {}};
}

bool ReplaceFileText(platform::System& sys, const std::string& file, const std::string& text) {
    platform::Files& files = sys.files();
    const std::optional<std::uint32_t> attributes = files.Attributes(file);
    // Refused as a write to it would be; replacing it whole would not be stopped everywhere.
    if (attributes && (*attributes & platform::kAttrReadOnly)) return false;

    // Written whole beside the file first, so that a failure never leaves half a file.
    const std::string rewrite = file + kRewriteSuffix;
    if (!files.WriteAll(rewrite, text).ok || !files.Replace(rewrite, file)) {
        files.Delete(rewrite);
        return false;
    }
    // The new file starts with default attributes; a hidden or system file stays one.
    if (attributes && *attributes != platform::kAttrNormal) files.SetAttributes(file, *attributes);
    return true;
}

}  // namespace zorvik

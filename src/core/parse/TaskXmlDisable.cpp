#include "core/parse/TaskXmlDisable.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "core/parse/TaskXml.h"
#include "core/parse/UnicodeText.h"
#include "core/parse/XmlElements.h"

namespace zorvik::parse {

namespace {

using ElementPath = std::vector<std::string>;

const ElementPath kTask = {"Task"};
const ElementPath kSettings = {"Task", "Settings"};
const ElementPath kEnabled = {"Task", "Settings", "Enabled"};

constexpr std::string_view kFalse = "false";
constexpr std::string_view kEnabledFalse = "<Enabled>false</Enabled>";
constexpr std::string_view kSettingsDisabled = "<Settings><Enabled>false</Enabled></Settings>";

// Stands for a character past ASCII: no markup holds it.
constexpr char kWideCharacter = '\x80';

// The document's code units, one character each (UTF-16: one per two bytes), so that an offset
// in this text times the unit's width is an offset in the bytes after the byte order mark.
std::string CodeUnitText(std::string_view body, std::size_t width, bool bigEndian) {
    if (width == 1) return std::string(body);
    std::string text;
    text.reserve(body.size() / 2);
    for (std::size_t at = 0; at + 1 < body.size(); at += 2) {
        const unsigned char low = static_cast<unsigned char>(body[bigEndian ? at + 1 : at]);
        const unsigned char high = static_cast<unsigned char>(body[bigEndian ? at : at + 1]);
        text += (high == 0 && low < 0x80) ? static_cast<char>(low) : kWideCharacter;
    }
    return text;
}

std::string Encode(std::string_view ascii, std::size_t width, bool bigEndian) {
    if (width == 1) return std::string(ascii);
    std::string bytes;
    for (const char c : ascii) {
        bytes += bigEndian ? '\0' : c;
        bytes += bigEndian ? c : '\0';
    }
    return bytes;
}

struct Edit {
    std::size_t begin;  // in code units
    std::size_t end;
    std::string_view text;
};

class SpanVisitor : public XmlElementVisitor {
public:
    std::optional<XmlElementSpan> task, settings;
    std::vector<XmlElementSpan> enabled;

    void ElementStarted(const ElementPath&) override {}
    void ElementEnded(const ElementPath&, const std::string&) override {}
    void ElementSpanRead(const ElementPath& path, const XmlElementSpan& span) override {
        if (path == kEnabled) enabled.push_back(span);
        if (path == kSettings && !settings) settings = span;
        if (path == kTask) task = span;
    }
};

bool IsEmptyElement(const XmlElementSpan& span) { return span.contentEnd == span.end; }

std::optional<std::vector<Edit>> EditsOf(const SpanVisitor& spans) {
    std::vector<Edit> edits;
    for (const XmlElementSpan& span : spans.enabled) {
        if (IsEmptyElement(span))
            edits.push_back({span.start, span.end, kEnabledFalse});
        else
            edits.push_back({span.contentBegin, span.contentEnd, kFalse});
    }
    if (!edits.empty()) return edits;
    if (spans.settings) {
        if (IsEmptyElement(*spans.settings))
            return std::vector<Edit>{{spans.settings->start, spans.settings->end, kSettingsDisabled}};
        return std::vector<Edit>{
            {spans.settings->contentBegin, spans.settings->contentBegin, kEnabledFalse}};
    }
    if (spans.task && !IsEmptyElement(*spans.task))
        return std::vector<Edit>{{spans.task->contentBegin, spans.task->contentBegin, kSettingsDisabled}};
    return std::nullopt;
}

bool SameActions(const TaskDefinition& a, const TaskDefinition& b) {
    return std::equal(a.execActions.begin(), a.execActions.end(), b.execActions.begin(),
                      b.execActions.end(), [](const TaskExecAction& x, const TaskExecAction& y) {
                          return x.command == y.command && x.arguments == y.arguments &&
                                 x.workingDirectory == y.workingDirectory;
                      });
}

}  // namespace

std::optional<std::string> DisableTaskXml(std::string_view bytes) {
    const std::optional<TaskDefinition> before = ParseTaskXml(bytes);
    if (!before) return std::nullopt;

    const TextEncoding encoding = XmlDocumentEncoding(bytes);
    const bool wide = encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
    const bool bigEndian = encoding == TextEncoding::Utf16Be;
    const std::size_t width = wide ? 2 : 1;
    const std::size_t mark = ByteOrderMarkLength(bytes, encoding);

    SpanVisitor spans;
    if (!ReadXmlElements(CodeUnitText(bytes.substr(mark), width, bigEndian), spans))
        return std::nullopt;
    const std::optional<std::vector<Edit>> edits = EditsOf(spans);
    if (!edits) return std::nullopt;

    std::string changed(bytes.substr(0, mark));
    std::size_t copied = mark;
    for (const Edit& edit : *edits) {
        changed.append(bytes.substr(copied, mark + edit.begin * width - copied));
        changed += Encode(edit.text, width, bigEndian);
        copied = mark + edit.end * width;
    }
    changed.append(bytes.substr(copied));

    const std::optional<TaskDefinition> after = ParseTaskXml(changed);
    if (!after || after->enabled || after->hidden != before->hidden || after->uri != before->uri ||
        !SameActions(*before, *after))
        return std::nullopt;
    return changed;
}

}  // namespace zorvik::parse

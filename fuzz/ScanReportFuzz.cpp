// The three scan reports over rows of any texts: the JSON parses, the CSV reads back to the
// rows' own texts (the module a hit was found through after its key and text), and every
// report is UTF-8, whatever bytes the rows hold. The JSON report
// read back as a baseline finds nothing changed; against a baseline with entries dropped and
// texts altered, the reports of the changes are as well-formed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/engine/process/ProcessList.h"
#include "core/engine/startup/StartupRows.h"
#include "core/report/AnsiUtf8.h"
#include "core/report/BaselineReport.h"
#include "core/report/ScanReport.h"
#include "support/CsvRecords.h"
#include "support/FuzzCheck.h"
#include "support/FuzzFields.h"
#include "support/StrictJson.h"
#include "support/Utf8.h"

namespace {

constexpr std::size_t kMaxRows = 6;
constexpr std::size_t kMaxPerList = 3;

std::unique_ptr<zorvik::ProcInfo> FindingsOf(fuzz::ByteReader& in) {
    auto info = std::make_unique<zorvik::ProcInfo>();
    for (std::size_t n = in.Byte() % (kMaxPerList + 1); n > 0; --n)
        info->RegList.push_back({in.ShortText(), in.ShortText(), in.ShortText(),
                                 (in.Byte() & 1) != 0, in.ShortText()});
    for (std::size_t n = in.Byte() % (kMaxPerList + 1); n > 0; --n)
        info->IniList.push_back({in.ShortText(), in.ShortText(), in.ShortText(),
                                 (in.Byte() & 1) != 0, in.ShortText()});
    for (std::size_t n = in.Byte() % (kMaxPerList + 1); n > 0; --n)
        info->FolList.push_back({in.ShortText(), (in.Byte() & 1) != 0, in.ShortText(),
                                 in.ShortText()});
    for (std::size_t n = in.Byte() % (kMaxPerList + 1); n > 0; --n)
        info->FilList.push_back({in.ShortText(), (in.Byte() & 1) != 0, {}, in.ShortText()});
    for (std::size_t n = in.Byte() % (kMaxPerList + 1); n > 0; --n)
        info->ExeList.push_back({in.ShortText(), in.ShortText(), (in.Byte() & 1) != 0,
                                 in.ShortText()});
    for (std::size_t n = in.Byte() % (kMaxPerList + 1); n > 0; --n) {
        info->WmiList.push_back({in.ShortText(), in.ShortText(), in.ShortText(), in.ShortText(),
                                 (in.Byte() & 1) != 0, in.ShortText()});
    }
    // Modules of hits that may or may not be in the lists.
    for (std::size_t n = in.Byte() % (kMaxPerList + 1); n > 0; --n) {
        info->ModuleHits.push_back({static_cast<zorvik::StartupKind>(in.Byte() % 2),
                                    in.Byte() % (kMaxPerList + 1), in.ShortText()});
    }
    return info;
}

platform::TcpRow SocketOf(fuzz::ByteReader& in) {
    platform::TcpRow row;
    row.state = in.Byte();
    row.family = (in.Byte() & 1) ? platform::AddressFamily::V6 : platform::AddressFamily::V4;
    for (auto& b : row.localAddress) b = in.Byte();
    for (auto& b : row.remoteAddress) b = in.Byte();
    row.localPort = static_cast<std::uint16_t>(in.Uint32());
    row.remotePort = static_cast<std::uint16_t>(in.Uint32());
    row.owningPid = in.Uint32();
    return row;
}

std::optional<zorvik::ProgramFileFacts> FileOf(fuzz::ByteReader& in) {
    const std::uint8_t kind = in.Byte();
    if (kind % 3 == 0) return std::nullopt;
    zorvik::ProgramFileFacts facts;
    facts.readable = kind % 3 == 2;
    facts.size = (std::uint64_t{in.Uint32()} << 32) | in.Uint32();
    facts.hashState = static_cast<zorvik::HashState>(in.Byte() % 4);
    facts.sha256 = in.ShortText();
    if (in.Byte() & 1)
        facts.version = platform::VersionStrings{in.ShortText(), in.ShortText(), in.ShortText(),
                                                 in.ShortText(), (in.Byte() & 1) != 0};
    facts.signature.state = static_cast<platform::SignatureState>(in.Byte() % 3);
    facts.signature.reason = in.ShortText();
    facts.signature.signer = in.ShortText();
    return facts;
}

void CheckCsv(const std::string& csv, const zorvik::ProcessList& list) {
    const auto records = fuzz::ReadCsv(csv);
    FUZZ_CHECK(records.has_value());
    FUZZ_CHECK(!records->empty());
    const fuzz::CsvRecord& heads = records->front();
    const std::size_t columns = heads.size();
    const auto moduleColumn = std::find(heads.begin(), heads.end(), "Module");
    FUZZ_CHECK(moduleColumn != heads.end());
    const std::size_t moduleAt = static_cast<std::size_t>(moduleColumn - heads.begin());
    std::size_t r = 1;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const zorvik::ProcessRow& row = list.At(i);
        const std::size_t hits = zorvik::StartupRowsOf(*row.data).size();
        for (std::size_t h = 0; h < (hits == 0 ? 1 : hits); ++h, ++r) {
            FUZZ_CHECK(r < records->size());
            const fuzz::CsvRecord& record = (*records)[r];
            FUZZ_CHECK(record.size() == columns);
            FUZZ_CHECK(record[0] == zorvik::AnsiToUtf8(row.caption));
            FUZZ_CHECK(record[1] == zorvik::AnsiToUtf8(row.pid));
            FUZZ_CHECK(record[2] == zorvik::AnsiToUtf8(row.details));
            if (hits > 0) {
                const std::string module = zorvik::StartupRowsOf(*row.data)[h].module;
                FUZZ_CHECK(record[moduleAt] == zorvik::AnsiToUtf8(module));
            }
        }
    }
    FUZZ_CHECK(r == records->size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteReader in(data, size);
    zorvik::ProcessList list;
    for (std::size_t n = in.Byte() % (kMaxRows + 1); n > 0 && !in.AtEnd(); --n) {
        std::string caption = in.ShortText();
        std::string pid = in.ShortText();
        std::string details = in.ShortText();
        const std::size_t index = list.Add(caption, pid, details, FindingsOf(in));
        zorvik::ProcessRow& row = list.At(index);
        for (std::size_t s = in.Byte() % 3; s > 0; --s) row.sockets.push_back(SocketOf(in));
        for (std::size_t a = in.Byte() % 4; a > 0; --a)
            row.approvals.push_back(static_cast<zorvik::StartupApproval>(in.Byte() % 3));
        row.file = FileOf(in);
    }

    const std::string text = zorvik::FormatScanReport(list, zorvik::ReportFormat::Text);
    const std::string csv = zorvik::FormatScanReport(list, zorvik::ReportFormat::Csv);
    const std::string json = zorvik::FormatScanReport(list, zorvik::ReportFormat::Json);
    FUZZ_CHECK(fuzz::IsValidUtf8(text));
    FUZZ_CHECK(fuzz::IsValidUtf8(csv));
    FUZZ_CHECK(fuzz::IsValidUtf8(json));
    FUZZ_CHECK(fuzz::IsStrictJson(json));
    CheckCsv(csv, list);

    const zorvik::BaselineReading reading = zorvik::ReadBaselineReport(json);
    FUZZ_CHECK(reading.entries.has_value());
    FUZZ_CHECK(zorvik::CompareWithBaseline(list, *reading.entries).changes.empty());

    // Every other entry dropped, and the text of the rest altered at the fuzzer's choice.
    std::vector<zorvik::BaselineEntry> older;
    for (std::size_t e = 0; e < reading.entries->size(); ++e) {
        if (e % 2 == 1) continue;
        older.push_back((*reading.entries)[e]);
        if (in.Byte() & 1) older.back().text += zorvik::AnsiToUtf8(in.ShortText());
    }
    const zorvik::BaselineComparison comparison = zorvik::CompareWithBaseline(list, older);
    for (const zorvik::ReportFormat format :
         {zorvik::ReportFormat::Text, zorvik::ReportFormat::Csv, zorvik::ReportFormat::Json}) {
        const std::string changes = zorvik::FormatChangesReport(list, comparison, format);
        FUZZ_CHECK(fuzz::IsValidUtf8(changes));
        if (format == zorvik::ReportFormat::Json) FUZZ_CHECK(fuzz::IsStrictJson(changes));
        if (format == zorvik::ReportFormat::Csv) FUZZ_CHECK(fuzz::ReadCsv(changes).has_value());
    }
    return 0;
}

#include "core/report/EvidenceReport.h"

#include "core/report/AnsiUtf8.h"
#include "core/report/ScanReport.h"
#include "core/base/SocketFormat.h"

namespace zorvik {

std::string FamilyName(platform::AddressFamily family) {
    return family == platform::AddressFamily::V4 ? "IPv4" : "IPv6";
}

std::string SocketsCell(const std::vector<platform::TcpRow>& sockets) {
    std::string cell;
    for (const platform::TcpRow& row : sockets) {
        if (!cell.empty()) cell += "; ";
        cell += SocketSummary(row);
    }
    return cell;
}

std::string SocketJson(const platform::TcpRow& row) {
    return "{\"family\": " + JsonString(FamilyName(row.family)) +
           ", \"state\": " + JsonString(TcpStateName(row.state)) +
           ", \"localAddress\": " + JsonString(FormatAddress(row.family, row.localAddress)) +
           ", \"localPort\": " + std::to_string(row.localPort) +
           ", \"remoteAddress\": " + JsonString(FormatAddress(row.family, row.remoteAddress)) +
           ", \"remotePort\": " + std::to_string(row.remotePort) + "}";
}

std::string SocketsJson(const std::vector<platform::TcpRow>& sockets) {
    std::string out = "[";
    for (std::size_t i = 0; i < sockets.size(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        out += "        " + SocketJson(sockets[i]);
    }
    out += sockets.empty() ? "]" : "\n      ]";
    return out;
}

std::string ApprovalJson(StartupApproval approval) {
    switch (approval) {
        case StartupApproval::Allowed: return "true";
        case StartupApproval::Disabled: return "false";
        case StartupApproval::Unknown: break;
    }
    return "null";
}

std::string ApprovalCell(StartupApproval approval) {
    return approval == StartupApproval::Unknown ? "" : ApprovalJson(approval);
}

std::string ApprovalText(StartupApproval approval) {
    switch (approval) {
        case StartupApproval::Allowed: return "allowed";
        case StartupApproval::Disabled: return "disabled";
        case StartupApproval::Unknown: break;
    }
    return "unknown";
}

namespace {

const char* HashStateName(HashState state) {
    switch (state) {
        case HashState::Done: return "done";
        case HashState::TooLarge: return "too large";
        case HashState::NotAvailable: return "not available";
        case HashState::Unreadable: break;
    }
    return "unreadable";
}

std::string Utf8Json(const std::string& ansi) { return JsonString(AnsiToUtf8(ansi)); }

}  // namespace

std::string FileJson(const std::optional<ProgramFileFacts>& file) {
    if (!file) return "null";
    if (!file->readable) return "{\"readable\": false}";
    std::string out = "{\n";
    out += "        \"readable\": true,\n";
    out += "        \"size\": " + std::to_string(file->size) + ",\n";
    out += "        \"sha256\": " +
           (file->hashState == HashState::Done ? Utf8Json(file->sha256) : "null") + ",\n";
    out += "        \"hash\": " + JsonString(HashStateName(file->hashState)) + ",\n";
    out += "        \"version\": ";
    if (file->version) {
        const platform::VersionStrings& v = *file->version;
        out += "{\"companyName\": " + Utf8Json(v.companyName) +
               ", \"fileDescription\": " + Utf8Json(v.fileDescription) +
               ", \"productName\": " + Utf8Json(v.productName) +
               ", \"fileVersion\": " + Utf8Json(v.fileVersion) +
               ", \"stringTable\": " + (v.hasStringTable ? "true" : "false") + "}";
    } else {
        out += "null";
    }
    out += ",\n";
    out += "        \"signature\": " + JsonString(SignatureText(file->signature.state)) + ",\n";
    out += "        \"reason\": " + Utf8Json(file->signature.reason) + ",\n";
    out += "        \"signer\": " + Utf8Json(file->signature.signer) + "\n";
    out += "      }";
    return out;
}

std::string FileTextLines(const std::optional<ProgramFileFacts>& file) {
    if (!file) return {};
    if (!file->readable) return "  File     unreadable\n";
    std::string out = "  Size     " + std::to_string(file->size) + " bytes\n";
    out += "  SHA-256  " +
           (file->hashState == HashState::Done ? AnsiToUtf8(file->sha256)
                                               : std::string(HashStateName(file->hashState))) +
           "\n";
    if (file->version) {
        const platform::VersionStrings& v = *file->version;
        out += "  Company  " + AnsiToUtf8(v.companyName) + "\n";
        out += "  Description  " + AnsiToUtf8(v.fileDescription) + "\n";
        out += "  Product  " + AnsiToUtf8(v.productName) + "\n";
        out += "  Version  " + AnsiToUtf8(v.fileVersion) + "\n";
    } else {
        out += "  Version  no version resource\n";
    }
    out += "  Signature  " + AnsiToUtf8(SignatureSummary(file->signature));
    if (!file->signature.signer.empty()) out += ", by " + AnsiToUtf8(file->signature.signer);
    return out + "\n";
}

std::vector<std::string> FileCsvHeads() {
    return {"File Size", "SHA-256", "Company Name", "File Description", "Product Name",
            "File Version", "Signature", "Signer"};
}

std::vector<std::string> FileCsvCells(const std::optional<ProgramFileFacts>& file) {
    if (!file) return std::vector<std::string>(FileCsvHeads().size());
    if (!file->readable) {
        std::vector<std::string> cells(FileCsvHeads().size());
        cells[0] = "unreadable";
        return cells;
    }
    const platform::VersionStrings v = file->version.value_or(platform::VersionStrings{});
    return {std::to_string(file->size),
            file->hashState == HashState::Done ? file->sha256 : HashStateName(file->hashState),
            v.companyName, v.fileDescription, v.productName, v.fileVersion,
            SignatureSummary(file->signature), file->signature.signer};
}

}  // namespace zorvik

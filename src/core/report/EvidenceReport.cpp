#include "core/report/EvidenceReport.h"

#include "core/report/ScanReport.h"
#include "core/report/SocketFormat.h"

namespace zorvik {

std::string FamilyName(platform::AddressFamily family) {
    return family == platform::AddressFamily::V4 ? "IPv4" : "IPv6";
}

std::string SocketSummary(const platform::TcpRow& row) {
    return TcpStateName(row.state) + ' ' +
           FormatEndpoint(row.family, row.localAddress, row.localPort) + " -> " +
           FormatEndpoint(row.family, row.remoteAddress, row.remotePort);
}

std::string SocketsCell(const std::vector<platform::TcpRow>& sockets) {
    std::string cell;
    for (const platform::TcpRow& row : sockets) {
        if (!cell.empty()) cell += "; ";
        cell += SocketSummary(row);
    }
    return cell;
}

std::string SocketsJson(const std::vector<platform::TcpRow>& sockets) {
    std::string out = "[";
    for (std::size_t i = 0; i < sockets.size(); ++i) {
        const platform::TcpRow& row = sockets[i];
        out += i == 0 ? "\n" : ",\n";
        out += "        {\"family\": " + JsonString(FamilyName(row.family)) +
               ", \"state\": " + JsonString(TcpStateName(row.state)) +
               ", \"localAddress\": " + JsonString(FormatAddress(row.family, row.localAddress)) +
               ", \"localPort\": " + std::to_string(row.localPort) +
               ", \"remoteAddress\": " +
               JsonString(FormatAddress(row.family, row.remoteAddress)) +
               ", \"remotePort\": " + std::to_string(row.remotePort) + "}";
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

}  // namespace zorvik

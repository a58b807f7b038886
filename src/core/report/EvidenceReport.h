#pragma once
// The evidence a scan keeps beside each listed program (its sockets), in the forms the scan
// report prints: a text line, a CSV cell and a JSON array.
#include <optional>
#include <string>
#include <vector>

#include "core/base/SocketFormat.h"
#include "core/engine/process/ProgramFile.h"
#include "core/engine/startup/StartupApproval.h"
#include "platform/Processes.h"

namespace zorvik {

// "IPv4" or "IPv6".
std::string FamilyName(platform::AddressFamily family);

// The summaries joined by "; ", for one CSV cell.
std::string SocketsCell(const std::vector<platform::TcpRow>& sockets);

// {"family": "IPv4", "state": "LISTEN", "localAddress": "0.0.0.0", "localPort": 80,
//  "remoteAddress": "0.0.0.0", "remotePort": 0}, on one line.
std::string SocketJson(const platform::TcpRow& row);
// [SocketJson, ...], indented for a program's object.
std::string SocketsJson(const std::vector<platform::TcpRow>& sockets);

// JSON true, false or null; CSV "true", "false" or empty; text "allowed", "disabled", "unknown".
std::string ApprovalJson(StartupApproval approval);
std::string ApprovalCell(StartupApproval approval);
std::string ApprovalText(StartupApproval approval);

// The program file's facts: a JSON object (null when none were read), the text report's lines
// (two blanks in front, each ending in LF) and the CSV cells under FileCsvHeads().
std::string FileJson(const std::optional<ProgramFileFacts>& file);
std::string FileTextLines(const std::optional<ProgramFileFacts>& file);
std::vector<std::string> FileCsvHeads();
std::vector<std::string> FileCsvCells(const std::optional<ProgramFileFacts>& file);

}  // namespace zorvik

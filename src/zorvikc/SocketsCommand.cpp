// zorvikc sockets: the system's TCP table with each socket's owning program.
#include <map>
#include <memory>
#include <string>

#include "core/base/FixedTexts.h"
#include "core/base/SocketFormat.h"
#include "core/engine/ScanCycle.h"
#include "core/base/untFunc.h"
#include "zorvikc/Commands.h"

namespace zorvikc {

namespace {

const char* FamilyName(platform::AddressFamily family) {
    return family == platform::AddressFamily::V4 ? "IPv4" : "IPv6";
}

}  // namespace

int RunSocketsCommand(CommandContext& context) {
    platform::System& sys = context.sys;
    const std::unique_ptr<platform::TcpTable> table = sys.processes().LoadTcpTable();
    if (!table) {
        // The system's refusal, not the user's mistake: no usage exit code.
        context.err << zorvik::kNoTcpTableMessage << '\n';
        return kExitFailed;
    }

    // A process owns many sockets; its path is looked up once.
    std::map<std::uint32_t, std::string> pathOfPid;
    int result = kExitOk;
    context.out << zorvik::SocketHeaderLine() << '\n';
    for (const platform::AddressFamily family :
         {platform::AddressFamily::V4, platform::AddressFamily::V6}) {
        if (!table->Supports(family)) continue;
        const auto rows = table->Rows(family);
        if (!rows) {
            context.err << "The system gave no " << FamilyName(family) << " TCP table\n";
            result = kExitFailed;
            continue;
        }
        for (const platform::TcpRow& row : *rows) {
            auto found = pathOfPid.find(row.owningPid);
            if (found == pathOfPid.end()) {
                found = pathOfPid
                            .emplace(row.owningPid, zorvik::GetProcessPath(sys, row.owningPid))
                            .first;
            }
            context.out << zorvik::SocketLine(row, found->second) << '\n';
        }
    }
    return result;
}

}  // namespace zorvikc

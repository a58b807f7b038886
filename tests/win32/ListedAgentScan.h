#pragma once
// Scanning the real system until a test agent is listed. The system names a socket's owner only
// a moment after the program's first I/O on it, so the scan is repeated, with no options on and
// no program trusted, until the program shows up or the attempts run out.
#include <cstddef>
#include <memory>
#include <string>

#include "core/base/AsciiLower.h"
#include "core/base/untFunc.h"
#include "core/engine/ScanCycle.h"
#include "core/engine/ScanOptions.h"
#include "core/engine/TrustedList.h"
#include "core/engine/process/ProcessList.h"
#include "platform/System.h"
#include "platform/win32/WindowsApi.h"

namespace wintest {

class NoOptions : public zorvik::ScanOptions {
public:
    bool IgnoreSafe() const override { return false; }
};

class EmptyTrust : public zorvik::TrustedList {
public:
    std::size_t Count() const override { return 0; }
    std::string Entry(std::size_t) const override { return {}; }
    void Append(const std::string&) override {}
};

// The row of the program at path (its long form, in any letter case) in list after the first
// scan that lists it; -1 when 40 scans 250 ms apart do not.
inline int ScanUntilListed(platform::System& sys, zorvik::ProcessList& list,
                           const std::string& path) {
    const std::unique_ptr<platform::TcpTable> tcp = zorvik::LoadTcpTableEntry(sys);
    if (!tcp) return -1;
    const std::string wanted = zorvik::AsciiLower(zorvik::GetLongPath(sys, path));
    const NoOptions options;
    const EmptyTrust trusted;
    for (int attempt = 0; attempt < 40; ++attempt) {
        list.Clear();
        zorvik::ScanCycle(sys, tcp.get(), options, trusted, list);
        for (std::size_t row = 0; row < list.Count(); ++row) {
            const std::string caption = zorvik::GetLongPath(sys, list.At(row).caption);
            if (zorvik::AsciiLower(caption) == wanted) return static_cast<int>(row);
        }
        ::Sleep(250);
    }
    return -1;
}

// The findings of the program at path once a scan lists it; null when none does.
inline std::unique_ptr<zorvik::ProcInfo> FindingsOnceListed(platform::System& sys,
                                                            const std::string& path) {
    zorvik::ProcessList list;
    const int row = ScanUntilListed(sys, list, path);
    if (row < 0) return nullptr;
    std::unique_ptr<zorvik::ProcInfo>& data = list.At(static_cast<std::size_t>(row)).data;
    return data ? std::move(data) : std::make_unique<zorvik::ProcInfo>();
}

}  // namespace wintest

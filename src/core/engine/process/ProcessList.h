#pragma once
// The rows of the process list: one per program found by a scan, in the order they were
// added. The list owns each row's findings; clearing it or destroying it frees them.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/process/ProgramFile.h"
#include "core/engine/startup/StartupApproval.h"
#include "core/engine/untRecord.h"
#include "core/engine/verdict/Verdict.h"
#include "platform/Processes.h"

namespace zorvik {

struct ProcessRow {
    std::string caption;  // the program's path
    std::string pid;      // the process id in decimal; "-1" for an Active Setup stub
    // The process the row stands for, which actions on it use; none for an Active Setup stub.
    std::optional<std::uint32_t> processId;
    std::string details;
    std::unique_ptr<ProcInfo> data;  // never null for rows added with findings
    // The process's rows of the scan's own TCP tables, every state, IPv4 then IPv6, in table
    // order; empty for an Active Setup stub.
    std::vector<platform::TcpRow> sockets;
    // Task Manager's verdict on each start-up hit, in the order of StartupRowsOf; empty until
    // AddEvidence has run.
    std::vector<StartupApproval> approvals;
    // The program file's facts; nullopt until AddEvidence has run or where the system has none.
    std::optional<ProgramFileFacts> file;
    // What the scan concludes about the program; nullopt until the verdicts have been added.
    std::optional<Verdict> verdict;
    // For each start-up hit, in the order of StartupRowsOf: the other existing file its entry
    // names by full path (a service's svchost.exe line naming C:\Windows\System32\svchost.exe
    // for a program of that name elsewhere), which the entry really starts; empty where the
    // entry names no other file. Such a hit is not counted as the program's own start-up.
    std::vector<std::string> startsOther;
};

class ProcessList {
public:
    ProcessList() = default;
    ProcessList(const ProcessList&) = delete;
    ProcessList& operator=(const ProcessList&) = delete;
    ProcessList(ProcessList&&) = default;
    ProcessList& operator=(ProcessList&&) = default;

    // Appends a row and returns its index.
    std::size_t Add(std::string caption, std::string pid, std::string details,
                    std::unique_ptr<ProcInfo> data);
    // Appends the row of a running process, its pid shown in decimal, and returns its index.
    std::size_t AddProcess(std::string caption, std::uint32_t processId, std::string details,
                           std::unique_ptr<ProcInfo> data);
    std::size_t Count() const { return rows_.size(); }
    // Throws std::out_of_range for an index at or past Count().
    const ProcessRow& At(std::size_t index) const { return rows_.at(index); }
    ProcessRow& At(std::size_t index) { return rows_.at(index); }
    // Appends a copy of row, its findings copied too, and returns its index.
    std::size_t AddCopyOf(const ProcessRow& row);
    void SetDetails(std::size_t index, std::string details);
    void Clear() { rows_.clear(); }
    // Keeps the rows keep(row) says yes to, in their order; the others and their findings go.
    template <typename Keep>
    void Retain(Keep keep) {
        std::erase_if(rows_, [&keep](const ProcessRow& row) { return !keep(row); });
    }

private:
    std::vector<ProcessRow> rows_;
};

}  // namespace zorvik

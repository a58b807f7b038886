#include "core/engine/process/ProcessList.h"

#include <string>
#include <utility>

namespace zorvik {

std::size_t ProcessList::Add(std::string caption, std::string pid, std::string details,
                             std::unique_ptr<ProcInfo> data) {
    ProcessRow row;
    row.caption = std::move(caption);
    row.pid = std::move(pid);
    row.details = std::move(details);
    row.data = std::move(data);
    rows_.push_back(std::move(row));
    return rows_.size() - 1;
}

std::size_t ProcessList::AddProcess(std::string caption, std::uint32_t processId,
                                    std::string details, std::unique_ptr<ProcInfo> data) {
    const std::size_t index =
        Add(std::move(caption), std::to_string(processId), std::move(details), std::move(data));
    rows_[index].processId = processId;
    return index;
}

std::size_t ProcessList::AddCopyOf(const ProcessRow& row) {
    ProcessRow copy;
    copy.caption = row.caption;
    copy.pid = row.pid;
    copy.processId = row.processId;
    copy.details = row.details;
    if (row.data) copy.data = std::make_unique<ProcInfo>(*row.data);
    copy.sockets = row.sockets;
    copy.approvals = row.approvals;
    copy.file = row.file;
    copy.verdict = row.verdict;
    copy.startsOther = row.startsOther;
    rows_.push_back(std::move(copy));
    return rows_.size() - 1;
}

void ProcessList::SetDetails(std::size_t index, std::string details) {
    rows_.at(index).details = std::move(details);
}

}  // namespace zorvik

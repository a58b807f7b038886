#include "core/engine/process/ProcessList.h"

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

void ProcessList::SetDetails(std::size_t index, std::string details) {
    rows_.at(index).details = std::move(details);
}

}  // namespace zorvik

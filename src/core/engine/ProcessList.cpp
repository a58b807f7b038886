#include "core/engine/ProcessList.h"

#include <utility>

namespace zorvik {

std::size_t ProcessList::Add(std::string caption, std::string pid, std::string details,
                             std::unique_ptr<ProcInfo> data) {
    rows_.push_back(ProcessRow{std::move(caption), std::move(pid), std::move(details),
                               std::move(data)});
    return rows_.size() - 1;
}

void ProcessList::SetDetails(std::size_t index, std::string details) {
    rows_.at(index).details = std::move(details);
}

}  // namespace zorvik

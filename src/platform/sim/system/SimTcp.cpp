#include "platform/sim/system/SimTcp.h"

#include <algorithm>
#include <tuple>

namespace platform::sim {

namespace {

class SimTcpTable : public TcpTable {
public:
    explicit SimTcpTable(std::shared_ptr<TcpState> state) : state_(std::move(state)) {
        ++state_->liveTables;
    }
    ~SimTcpTable() override { --state_->liveTables; }

    bool Supports(AddressFamily family) const override {
        // Without the extended function only the IPv4 table of the legacy one is there.
        return family == AddressFamily::V4 ? (state_->extended || state_->legacy) : state_->extended;
    }

    std::optional<std::vector<TcpRow>> Rows(AddressFamily family) override {
        if (!Supports(family)) return std::nullopt;
        return SortedTcpRows(state_->rows, family);
    }

private:
    std::shared_ptr<TcpState> state_;
};

std::size_t AddressBytes(AddressFamily family) { return family == AddressFamily::V4 ? 4 : 16; }

}  // namespace

std::vector<TcpRow> SortedTcpRows(const std::vector<TcpRow>& rows, AddressFamily family) {
    std::vector<TcpRow> sorted;
    for (const auto& row : rows)
        if (row.family == family) sorted.push_back(row);
    std::size_t n = AddressBytes(family);
    auto key = [n](const TcpRow& r) {
        return std::make_tuple(
            std::vector<std::uint8_t>(r.localAddress.begin(), r.localAddress.begin() + n), r.localPort,
            std::vector<std::uint8_t>(r.remoteAddress.begin(), r.remoteAddress.begin() + n), r.remotePort);
    };
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&](const TcpRow& a, const TcpRow& b) { return key(a) < key(b); });
    return sorted;
}

std::unique_ptr<TcpTable> LoadSimTcpTable(std::shared_ptr<TcpState> state) {
    if (!state->extended && !state->legacy) return nullptr;
    return std::make_unique<SimTcpTable>(std::move(state));
}

}  // namespace platform::sim

#include "core/engine/startup/kinds/BitsKind.h"

namespace zorvik {

std::string BitsCommandLine(const platform::TransferJob& job) {
    if (job.notifyProgram.empty()) return job.notifyParameters;
    const std::string program = "\"" + job.notifyProgram + "\"";
    return job.notifyParameters.empty() ? program : program + " " + job.notifyParameters;
}

void ReadBitsPlaces(const ScanRule&, PlaceReading& reading) {
    for (const platform::TransferJob& job : reading.TransferJobs()) {
        const std::string command = BitsCommandLine(job);
        if (command.empty()) continue;
        StartupSpot spot;
        spot.kind = StartupKind::Bits;
        spot.where = job.name;
        spot.key = job.id;
        spot.ident = command;
        spot.off = job.suspended;
        const std::uint32_t at = reading.AddSpot(std::move(spot));
        reading.AddText(at, command);
    }
}

}  // namespace zorvik

#include "core/windows/main/EntryBalloon.h"

#include "core/base/PathParts.h"
#include "core/engine/watch/EntryPrograms.h"

namespace zorvik {

namespace {

// The balloon's text holds 255 characters; the last line must still fit.
constexpr std::size_t kRoomForLines = 220;

std::string LineOf(const EntryNews& item) {
    std::string program = ProgramFileNameOf(ProgramNamedBy(item.Text()));
    if (program.empty()) program = item.Text();
    const char* what =
        item.change == EntryChange::Added ? "New start-up entry: " : "Changed start-up entry: ";
    return what + program + " in " + item.facts.where.place;
}

}  // namespace

std::string EntryBalloonText(const std::vector<EntryNews>& news) {
    std::string text;
    std::size_t untold = 0;
    for (const EntryNews& item : news) {
        if (item.change == EntryChange::Removed) continue;
        const std::string line = LineOf(item);
        if (untold > 0 || (!text.empty() && text.size() + 1 + line.size() > kRoomForLines)) {
            ++untold;
            continue;
        }
        if (!text.empty()) text += '\n';
        text += line;
    }
    if (untold > 0) text += "\nand " + std::to_string(untold) + " more";
    return text;
}

}  // namespace zorvik

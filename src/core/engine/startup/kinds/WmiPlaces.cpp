#include <utility>

#include "core/engine/startup/kinds/WmiKind.h"

namespace zorvik {

namespace {

struct ConsumerText {
    const char* property;
    const std::string* text;
};

}  // namespace

void ReadWmiPlaces(const ScanRule&, PlaceReading& reading) {
    for (const platform::WmiEventConsumer& consumer : reading.WmiConsumers()) {
        const bool commandLine = consumer.kind == platform::WmiConsumerKind::CommandLine;
        const char* consumerClass =
            commandLine ? "CommandLineEventConsumer" : "ActiveScriptEventConsumer";
        const ConsumerText commandTexts[] = {{"CommandLineTemplate", &consumer.commandLineTemplate},
                                             {"ExecutablePath", &consumer.executablePath}};
        const ConsumerText scriptTexts[] = {{"ScriptText", &consumer.scriptText},
                                            {"ScriptFileName", &consumer.scriptFileName}};
        for (const ConsumerText& text : commandLine ? commandTexts : scriptTexts) {
            if (text.text->empty()) continue;
            const std::uint32_t spot =
                reading.AddSpot(StartupKind::Wmi, consumerClass, consumer.name, *text.text);
            reading.AddText(spot, *text.text, text.property);
        }
    }
}

std::string WmiCommandLine(const WmiStart& hit) {
    std::string line;
    bool blank = false;
    for (const char c : hit.Command) {
        const bool lineBreak = c == '\r' || c == '\n' || c == '\t';
        if (lineBreak) {
            blank = !line.empty();
            continue;
        }
        if (blank) line += ' ';
        blank = false;
        line += c;
    }
    return line;
}

}  // namespace zorvik

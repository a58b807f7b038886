#include "support/CsvRecords.h"

#include <cstddef>

namespace fuzz {

std::optional<std::vector<CsvRecord>> ReadCsv(const std::string& text) {
    std::vector<CsvRecord> records;
    std::size_t i = 0;
    while (i < text.size()) {
        CsvRecord record;
        for (;;) {
            std::string field;
            if (i < text.size() && text[i] == '"') {
                ++i;
                for (;;) {
                    if (i >= text.size()) return std::nullopt;
                    if (text[i] == '"') {
                        if (i + 1 < text.size() && text[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    field += text[i++];
                }
            } else {
                while (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
                    if (text[i] == '"') return std::nullopt;
                    field += text[i++];
                }
            }
            record.push_back(field);
            if (i < text.size() && text[i] == ',') {
                ++i;
                continue;
            }
            if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') {
                i += 2;
                break;
            }
            return std::nullopt;
        }
        records.push_back(record);
    }
    return records;
}

}  // namespace fuzz

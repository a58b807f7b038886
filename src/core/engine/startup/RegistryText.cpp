#include "core/engine/startup/RegistryText.h"

namespace zorvik {

std::optional<std::string> ReadTextValue(platform::Registry& reg, platform::Registry::Handle key,
                                         const std::string& name) {
    if (key == 0) return std::nullopt;
    std::optional<platform::RegValue> value = reg.Query(key, name);
    if (!value || !IsTextType(value->type)) return std::nullopt;
    const std::string& data = value->data;
    return data.substr(0, data.find('\0'));
}

std::vector<StringPiece> MultiStringPieces(const std::string& data) {
    std::vector<StringPiece> pieces;
    std::size_t start = 0;
    while (start < data.size()) {
        std::size_t end = data.find('\0', start);
        if (end == std::string::npos) end = data.size();
        if (end == start) break;
        pieces.push_back({start, end - start});
        start = end + 1;
    }
    return pieces;
}

std::vector<std::string> ValueTexts(const platform::RegValue& value) {
    if (IsTextType(value.type)) return {value.data.substr(0, value.data.find('\0'))};
    std::vector<std::string> texts;
    if (value.type != platform::RegType::MultiSz) return texts;
    for (const StringPiece& piece : MultiStringPieces(value.data))
        texts.push_back(value.data.substr(piece.offset, piece.length));
    return texts;
}

}  // namespace zorvik

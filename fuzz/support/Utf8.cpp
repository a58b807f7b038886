#include "support/Utf8.h"

#include <cstddef>

namespace fuzz {

bool IsValidUtf8(const std::string& bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        unsigned low = 0x80, high = 0xBF;  // the allowed range of the second byte
        if (lead < 0x80) { ++i; continue; }
        if (lead >= 0xC2 && lead <= 0xDF) length = 2;
        else if (lead == 0xE0) { length = 3; low = 0xA0; }
        else if (lead == 0xED) { length = 3; high = 0x9F; }
        else if (lead >= 0xE1 && lead <= 0xEF) length = 3;
        else if (lead == 0xF0) { length = 4; low = 0x90; }
        else if (lead == 0xF4) { length = 4; high = 0x8F; }
        else if (lead >= 0xF1 && lead <= 0xF3) length = 4;
        else return false;
        if (i + length > bytes.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned char c = static_cast<unsigned char>(bytes[i + k]);
            if (k == 1 ? (c < low || c > high) : (c < 0x80 || c > 0xBF)) return false;
        }
        i += length;
    }
    return true;
}

}  // namespace fuzz

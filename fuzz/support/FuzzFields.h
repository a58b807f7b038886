#pragma once
// Cutting a fuzz input into the fields a target needs. Text inputs are cut at line feeds so
// that seeds stay readable; numbers are read leniently, since any bytes must give some value.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

// The input split at separator; the last field runs to the end. At most maxFields fields:
// the last one then keeps the separators that follow.
std::vector<std::string> SplitFields(const std::string& input, char separator,
                                     std::size_t maxFields = static_cast<std::size_t>(-1));

// The field at index, or empty past the end.
std::string FieldAt(const std::vector<std::string>& fields, std::size_t index);

// The leading decimal digits of text as a number (0 when there are none), saturated at max.
std::uint32_t NumberOf(const std::string& text, std::uint32_t max = UINT32_MAX);

// "\n", "\r", "\t", "\0", "\\" and "\xHH" turned into their bytes; any other backslash stays.
std::string Unescape(const std::string& text);

// Reads a binary input front to back; past its end every read gives zero or empty.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::uint32_t Uint32();
    // A text whose length is the next byte (at most maxLength).
    std::string ShortText(std::size_t maxLength = 255);
    std::string Rest();
    bool AtEnd() const { return pos_ >= size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

}  // namespace fuzz

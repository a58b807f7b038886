#pragma once
// Texts that other programs wrote in UTF-16 or UTF-8, turned into the program's ANSI texts by
// its one reading of them (core/base/AnsiCodePage.h): a character the code page cannot hold
// becomes '?', as Windows writes it. The conversion is the same on every system, so that the
// simulated and the real system read a file alike; an ANSI code page other than Windows-1252
// loses its own letters above 0x7F to '?'.
#include <cstddef>
#include <string>
#include <string_view>

namespace zorvik::parse {

enum class TextEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

// The encoding a byte order mark at the start names, or fallback when there is none.
TextEncoding EncodingByByteOrderMark(std::string_view bytes, TextEncoding fallback);

// The length of that encoding's byte order mark when the bytes start with it, else 0.
std::size_t ByteOrderMarkLength(std::string_view bytes, TextEncoding encoding);

// The bytes (without a byte order mark) as ANSI. UTF-16: surrogate pairs are one character, a
// lone surrogate and a last odd byte are '?'. UTF-8: a byte that starts no well-formed
// sequence stays the ANSI byte it is, since files that call themselves UTF-8 are often ANSI.
// Zero characters stay in the text.
std::string DecodeToAnsi(std::string_view bytes, TextEncoding encoding);

// The ANSI text in the encoding, without a byte order mark: each byte the character it stands
// for (every character of the code page lies in the Basic Multilingual Plane).
std::string EncodeAnsi(std::string_view ansi, TextEncoding encoding);

// The text up to its first zero character (the whole text when it has none).
std::string UpToFirstZero(std::string text);

}  // namespace zorvik::parse

#pragma once
// What an application compatibility (shim) database says it loads and starts. Windows applies
// an installed database's fixes each time a program it names starts: a shim whose DLL the
// database itself brings, InjectDll with a DLL of its own, RedirectEXE with another program.
//
// The file: a 12-byte header (two 32-bit version numbers, "sdbf"), then tags. A tag is 16 bits:
// its top four bits say what follows: nothing (0x1), 1, 2, 4 or 8 bytes (0x2 to 0x5), a 32-bit
// reference into the string table (0x6), or a 32-bit length and that many bytes: of child tags
// (a list, 0x7), of UTF-16 (a string, 0x8), of data (0x9). The string table is a list at the
// top level; a reference counts from its tag to the string tag it names.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik::parse {

// A fix the database applies to a program (or a layer of fixes).
struct ShimFix {
    std::string program;      // the program's (or layer's) name
    std::string shim;         // the shim's name
    std::string commandLine;  // what the shim is given: InjectDll's DLL, RedirectEXE's program
};

struct ShimDatabase {
    std::string name;
    // The DLLs of the shims the database defines itself.
    std::vector<std::string> shimDlls;
    std::vector<ShimFix> fixes;
    // False when a tag reaching past its list or the file, or lists nested too deep, ended the
    // reading: what was read before is kept.
    bool complete = true;
};

// The database the bytes hold, texts in ANSI. Nothing without the header.
std::optional<ShimDatabase> ParseShimDatabase(std::string_view bytes);

}  // namespace zorvik::parse

#pragma once
// Shim databases (.sdb) built for tests: tags as Windows writes them, texts as strings or as
// references into a string table.
#include <cstdint>
#include <string>
#include <vector>

#include "unit/parse/ByteBuilder.h"

namespace parse_test {

inline std::string SdbString(std::uint16_t tag, const std::string& ascii) {
    const std::string text = Utf16(ascii) + U16(0);
    return U16(tag) + U32(static_cast<std::uint32_t>(text.size())) + text;
}

inline std::string SdbList(std::uint16_t tag, const std::string& children) {
    return U16(tag) + U32(static_cast<std::uint32_t>(children.size())) + children;
}

inline std::string SdbDword(std::uint16_t tag, std::uint32_t value) { return U16(tag) + U32(value); }

// Tags of the format.
inline constexpr std::uint16_t kSdbDatabase = 0x7001;
inline constexpr std::uint16_t kSdbLibrary = 0x7002;
inline constexpr std::uint16_t kSdbShim = 0x7004;
inline constexpr std::uint16_t kSdbExe = 0x7007;
inline constexpr std::uint16_t kSdbShimRef = 0x7009;
inline constexpr std::uint16_t kSdbStringTable = 0x7801;
inline constexpr std::uint16_t kSdbStringTableItem = 0x8801;
inline constexpr std::uint16_t kSdbName = 0x6001;        // as a reference
inline constexpr std::uint16_t kSdbNameString = 0x8001;  // as a string
inline constexpr std::uint16_t kSdbCommandLine = 0x6008;
inline constexpr std::uint16_t kSdbDllFile = 0x600A;

inline std::string SdbHeader() { return U32(3) + U32(0) + "sdbf"; }

// A database whose texts are references into a string table after the database list: the
// database named name, defining a shim with its own DLL (when dll is not empty), and a fix of
// program with InjectDll given commandLine.
class ShimDatabaseBuilder {
public:
    // A reference tag to the text, kept in the table.
    std::string Ref(std::uint16_t tag, const std::string& text) {
        // Counted from the string table's tag: its own tag and length come first.
        const std::uint32_t offset = static_cast<std::uint32_t>(6 + table_.size());
        table_ += SdbString(kSdbStringTableItem, text);
        return U16(tag) + U32(offset);
    }
    std::string Bytes(const std::string& databaseChildren) const {
        return SdbHeader() + SdbDword(0x4001, 0) + SdbList(kSdbDatabase, databaseChildren) +
               SdbList(kSdbStringTable, table_);
    }

private:
    std::string table_;
};

inline std::string InjectingDatabase(const std::string& program, const std::string& injected,
                                     const std::string& shimDll = "") {
    ShimDatabaseBuilder b;
    std::string children = b.Ref(kSdbName, "Zorvik test fixes");
    if (!shimDll.empty())
        children += SdbList(kSdbLibrary, SdbList(kSdbShim, b.Ref(kSdbName, "OwnShim") +
                                                               b.Ref(kSdbDllFile, shimDll)));
    children += SdbList(kSdbExe, b.Ref(kSdbName, program) +
                                     SdbList(kSdbShimRef, b.Ref(kSdbName, "InjectDll") +
                                                              b.Ref(kSdbCommandLine, injected)));
    return b.Bytes(children);
}

}  // namespace parse_test

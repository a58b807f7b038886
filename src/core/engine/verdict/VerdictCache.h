#pragma once
// The verdict facts of program files kept between scans (the timer's, the watch's), keyed by
// path, size and last write time, so that a file unchanged since is not read or verified again.
// Within one scan each file is read once however many rows or modules name it; a file whose
// system keeps no last write time is read again at the next scan.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "core/engine/process/ProgramFile.h"
#include "core/engine/verdict/ProgramFacts.h"
#include "platform/System.h"

namespace zorvik {

// What is known of one file.
struct CachedFileFacts {
    // The program file's facts as the row shows them (size, hash, version, signature); none
    // where the system gives no file facts, or for a file asked of as a module only.
    std::optional<ProgramFileFacts> file;
    SignatureFacts signature;
    std::optional<platform::VersionStrings> version;
};

class VerdictCache {
public:
    // Begins the next scan: a file no row or module of the scan before named is let go.
    void BeginScan();
    // A listed program's file, hash included.
    const CachedFileFacts& Program(platform::System& sys, const std::string& path);
    // A loaded module's file: its signature only. References stay good until BeginScan.
    const CachedFileFacts& Module(platform::System& sys, const std::string& path);
    std::size_t Size() const { return files_.size(); }

private:
    struct Entry {
        std::optional<std::uint64_t> size;
        std::optional<std::uint64_t> lastWrite;
        std::uint64_t scan = 0;  // the last scan that named the file
        bool asProgram = false;
        CachedFileFacts facts;
    };
    Entry& Fresh(platform::System& sys, const std::string& path, bool asProgram);

    std::uint64_t scan_ = 0;
    std::unordered_map<std::string, Entry> files_;  // by lower-case path
};

// The signature facts of a file: the embedded signature, and where it is not trusted the
// catalogs'. Unknown where the system gives no file facts.
SignatureFacts ReadSignatureFacts(platform::System& sys, const std::string& path,
                                  const platform::SignatureVerdict* embedded = nullptr);

}  // namespace zorvik

#pragma once
// File and folder services. Paths are ANSI Windows paths (backslashes, drive letters).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

constexpr std::uint32_t kAttrReadOnly = 0x01;
constexpr std::uint32_t kAttrHidden = 0x02;
constexpr std::uint32_t kAttrDirectory = 0x10;
constexpr std::uint32_t kAttrNormal = 0x80;

struct FindEntry {
    std::string name;  // the entry's own name, without its folder
    std::uint32_t attributes = 0;
};

// Outcome of reading or writing a whole file. error is the system's error code on failure.
struct FileResult {
    bool ok = false;
    std::uint32_t error = 0;
};

// System error codes the core looks at.
constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kErrorPathNotFound = 3;
constexpr std::uint32_t kErrorAccessDenied = 5;
constexpr std::uint32_t kErrorSharingViolation = 32;
constexpr std::uint32_t kErrorFileTooLarge = 223;

// No whole-file read takes more: a rules, settings or start-up file past 64 MiB is none of them,
// and reserving a file's size could end the program for want of memory.
constexpr std::uint64_t kReadAllLimit = std::uint64_t{64} << 20;

class Files {
public:
    virtual ~Files() = default;

    // GetFileAttributesA; nullopt stands for INVALID_FILE_ATTRIBUTES.
    virtual std::optional<std::uint32_t> Attributes(const std::string& path) = 0;
    virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) = 0;

    // FindFirstFileA/FindNextFileA over a pattern such as "C:\dir\*", in the order the system lists.
    // nullopt when the listing cannot be started (FindFirstFileA failed).
    virtual std::optional<std::vector<FindEntry>> List(const std::string& pattern) = 0;

    // Short (8.3) and long forms; empty when the path does not exist. Never cut short.
    virtual std::string ShortPath(const std::string& path) = 0;
    virtual std::string LongPath(const std::string& path) = 0;

    // GetWindowsDirectoryA, e.g. "C:\WINDOWS".
    virtual std::string WindowsDirectory() = 0;
    // GetSystemDirectoryA, e.g. "C:\WINDOWS\system32".
    virtual std::string SystemDirectory() = 0;
    // Full path of the running program's executable.
    virtual std::string OwnPath() = 0;

    // Opens for reading (shared for reading) and reads up to count bytes at offset.
    // nullopt when the file cannot be opened; a short read returns only the bytes read.
    virtual std::optional<std::string> ReadAt(const std::string& path, std::uint64_t offset,
                                              std::size_t count) = 0;
    // Whole-file read and write; a folder, a locked or a missing file fails with its error code,
    // a file over kReadAllLimit with kErrorFileTooLarge (and nothing is read).
    virtual FileResult ReadAll(const std::string& path, std::string& bytes) = 0;
    virtual FileResult WriteAll(const std::string& path, const std::string& bytes) = 0;

    // MoveFileA: fails when the target exists.
    virtual bool Move(const std::string& from, const std::string& to) = 0;
    // Replaces target by source in one step (MoveFileExA with MOVEFILE_REPLACE_EXISTING).
    virtual bool Replace(const std::string& source, const std::string& target) = 0;
    virtual bool Delete(const std::string& path) = 0;
    virtual bool CreateDirectory(const std::string& path) = 0;
    virtual bool RemoveDirectory(const std::string& path) = 0;
    // A folder for scratch files, with its trailing backslash.
    virtual std::string TempDirectory() = 0;
};

}  // namespace platform

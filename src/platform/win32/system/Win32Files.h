#pragma once
// Files and folders through the ANSI calls. Every call that looks at the file system runs with
// WOW64 redirection off, so the 32-bit build sees the same System32 as the 64-bit one.
#include "platform/Files.h"

namespace platform::win32 {

class Win32Files : public Files {
public:
    std::optional<std::uint32_t> Attributes(const std::string& path) override;
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
    std::optional<std::vector<FindEntry>> List(const std::string& pattern) override;
    std::string ShortPath(const std::string& path) override;
    std::string LongPath(const std::string& path) override;
    std::string WindowsDirectory() override;
    std::string SystemDirectory() override;
    std::string OwnPath() override;
    std::optional<std::string> ReadAt(const std::string& path, std::uint64_t offset,
                                      std::size_t count) override;
    FileResult ReadAll(const std::string& path, std::string& bytes) override;
    FileResult WriteAll(const std::string& path, const std::string& bytes) override;
    bool Move(const std::string& from, const std::string& to) override;
    bool Replace(const std::string& source, const std::string& target) override;
    bool Delete(const std::string& path) override;
    bool CreateDirectory(const std::string& path) override;
    bool RemoveDirectory(const std::string& path) override;
    std::string TempDirectory() override;
};

}  // namespace platform::win32

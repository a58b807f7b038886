#include "platform/win32/system/Win32Files.h"

#include "platform/win32/WindowsApi.h"

#include "platform/win32/system/ScopedHandle.h"
#include "platform/win32/system/SystemText.h"
#include "platform/win32/system/Wow64FsRedirection.h"

namespace platform::win32 {
namespace {

FileResult Failed() { return FileResult{false, ::GetLastError()}; }
FileResult Succeeded() { return FileResult{true, 0}; }

}  // namespace

std::optional<std::uint32_t> Win32Files::Attributes(const std::string& path) {
    Wow64FsRedirectionOff redirectionOff;
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attributes;
}

bool Win32Files::SetAttributes(const std::string& path, std::uint32_t attributes) {
    Wow64FsRedirectionOff redirectionOff;
    return ::SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

std::optional<std::vector<FindEntry>> Win32Files::List(const std::string& pattern) {
    Wow64FsRedirectionOff redirectionOff;
    WIN32_FIND_DATAA data{};
    FindHandle search(::FindFirstFileA(pattern.c_str(), &data));
    if (!search) return std::nullopt;
    std::vector<FindEntry> entries;
    do {
        entries.push_back(FindEntry{data.cFileName, data.dwFileAttributes});
    } while (::FindNextFileA(search.get(), &data));
    return entries;
}

std::string Win32Files::ShortPath(const std::string& path) {
    Wow64FsRedirectionOff redirectionOff;
    return SizedSystemText([&](char* buf, DWORD size) {
        return ::GetShortPathNameA(path.c_str(), buf, size);
    });
}

std::string Win32Files::LongPath(const std::string& path) {
    Wow64FsRedirectionOff redirectionOff;
    return SizedSystemText([&](char* buf, DWORD size) {
        return ::GetLongPathNameA(path.c_str(), buf, size);
    });
}

std::string Win32Files::WindowsDirectory() {
    return SizedSystemText([](char* buf, DWORD size) { return ::GetWindowsDirectoryA(buf, size); });
}

std::string Win32Files::SystemDirectory() {
    return SizedSystemText([](char* buf, DWORD size) { return ::GetSystemDirectoryA(buf, size); });
}

std::string Win32Files::OwnPath() {
    // GetModuleFileNameA does not report the size it needs: it cuts the path and returns the
    // buffer size, so a full buffer means "try a larger one".
    std::string buffer(MAX_PATH, '\0');
    while (buffer.size() <= 32768) {
        DWORD n = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.assign(buffer.size() * 2, '\0');
    }
    return {};
}

std::optional<std::string> Win32Files::ReadAt(const std::string& path, std::uint64_t offset,
                                              std::size_t count) {
    Wow64FsRedirectionOff redirectionOff;
    UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(offset);
    if (!::SetFilePointerEx(file.get(), distance, nullptr, FILE_BEGIN)) return std::string();
    std::string bytes(count, '\0');
    std::size_t total = 0;
    while (total < count) {
        DWORD chunk = static_cast<DWORD>(count - total > 0x10000000 ? 0x10000000 : count - total);
        DWORD got = 0;
        if (!::ReadFile(file.get(), bytes.data() + total, chunk, &got, nullptr) || got == 0) break;
        total += got;
    }
    bytes.resize(total);
    return bytes;
}

// bytes is replaced only on success; a failed read leaves it as it was.
FileResult Win32Files::ReadAll(const std::string& path, std::string& bytes) {
    Wow64FsRedirectionOff redirectionOff;
    // Writers elsewhere may keep the file open; only a holder that denies reading stops us.
    UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return Failed();
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) return Failed();
    if (static_cast<std::uint64_t>(size.QuadPart) > kReadAllLimit) return {false, kErrorFileTooLarge};
    // Read in pieces, nothing reserved: the size may change while the file is read.
    std::string content;
    char chunk[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) return Failed();
        if (got == 0) break;
        if (content.size() + got > kReadAllLimit) return {false, kErrorFileTooLarge};
        content.append(chunk, got);
    }
    bytes = std::move(content);
    return Succeeded();
}

FileResult Win32Files::WriteAll(const std::string& path, const std::string& bytes) {
    Wow64FsRedirectionOff redirectionOff;
    UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return Failed();
    std::size_t total = 0;
    while (total < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(
            bytes.size() - total > 0x10000000 ? 0x10000000 : bytes.size() - total);
        DWORD written = 0;
        if (!::WriteFile(file.get(), bytes.data() + total, chunk, &written, nullptr))
            return Failed();
        if (written == 0) return FileResult{false, ERROR_WRITE_FAULT};
        total += written;
    }
    return Succeeded();
}

bool Win32Files::Move(const std::string& from, const std::string& to) {
    Wow64FsRedirectionOff redirectionOff;
    return ::MoveFileA(from.c_str(), to.c_str()) != FALSE;
}

bool Win32Files::Replace(const std::string& source, const std::string& target) {
    Wow64FsRedirectionOff redirectionOff;
    return ::MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool Win32Files::Delete(const std::string& path) {
    Wow64FsRedirectionOff redirectionOff;
    return ::DeleteFileA(path.c_str()) != FALSE;
}

bool Win32Files::CreateDirectory(const std::string& path) {
    Wow64FsRedirectionOff redirectionOff;
    return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool Win32Files::RemoveDirectory(const std::string& path) {
    Wow64FsRedirectionOff redirectionOff;
    return ::RemoveDirectoryA(path.c_str()) != FALSE;
}

std::string Win32Files::TempDirectory() {
    return SizedSystemText([](char* buf, DWORD size) { return ::GetTempPathA(size, buf); });
}

}  // namespace platform::win32

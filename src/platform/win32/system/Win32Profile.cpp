#include "platform/win32/system/Win32Profile.h"

#include "platform/win32/WindowsApi.h"

namespace platform::win32 {
namespace {

// A list of names, each ended by a zero, as the profile functions fill it; length is what the
// call returned. When the list did not fit, the call returns the buffer size less 2 and the
// last name in it is cut, so that name is left out rather than reported cut short.
std::vector<std::string> SplitNameList(const std::string& buffer, DWORD length) {
    std::vector<std::string> names;
    bool cut = length + 2 >= buffer.size();
    std::size_t start = 0;
    while (start < length) {
        std::size_t end = buffer.find('\0', start);
        if (end == std::string::npos || end > length) end = length;
        names.push_back(buffer.substr(start, end - start));
        start = end + 1;
    }
    if (cut && !names.empty()) names.pop_back();
    return names;
}

// Calls read(buffer) with a growing buffer until what it returns is less than the size that
// tells a cut text (bufferSize - cutMargin), or the buffer reaches its limit. A value may hide
// a program past any fixed size, and a rules file may hold any number of sections.
template <typename Read>
std::pair<std::string, DWORD> ReadGrowing(std::size_t first, DWORD cutMargin, Read read) {
    std::string buffer(first, '\0');
    for (;;) {
        DWORD n = read(buffer);
        if (n + cutMargin < buffer.size() || buffer.size() >= kProfileBufferLimit) return {buffer, n};
        buffer.assign(buffer.size() * 2, '\0');
    }
}

}  // namespace

std::string Win32Profile::ReadString(const std::string& file, const std::string& section,
                                     const std::string& key, const std::string& defaultValue) {
    auto [buffer, n] = ReadGrowing(kProfileValueBuffer, 1, [&](std::string& b) {
        return ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                          b.data(), static_cast<DWORD>(b.size()), file.c_str());
    });
    buffer.resize(n);
    return buffer;
}

std::vector<std::string> Win32Profile::SectionNames(const std::string& file) {
    auto [buffer, n] = ReadGrowing(kProfileNameListBuffer, 2, [&](std::string& b) {
        return ::GetPrivateProfileSectionNamesA(b.data(), static_cast<DWORD>(b.size()), file.c_str());
    });
    return SplitNameList(buffer, n);
}

std::vector<std::string> Win32Profile::KeyNames(const std::string& file,
                                                const std::string& section) {
    auto [buffer, n] = ReadGrowing(kProfileNameListBuffer, 2, [&](std::string& b) {
        return ::GetPrivateProfileStringA(section.c_str(), nullptr, "", b.data(),
                                          static_cast<DWORD>(b.size()), file.c_str());
    });
    return SplitNameList(buffer, n);
}

bool Win32Profile::WriteString(const std::string& file, const std::string& section,
                               const std::string& key, const std::string& value) {
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                        file.c_str()) != FALSE;
}

bool Win32Profile::EraseSection(const std::string& file, const std::string& section) {
    return ::WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str()) != FALSE;
}

}  // namespace platform::win32

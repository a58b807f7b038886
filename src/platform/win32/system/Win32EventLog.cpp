#include "platform/win32/WindowsApi.h"

#include "platform/win32/system/Win32EventLog.h"

#include "platform/win32/shell/HResultText.h"

namespace platform::win32 {
namespace {

// Owns the handle RegisterEventSourceA gives, which only DeregisterEventSource closes.
class SourceWriter : public EventWriter {
public:
    explicit SourceWriter(HANDLE source) : source_(source) {}
    SourceWriter(const SourceWriter&) = delete;
    SourceWriter& operator=(const SourceWriter&) = delete;
    ~SourceWriter() override { ::DeregisterEventSource(source_); }

    bool Write(EventType type, std::uint32_t id, const std::vector<std::string>& strings) override {
        std::vector<LPCSTR> inserts;
        inserts.reserve(strings.size());
        for (const std::string& text : strings) inserts.push_back(text.c_str());
        return ::ReportEventA(source_, static_cast<WORD>(type), 0, id, nullptr,
                              static_cast<WORD>(inserts.size()), 0,
                              inserts.empty() ? nullptr : inserts.data(), nullptr) != FALSE;
    }

private:
    HANDLE source_;
};

}  // namespace

std::unique_ptr<EventWriter> Win32EventLog::Open(const std::string& source, std::string& error) {
    HANDLE handle = ::RegisterEventSourceA(nullptr, source.c_str());
    if (!handle) {
        error = SystemMessageText(HRESULT_FROM_WIN32(::GetLastError()));
        return nullptr;
    }
    return std::make_unique<SourceWriter>(handle);
}

}  // namespace platform::win32

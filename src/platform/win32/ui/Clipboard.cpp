#include "platform/win32/ui/Clipboard.h"

#include <cstring>
#include <utility>

#include "platform/win32/system/ScopedHandle.h"

namespace platform::win32 {

namespace {

// The clipboard opened for one use; closed again however the use ends.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    ~OpenedClipboard() {
        if (open_) ::CloseClipboard();
    }
    explicit operator bool() const { return open_; }

private:
    bool open_;
};

// A movable global block, freed unless the clipboard took it.
struct GlobalBlockTraits {
    using Value = HGLOBAL;
    static Value None() { return nullptr; }
    static bool IsNone(Value g) { return g == nullptr; }
    static void Close(Value g) { ::GlobalFree(g); }
};
using GlobalBlock = Scoped<GlobalBlockTraits>;

// A global block's memory, locked while it lives.
class LockedBlock {
public:
    explicit LockedBlock(HGLOBAL block) : block_(block), memory_(::GlobalLock(block)) {}
    LockedBlock(const LockedBlock&) = delete;
    LockedBlock& operator=(const LockedBlock&) = delete;
    ~LockedBlock() {
        if (memory_) ::GlobalUnlock(block_);
    }
    void* Memory() const { return memory_; }

private:
    HGLOBAL block_;
    void* memory_;
};

}  // namespace

bool PutClipboardText(HWND owner, const std::string& text) {
    // CF_TEXT ends at its first NUL.
    const std::string shown = text.substr(0, text.find('\0'));
    GlobalBlock block(::GlobalAlloc(GMEM_MOVEABLE, shown.size() + 1));
    if (!block) return false;
    {
        LockedBlock locked(block.get());
        if (!locked.Memory()) return false;
        std::memcpy(locked.Memory(), shown.c_str(), shown.size() + 1);
    }
    OpenedClipboard clipboard(owner);
    if (!clipboard || !::EmptyClipboard()) return false;
    if (!::SetClipboardData(CF_TEXT, block.get())) return false;
    // The clipboard owns the block from now on.
    block.release();
    return true;
}

std::string ReadClipboardText(HWND owner) {
    OpenedClipboard clipboard(owner);
    if (!clipboard) return {};
    HANDLE data = ::GetClipboardData(CF_TEXT);
    if (!data) return {};
    LockedBlock locked(data);
    const auto* chars = static_cast<const char*>(locked.Memory());
    if (!chars) return {};
    // A block of the clipboard may be larger than its text, never without the NUL the format
    // promises; the block's size keeps a broken one from being read past its end.
    const SIZE_T size = ::GlobalSize(data);
    return std::string(chars, strnlen(chars, size));
}

}  // namespace platform::win32

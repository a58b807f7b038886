// The shell's namespace through IShellFolder, IEnumIDList and IContextMenu.
#include "platform/win32/WindowsApi.h"

#include <shlobj.h>

#include "platform/Ui.h"
#include "platform/win32/shell/HResultText.h"
#include "platform/win32/shell/ShellMemory.h"
#include "platform/win32/shell/ShellUiFactory.h"
#include "platform/win32/shell/StrRetText.h"
#include "platform/win32/ui/UiHandles.h"

namespace platform::win32 {

namespace {

// An id list from the shell, freed with the shell's allocator.
class Win32ItemId : public ShellItemId {
public:
    explicit Win32ItemId(ItemIdList list) : list_(std::move(list)) {}
    LPCITEMIDLIST List() const { return list_.get(); }

private:
    ItemIdList list_;
};

// Every id handed back to this layer is one of its own.
LPCITEMIDLIST ListOf(const ShellItemId& item) {
    return static_cast<const Win32ItemId&>(item).List();
}

class Win32Enumerator : public ShellEnumerator {
public:
    explicit Win32Enumerator(ComPtr<IEnumIDList> items) : items_(std::move(items)) {}

    std::unique_ptr<ShellItemId> Next() override {
        LPITEMIDLIST raw = nullptr;
        ULONG fetched = 0;
        const HRESULT hr = items_->Next(1, &raw, &fetched);
        // Owned whatever the answer: a failing call may still have handed a list out.
        ItemIdList list(raw);
        if (hr != S_OK || fetched != 1 || !list) return nullptr;
        return std::make_unique<Win32ItemId>(std::move(list));
    }

private:
    ComPtr<IEnumIDList> items_;
};

class Win32ContextMenu : public ShellContextMenu {
public:
    explicit Win32ContextMenu(ComPtr<IContextMenu> menu) : menu_(std::move(menu)) {}

    ShellResult QueryContextMenu(NativeMenu& menu, std::uint32_t indexMenu,
                                 std::uint32_t idCmdFirst, std::uint32_t idCmdLast,
                                 std::uint32_t flags) override {
        return ResultOf(menu_->QueryContextMenu(static_cast<HMENU>(menu.NativeHandle()),
                                                indexMenu, idCmdFirst, idCmdLast, flags));
    }

    ShellResult InvokeCommand(std::uint32_t verb, int show) override {
        CMINVOKECOMMANDINFO info{};
        info.cbSize = sizeof info;  // 36 bytes in a 32-bit build, more where pointers are wider
        info.lpVerb = MAKEINTRESOURCEA(verb);
        info.nShow = show;
        return ResultOf(menu_->InvokeCommand(&info));
    }

private:
    ComPtr<IContextMenu> menu_;
};

class Win32Folder : public ShellFolder {
public:
    explicit Win32Folder(ComPtr<IShellFolder> folder) : folder_(std::move(folder)) {}

    ShellResult BindToObject(const ShellItemId& item,
                             std::unique_ptr<ShellFolder>& folder) override {
        folder.reset();
        ComPtr<IShellFolder> bound;
        const HRESULT hr = folder_->BindToObject(ListOf(item), nullptr, IID_IShellFolder,
                                                 reinterpret_cast<void**>(bound.Receive()));
        if (SUCCEEDED(hr) && !bound) return ResultOf(E_NOINTERFACE);
        if (SUCCEEDED(hr)) folder = std::make_unique<Win32Folder>(std::move(bound));
        return ResultOf(hr);
    }

    std::unique_ptr<ShellEnumerator> EnumObjects(std::uint32_t flags) override {
        ComPtr<IEnumIDList> items;
        // S_FALSE with no enumerator: nothing to list (an empty drive, a folder refused).
        const HRESULT hr = folder_->EnumObjects(nullptr, flags, items.Receive());
        if (FAILED(hr) || !items) return nullptr;
        return std::make_unique<Win32Enumerator>(std::move(items));
    }

    ShellResult GetDisplayNameOf(const ShellItemId& item, std::uint32_t flags,
                                 std::string& name) override {
        name.clear();
        STRRET text{};
        const HRESULT hr = folder_->GetDisplayNameOf(ListOf(item), flags, &text);
        if (SUCCEEDED(hr)) name = TakeStrRetText(text, ListOf(item));
        return ResultOf(hr);
    }

    ShellResult GetUIObjectOf(const ShellItemId& item,
                              std::unique_ptr<ShellContextMenu>& menu) override {
        menu.reset();
        LPCITEMIDLIST items[1] = {ListOf(item)};
        ComPtr<IContextMenu> object;
        const HRESULT hr = folder_->GetUIObjectOf(nullptr, 1, items, IID_IContextMenu, nullptr,
                                                  reinterpret_cast<void**>(object.Receive()));
        if (SUCCEEDED(hr) && !object) return ResultOf(E_NOINTERFACE);
        if (SUCCEEDED(hr)) menu = std::make_unique<Win32ContextMenu>(std::move(object));
        return ResultOf(hr);
    }

private:
    ComPtr<IShellFolder> folder_;
};

class Win32ShellNamespace : public ShellNamespace {
public:
    std::unique_ptr<ShellFolder> DesktopFolder() override {
        ComPtr<IShellFolder> desktop;
        if (FAILED(::SHGetDesktopFolder(desktop.Receive())) || !desktop) return nullptr;
        return std::make_unique<Win32Folder>(std::move(desktop));
    }

    std::unique_ptr<ShellItemId> MyComputer() override {
        LPITEMIDLIST raw = nullptr;
        const HRESULT hr = ::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &raw);
        ItemIdList list(raw);
        if (FAILED(hr) || !list) return nullptr;
        return std::make_unique<Win32ItemId>(std::move(list));
    }

private:
    // The shell's objects need COM on the thread that uses them: the GUI thread, which makes
    // the system and this object. The objects handed out die before the system does.
    ComApartment com_;
};

}  // namespace

std::unique_ptr<ShellNamespace> CreateWin32ShellNamespace() {
    return std::make_unique<Win32ShellNamespace>();
}

}  // namespace platform::win32

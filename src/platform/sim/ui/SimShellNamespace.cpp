// The simulated shell namespace over the simulated file system.
#include "platform/sim/ui/SimShellNamespace.h"

#include <map>
#include <optional>
#include <utility>

#include "platform/Files.h"
#include "platform/Shell.h"
#include "platform/sim/ui/SimNativeMenu.h"

namespace platform::sim {

namespace {

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

std::string Join(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '\\') return folder + name;
    return folder + "\\" + name;
}

// What an item is: its parent folder's parsing name, its own, and whether it is a folder.
struct ItemInfo {
    std::string parent;
    std::string name;
    bool folder = false;
};

class NamespaceImpl;

// Counts itself among the namespace's live objects.
class Tracked {
public:
    explicit Tracked(NamespaceImpl& ns);
    ~Tracked();
    Tracked(const Tracked&) = delete;
    Tracked& operator=(const Tracked&) = delete;

protected:
    NamespaceImpl& ns_;
};

class SimItemId : public ShellItemId, public Tracked {
public:
    SimItemId(NamespaceImpl& ns, ItemInfo info) : Tracked(ns), info_(std::move(info)) {}
    const ItemInfo& Info() const { return info_; }

private:
    ItemInfo info_;
};

class NamespaceImpl : public SimShellNamespace {
public:
    explicit NamespaceImpl(SimSystem& system) : system_(system) {}

    std::unique_ptr<ShellFolder> DesktopFolder() override;
    std::unique_ptr<ShellItemId> MyComputer() override {
        return std::make_unique<SimItemId>(*this, ItemInfo{"", kSimMyComputerName, true});
    }

    void SetContextMenu(const std::string& path, std::vector<SimShellVerb> verbs) override {
        menus_[Upper(path)] = std::move(verbs);
    }
    void FailCall(SimShellCall call, const std::string& path, std::int32_t code,
                  const std::string& text) override {
        failures_[{call, Upper(path)}] = ShellResult{code, text};
    }
    void FailEnumeration(const std::string& folder) override {
        failedEnumerations_.push_back(Upper(folder));
    }
    const std::vector<SimShellEnumeration>& Enumerations() const override {
        return enumerations_;
    }
    const std::vector<SimContextMenuQuery>& Queries() const override { return queries_; }
    const std::vector<SimShellInvocation>& Invocations() const override { return invocations_; }
    int LiveObjects() const override { return live_; }

    // For the namespace's objects.
    void Born() { ++live_; }
    void Died() { --live_; }
    // The scripted failure of the call on path, when there is one.
    std::optional<ShellResult> Failure(SimShellCall call, const std::string& path) const {
        auto it = failures_.find({call, Upper(path)});
        if (it == failures_.end()) return std::nullopt;
        return it->second;
    }
    std::vector<SimShellVerb> VerbsOf(const std::string& path) const {
        auto it = menus_.find(Upper(path));
        return it == menus_.end() ? std::vector<SimShellVerb>{} : it->second;
    }
    // The folder's items of the kinds flags name, or nullopt when it cannot be listed.
    std::optional<std::vector<ItemInfo>> Children(const std::string& folder, std::uint32_t flags);
    void Record(SimContextMenuQuery query) { queries_.push_back(std::move(query)); }
    void Record(SimShellInvocation invocation) { invocations_.push_back(std::move(invocation)); }

private:
    SimSystem& system_;
    std::map<std::string, std::vector<SimShellVerb>> menus_;
    std::map<std::pair<SimShellCall, std::string>, ShellResult> failures_;
    std::vector<std::string> failedEnumerations_;
    std::vector<SimShellEnumeration> enumerations_;
    std::vector<SimContextMenuQuery> queries_;
    std::vector<SimShellInvocation> invocations_;
    int live_ = 0;
};

Tracked::Tracked(NamespaceImpl& ns) : ns_(ns) { ns_.Born(); }
Tracked::~Tracked() { ns_.Died(); }

std::optional<std::vector<ItemInfo>> NamespaceImpl::Children(const std::string& folder,
                                                            std::uint32_t flags) {
    enumerations_.push_back(SimShellEnumeration{folder, flags});
    for (const std::string& failed : failedEnumerations_)
        if (failed == Upper(folder)) return std::nullopt;

    std::vector<ItemInfo> all;
    std::vector<bool> hidden;
    Files& files = system_.files();
    if (folder.empty()) {
        all.push_back(ItemInfo{folder, kSimMyComputerName, true});
        hidden.push_back(false);
    } else if (folder == kSimMyComputerName) {
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            const std::string root = std::string(1, letter) + ":\\";
            if (!files.Attributes(root)) continue;
            all.push_back(ItemInfo{folder, root, true});
            hidden.push_back(false);
        }
    } else {
        auto entries = files.List(Join(folder, "*"));
        if (!entries) return std::nullopt;
        for (const FindEntry& e : *entries) {
            if (e.name == "." || e.name == "..") continue;
            all.push_back(ItemInfo{folder, Join(folder, e.name),
                                   (e.attributes & kAttrDirectory) != 0});
            hidden.push_back((e.attributes & kAttrHidden) != 0);
        }
    }

    std::vector<ItemInfo> wanted;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (hidden[i] && !(flags & kEnumIncludeHidden)) continue;
        if (all[i].folder ? !(flags & kEnumFolders) : !(flags & kEnumNonFolders)) continue;
        wanted.push_back(all[i]);
    }
    return wanted;
}

class SimEnumerator : public ShellEnumerator, public Tracked {
public:
    SimEnumerator(NamespaceImpl& ns, std::vector<ItemInfo> items)
        : Tracked(ns), items_(std::move(items)) {}

    std::unique_ptr<ShellItemId> Next() override {
        if (next_ >= items_.size()) return nullptr;
        return std::make_unique<SimItemId>(ns_, items_[next_++]);
    }

private:
    std::vector<ItemInfo> items_;
    std::size_t next_ = 0;
};

class SimContextMenu : public ShellContextMenu, public Tracked {
public:
    SimContextMenu(NamespaceImpl& ns, std::string path) : Tracked(ns), path_(std::move(path)) {}

    ShellResult QueryContextMenu(NativeMenu& menu, std::uint32_t indexMenu,
                                 std::uint32_t idCmdFirst, std::uint32_t idCmdLast,
                                 std::uint32_t flags) override {
        ns_.Record(SimContextMenuQuery{path_, indexMenu, idCmdFirst, idCmdLast, flags});
        if (auto failure = ns_.Failure(SimShellCall::QueryContextMenu, path_)) return *failure;
        auto* target = dynamic_cast<SimNativeMenu*>(&menu);
        if (!target) return ShellResult{kSimInvalidArgument, "The parameter is incorrect."};
        verbs_.clear();
        for (SimShellVerb& verb : ns_.VerbsOf(path_)) {
            const std::uint32_t offset = static_cast<std::uint32_t>(verbs_.size());
            if (idCmdFirst + offset > idCmdLast) break;
            MenuEntry entry;
            entry.caption = verb.caption;
            entry.id = idCmdFirst + offset;
            entry.enabled = verb.enabled;
            target->Insert(indexMenu + offset, entry);
            verbs_.push_back(std::move(verb));
        }
        return ShellResult{static_cast<std::int32_t>(verbs_.size()), {}};
    }

    ShellResult InvokeCommand(std::uint32_t verb, int show) override {
        ns_.Record(SimShellInvocation{path_, verb, show});
        if (verb >= verbs_.size()) return ShellResult{kSimInvalidArgument, {}};
        std::function<void()> action = verbs_[verb].action;
        if (action) action();
        return ShellResult{};
    }

private:
    std::string path_;
    std::vector<SimShellVerb> verbs_;  // those QueryContextMenu added, by verb
};

class SimFolder : public ShellFolder, public Tracked {
public:
    SimFolder(NamespaceImpl& ns, std::string key) : Tracked(ns), key_(std::move(key)) {}

    ShellResult BindToObject(const ShellItemId& item,
                             std::unique_ptr<ShellFolder>& folder) override {
        folder.reset();
        const ItemInfo* info = Own(item);
        if (!info) return Refused();
        if (auto failure = ns_.Failure(SimShellCall::BindToObject, info->name)) return *failure;
        if (!info->folder) return ShellResult{kSimNoInterface, "No such interface supported"};
        folder = std::make_unique<SimFolder>(ns_, info->name);
        return ShellResult{};
    }

    std::unique_ptr<ShellEnumerator> EnumObjects(std::uint32_t flags) override {
        auto items = ns_.Children(key_, flags);
        if (!items) return nullptr;
        return std::make_unique<SimEnumerator>(ns_, std::move(*items));
    }

    ShellResult GetDisplayNameOf(const ShellItemId& item, std::uint32_t flags,
                                 std::string& name) override {
        name.clear();
        const ItemInfo* info = Own(item);
        if (!info) return Refused();
        if (auto failure = ns_.Failure(SimShellCall::GetDisplayNameOf, info->name))
            return *failure;
        if (flags & kDisplayForParsing) {
            name = info->name;
        } else {
            // The name in its folder: the last component.
            const std::size_t cut = info->name.find_last_of('\\', info->name.size() - 2);
            name = cut == std::string::npos ? info->name : info->name.substr(cut + 1);
        }
        return ShellResult{};
    }

    ShellResult GetUIObjectOf(const ShellItemId& item,
                              std::unique_ptr<ShellContextMenu>& menu) override {
        menu.reset();
        const ItemInfo* info = Own(item);
        if (!info) return Refused();
        if (auto failure = ns_.Failure(SimShellCall::GetUIObjectOf, info->name)) return *failure;
        menu = std::make_unique<SimContextMenu>(ns_, info->name);
        return ShellResult{};
    }

private:
    // The item's description when it is one of this folder's items.
    const ItemInfo* Own(const ShellItemId& item) const {
        const auto* sim = dynamic_cast<const SimItemId*>(&item);
        if (!sim || sim->Info().parent != key_) return nullptr;
        return &sim->Info();
    }
    static ShellResult Refused() {
        return ShellResult{kSimInvalidArgument, "The parameter is incorrect."};
    }

    std::string key_;  // the folder's parsing name; "" for the desktop
};

std::unique_ptr<ShellFolder> NamespaceImpl::DesktopFolder() {
    return std::make_unique<SimFolder>(*this, "");
}

}  // namespace

std::unique_ptr<SimShellNamespace> MakeSimShellNamespace(SimSystem& system) {
    return std::make_unique<NamespaceImpl>(system);
}

SimShellNamespace& ShellNamespaceOf(SimSystem& system) {
    return static_cast<SimShellNamespace&>(system.shell().Namespace());
}

}  // namespace platform::sim

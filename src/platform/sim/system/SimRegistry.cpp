// The simulated registry: a tree of keys per root, names compared without regard to case and
// kept as first written, subkeys and values listed in the order they were created.
#include <map>
#include <unordered_map>

#include "platform/sim/system/SimServices.h"
#include "platform/sim/system/SimText.h"
#include "platform/sim/watch/SimChangeFeed.h"

namespace platform::sim {

namespace {

struct RegNode {
    std::string name;
    std::vector<std::shared_ptr<RegNode>> children;  // in creation order
    // Lower-cased name -> child, so that a key of thousands of subkeys is walked in one step.
    std::unordered_map<std::string, std::shared_ptr<RegNode>> childByName;
    std::vector<std::pair<std::string, RegValue>> values;
    bool denyFullAccess = false;
    bool denyWrites = false;
    bool deleted = false;  // a handle may outlive its key, as on Windows

    std::shared_ptr<RegNode> Child(const std::string& childName) const {
        const auto found = childByName.find(ToLowerAscii(childName));
        return found == childByName.end() ? nullptr : found->second;
    }
    void AddChild(const std::shared_ptr<RegNode>& child) {
        children.push_back(child);
        childByName.emplace(ToLowerAscii(child->name), child);
    }
    std::pair<std::string, RegValue>* Value(const std::string& valueName) {
        for (auto& v : values)
            if (EqualsNoCase(v.first, valueName)) return &v;
        return nullptr;
    }
};

void MarkDeleted(RegNode& node) {
    node.deleted = true;
    for (auto& c : node.children) MarkDeleted(*c);
}

// A key path joined from its parts, as changes name it: no leading backslash, "" for a root.
std::string JoinKeyPath(const std::vector<std::string>& parts, std::size_t count) {
    std::string path;
    for (std::size_t i = 0; i < count; ++i) {
        if (i) path += '\\';
        path += parts[i];
    }
    return path;
}

class SimRegistryImpl : public SimRegistry {
public:
    explicit SimRegistryImpl(SimChangeFeed& changes) : changes_(changes) {
        for (RootKey root : {RootKey::ClassesRoot, RootKey::CurrentUser, RootKey::LocalMachine})
            roots_[root] = std::make_shared<RegNode>();
    }

    Handle Open(RootKey root, const std::string& path, KeyAccess access) override {
        ++opens_[{root, OpenedName(path)}];
        auto parts = Parts(path);
        auto node = parts ? Walk(root, *parts, false) : nullptr;
        if (!node) return 0;
        if (access == KeyAccess::All && node->denyFullAccess) return 0;
        return NewHandle(node, access, root, *parts);
    }

    Handle OpenBelow(Handle parent, const std::string& path, KeyAccess access) override {
        const OpenKey* open = Live(parent);
        auto parts = Parts(path);
        if (!open || !parts) return 0;
        auto node = WalkFrom(open->node, *parts);
        if (!node) return 0;
        if (access == KeyAccess::All && node->denyFullAccess) return 0;
        std::string fullPath = open->path;
        for (const std::string& part : *parts) fullPath += (fullPath.empty() ? "" : "\\") + part;
        return NewHandle(std::move(node), access, open->root, std::move(fullPath));
    }

    Handle Create(RootKey root, const std::string& path) override {
        auto parts = Parts(path);
        auto node = parts ? Walk(root, *parts, /*create=*/true) : nullptr;
        if (!node || node->denyFullAccess) return 0;
        return NewHandle(node, KeyAccess::All, root, *parts);
    }

    void Close(Handle key) override { handles_.erase(key); }

    std::vector<std::string> SubKeyNames(Handle key) override {
        std::vector<std::string> names;
        if (auto* open = Live(key))
            for (const auto& c : open->node->children) names.push_back(c->name);
        return names;
    }

    std::vector<std::string> ValueNames(Handle key) override {
        std::vector<std::string> names;
        if (auto* open = Live(key))
            for (const auto& v : open->node->values) names.push_back(v.first);
        return names;
    }

    std::optional<RegValue> Query(Handle key, const std::string& name) override {
        auto* open = Live(key);
        if (!open) return std::nullopt;
        auto* value = open->node->Value(name);
        if (!value) return std::nullopt;
        return value->second;
    }

    bool Set(Handle key, const std::string& name, const RegValue& value) override {
        auto* open = Writable(key);
        if (!open) return false;
        PutValue(*open->node, name, value);
        ReportKey(open->root, open->path);
        return true;
    }

    bool DeleteValue(Handle key, const std::string& name) override {
        auto* open = Writable(key);
        if (!open) return false;
        auto& values = open->node->values;
        for (auto it = values.begin(); it != values.end(); ++it) {
            if (EqualsNoCase(it->first, name)) {
                values.erase(it);
                ReportKey(open->root, open->path);
                return true;
            }
        }
        return false;
    }

    bool DeleteTree(RootKey root, const std::string& path) override {
        auto parts = Parts(path);
        if (!parts || parts->empty()) return false;  // a root cannot be deleted
        std::string last = parts->back();
        parts->pop_back();
        auto parent = Walk(root, *parts, false);
        if (!parent) return false;
        auto& children = parent->children;
        for (auto it = children.begin(); it != children.end(); ++it) {
            if (EqualsNoCase((*it)->name, last)) {
                if ((*it)->denyFullAccess) return false;
                MarkDeleted(**it);
                parent->childByName.erase(ToLowerAscii((*it)->name));
                children.erase(it);
                const std::string parentPath = JoinKeyPath(*parts, parts->size());
                ReportKey(root, parentPath.empty() ? last : parentPath + '\\' + last,
                          /*removed=*/true);
                ReportKey(root, parentPath);
                return true;
            }
        }
        return false;
    }

    void Put(RootKey root, const std::string& path, const std::string& name, RegType type,
             const std::string& data) override {
        auto parts = Parts(path);
        auto node = parts ? Walk(root, *parts, true) : nullptr;
        if (!node) return;
        PutValue(*node, name, RegValue{type, data});
        ReportKey(root, JoinKeyPath(*parts, parts->size()));
    }

    void MakeKey(RootKey root, const std::string& path) override { Find(root, path, true); }

    void DenyFullAccess(RootKey root, const std::string& path) override {
        if (auto node = Find(root, path, true)) node->denyFullAccess = true;
    }

    void DenyWrites(RootKey root, const std::string& path) override {
        if (auto node = Find(root, path, true)) node->denyWrites = true;
    }

    std::optional<RegValue> Get(RootKey root, const std::string& path,
                                const std::string& name) const override {
        auto node = Find(root, path);
        if (!node) return std::nullopt;
        auto* value = node->Value(name);
        if (!value) return std::nullopt;
        return value->second;
    }

    bool KeyExists(RootKey root, const std::string& path) const override {
        return Find(root, path) != nullptr;
    }

    int OpenKeyCount() const override { return static_cast<int>(handles_.size()); }

    int OpensOf(RootKey root, const std::string& path) const override {
        const auto found = opens_.find({root, OpenedName(path)});
        return found == opens_.end() ? 0 : found->second;
    }

private:
    static std::string OpenedName(std::string_view path) {
        if (!path.empty() && path[0] == '\\') path.remove_prefix(1);
        return ToLowerAscii(path);
    }

    struct OpenKey {
        std::shared_ptr<RegNode> node;
        KeyAccess access;
        RootKey root;
        std::string path;  // as changes name it
    };

    void ReportKey(RootKey root, std::string path, bool removed = false) const {
        changes_.Report({SimChange::Area::Registry, root, std::move(path), removed});
    }

    static void PutValue(RegNode& node, const std::string& name, const RegValue& value) {
        if (auto* existing = node.Value(name))
            existing->second = value;  // keeps its place and its first spelling
        else
            node.values.emplace_back(name, value);
    }

    // The parts of a key path; one leading backslash is ignored, an empty path is the root.
    // nullopt for a path with an empty part (a doubled or trailing backslash).
    static std::optional<std::vector<std::string>> Parts(const std::string& path) {
        std::string rest = path;
        if (!rest.empty() && rest[0] == '\\') rest.erase(0, 1);
        std::vector<std::string> parts;
        if (rest.empty()) return parts;
        std::string current;
        for (char c : rest) {
            if (c == '\\') {
                if (current.empty()) return std::nullopt;
                parts.push_back(current);
                current.clear();
            } else {
                current += c;
            }
        }
        if (current.empty()) return std::nullopt;
        parts.push_back(current);
        return parts;
    }

    std::shared_ptr<RegNode> Walk(RootKey root, const std::vector<std::string>& parts,
                                  bool create) const {
        auto it = roots_.find(root);
        if (it == roots_.end()) return nullptr;  // RootKey::None opens nothing
        auto node = it->second;
        std::optional<std::size_t> firstCreated;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            auto child = node->Child(parts[i]);
            if (!child) {
                if (!create) return nullptr;
                child = std::make_shared<RegNode>();
                child->name = parts[i];
                node->AddChild(child);
                if (!firstCreated) firstCreated = i;
            }
            node = child;
        }
        // A new key changes the subkeys of the key above the first one made.
        if (firstCreated) ReportKey(root, JoinKeyPath(parts, *firstCreated));
        return node;
    }

    std::shared_ptr<RegNode> Find(RootKey root, const std::string& path, bool create = false) const {
        auto parts = Parts(path);
        if (!parts) return nullptr;
        return Walk(root, *parts, create);
    }

    // A key below node, never created.
    static std::shared_ptr<RegNode> WalkFrom(std::shared_ptr<RegNode> node,
                                             const std::vector<std::string>& parts) {
        for (const std::string& part : parts) {
            node = node->Child(part);
            if (!node) return nullptr;
        }
        return node;
    }

    Handle NewHandle(std::shared_ptr<RegNode> node, KeyAccess access, RootKey root,
                     const std::vector<std::string>& parts) {
        return NewHandle(std::move(node), access, root, JoinKeyPath(parts, parts.size()));
    }
    Handle NewHandle(std::shared_ptr<RegNode> node, KeyAccess access, RootKey root,
                     std::string path) {
        Handle h = nextHandle_;
        nextHandle_ += 4;
        handles_[h] = OpenKey{std::move(node), access, root, std::move(path)};
        return h;
    }

    OpenKey* Live(Handle key) {
        auto it = handles_.find(key);
        if (it == handles_.end() || it->second.node->deleted) return nullptr;
        return &it->second;
    }

    OpenKey* Writable(Handle key) {
        auto* open = Live(key);
        if (!open || open->access != KeyAccess::All || open->node->denyWrites) return nullptr;
        return open;
    }

    SimChangeFeed& changes_;
    std::map<RootKey, std::shared_ptr<RegNode>> roots_;
    std::map<Handle, OpenKey> handles_;
    std::map<std::pair<RootKey, std::string>, int> opens_;
    Handle nextHandle_ = 0x1000;
};

}  // namespace

std::unique_ptr<SimRegistry> MakeSimRegistry(SimChangeFeed& changes) {
    return std::make_unique<SimRegistryImpl>(changes);
}

}  // namespace platform::sim

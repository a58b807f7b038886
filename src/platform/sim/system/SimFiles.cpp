// The simulated file system: drives of folders and files in memory, names compared without
// regard to case and kept as created, every entry with a long and an 8.3 name.
#include <algorithm>
#include <map>
#include <unordered_map>

#include "platform/sim/system/SimServices.h"
#include "platform/sim/system/SimShortNames.h"
#include "platform/sim/system/SimText.h"
#include "platform/sim/watch/SimChangeFeed.h"

namespace platform::sim {

namespace {

constexpr std::uint32_t kAttrArchive = 0x20;
constexpr std::uint32_t kAttrSettable = 0x01 | 0x02 | 0x04 | 0x20 | 0x100 | 0x2000;

struct FileNode {
    std::string name;
    std::string shortName;  // empty: the name is its own short form
    bool isDirectory = false;
    std::uint32_t attributes = kAttrArchive;
    std::string content;
    std::uint64_t revision = 0;  // SimFiles::ContentView
    bool locked = false;
    FileNode* parent = nullptr;
    std::vector<std::unique_ptr<FileNode>> children;  // in creation order
    // The children by their long and short names: a folder of thousands of files (System32)
    // is looked up without a walk over all of them.
    std::unordered_multimap<std::string, FileNode*, NoCaseHash, NoCaseEqual> byName;

    const std::string& ShortOrName() const { return shortName.empty() ? name : shortName; }
    bool Matches(const std::string& component) const {
        return EqualsNoCase(name, component) ||
               (!shortName.empty() && EqualsNoCase(shortName, component));
    }
    // The first child in creation order whose long or short name is component, other than
    // except.
    FileNode* Child(std::string_view component, const FileNode* except = nullptr) const {
        const auto [first, last] = byName.equal_range(component);
        FileNode* found = nullptr;
        for (auto it = first; it != last; ++it) {
            if (it->second == except) continue;
            if (!found || IndexOf(it->second) < IndexOf(found)) found = it->second;
        }
        return found;
    }
    void Index(FileNode* child) {
        byName.emplace(child->name, child);
        if (!child->shortName.empty()) byName.emplace(child->shortName, child);
    }
    void Unindex(const FileNode* child) {
        for (const std::string* spelling : {&child->name, &child->shortName}) {
            auto [it, last] = byName.equal_range(*spelling);
            while (it != last) it = it->second == child ? byName.erase(it) : std::next(it);
        }
    }
    void Adopt(std::unique_ptr<FileNode> child) {
        child->parent = this;
        Index(child.get());
        children.push_back(std::move(child));
    }
    std::size_t IndexOf(const FileNode* child) const {
        const auto at = std::find_if(children.begin(), children.end(),
                                     [child](const auto& c) { return c.get() == child; });
        return static_cast<std::size_t>(at - children.begin());
    }
    bool ReadOnly() const { return (attributes & kAttrReadOnly) != 0; }
};

// A path taken apart: "C:\a\b\" is drive "C:", parts {a, b}, trailing separator.
struct ParsedPath {
    std::string drive;  // as written, e.g. "c:"
    std::vector<std::string> parts;
    bool trailingSeparator = false;
};

std::optional<ParsedPath> ParsePath(const std::string& path) {
    if (path.size() < 2 || path[1] != ':') return std::nullopt;
    char letter = path[0];
    if (!((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z'))) return std::nullopt;
    ParsedPath parsed;
    parsed.drive = path.substr(0, 2);
    if (path.size() == 2) return parsed;
    if (path[2] != '\\' && path[2] != '/') return std::nullopt;  // drive-relative paths
    auto parts = SplitPath(std::string_view(path).substr(3));
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        if (part.empty()) {
            if (i + 1 == parts.size()) {
                parsed.trailingSeparator = !parsed.parts.empty();
                continue;
            }
            return std::nullopt;
        }
        if (part == ".") continue;
        if (part == "..") {
            if (!parsed.parts.empty()) parsed.parts.pop_back();
            continue;
        }
        if (part.find_first_of("*?\"<>|:") != std::string::npos) return std::nullopt;
        parsed.parts.push_back(part);
    }
    return parsed;
}

// True when pattern (with * and ?) matches name, without regard to case.
bool WildcardMatch(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || EqualsNoCase(pattern.substr(p, 1), name.substr(n, 1)))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool PatternMatches(const std::string& pattern, const std::string& name) {
    if (pattern == "*.*") return true;  // Windows reads "*.*" as "*"
    return WildcardMatch(pattern, name);
}

// A folder's full path as changes name it: "C:\\WINDOWS", a drive's root "C:\\".
std::string FolderPath(const FileNode& folder) {
    std::string path;
    for (const FileNode* node = &folder; node->parent; node = node->parent)
        path = path.empty() ? node->name : node->name + '\\' + path;
    const FileNode* root = &folder;
    while (root->parent) root = root->parent;
    return root->name + '\\' + path;
}

class SimFilesImpl : public SimFiles {
public:
    explicit SimFilesImpl(SimChangeFeed& changes) : changes_(changes) {
        AddDirectory(windowsDirectory_);
        AddDirectory("C:\\TEMP");
        AddDirectory("C:\\Zorvik");
    }

    std::optional<std::uint32_t> Attributes(const std::string& path) override {
        const FileNode* node = Resolve(path);
        if (!node) return std::nullopt;
        return node->attributes;
    }

    bool SetAttributes(const std::string& path, std::uint32_t attributes) override {
        FileNode* node = Resolve(path);
        if (!node) return false;
        std::uint32_t kept = attributes & kAttrSettable;
        if (node->isDirectory)
            node->attributes = kept | kAttrDirectory;
        else
            node->attributes = kept ? kept : kAttrNormal;
        return true;
    }

    std::optional<std::vector<FindEntry>> List(const std::string& pattern) override {
        std::size_t cut = pattern.find_last_of("\\/");
        if (cut == std::string::npos) return std::nullopt;
        std::string folderPath = pattern.substr(0, cut + 1);
        std::string mask = pattern.substr(cut + 1);
        if (mask.empty()) return std::nullopt;
        FileNode* folder = Resolve(folderPath);
        if (!folder || !folder->isDirectory) return std::nullopt;
        std::vector<FindEntry> entries;
        if (folder->parent) {  // drive roots have no "." and ".."
            for (const char* dots : {".", ".."})
                if (PatternMatches(mask, dots)) entries.push_back({dots, kAttrDirectory});
        }
        for (const auto& child : folder->children) {
            if (PatternMatches(mask, child->name) ||
                (!child->shortName.empty() && PatternMatches(mask, child->shortName)))
                entries.push_back({child->name, child->attributes});
        }
        if (entries.empty()) return std::nullopt;  // FindFirstFileA: ERROR_FILE_NOT_FOUND
        return entries;
    }

    std::string ShortPath(const std::string& path) override {
        return Spell(path, [](const FileNode& n) { return n.ShortOrName(); });
    }

    std::string LongPath(const std::string& path) override {
        return Spell(path, [](const FileNode& n) { return n.name; });
    }

    std::string WindowsDirectory() override { return windowsDirectory_; }
    // The Windows folder's system32, as on every Windows the program runs on.
    std::string SystemDirectory() override { return windowsDirectory_ + "\\system32"; }
    std::string OwnPath() override { return ownPath_; }

    std::optional<std::string> ReadAt(const std::string& path, std::uint64_t offset,
                                      std::size_t count) override {
        const FileNode* node = Resolve(path);
        if (!node || node->isDirectory || node->locked) return std::nullopt;
        if (offset >= node->content.size()) return std::string();
        return node->content.substr(static_cast<std::size_t>(offset), count);
    }

    FileResult ReadAll(const std::string& path, std::string& bytes) override {
        ContentView view;
        const FileResult result = View(path, view);
        if (result.ok) bytes = *view.bytes;
        return result;
    }

    FileResult View(const std::string& path, ContentView& view) const override {
        std::uint32_t error = 0;
        const FileNode* node = ResolveForOpen(path, error);
        if (!node) return {false, error};
        if (node->isDirectory) return {false, kErrorAccessDenied};
        if (node->locked) return {false, kErrorSharingViolation};
        if (node->content.size() > kReadAllLimit) return {false, kErrorFileTooLarge};
        view = {&node->content, node->revision};
        return {true, 0};
    }

    FileResult WriteAll(const std::string& path, const std::string& bytes) override {
        std::uint32_t error = 0;
        FileNode* node = ResolveForOpen(path, error);
        if (!node) {
            if (error != kErrorFileNotFound) return {false, error};
            node = CreateChild(path, /*directory=*/false);
            if (!node) return {false, kErrorPathNotFound};
        }
        if (node->isDirectory || node->ReadOnly()) return {false, kErrorAccessDenied};
        if (node->locked) return {false, kErrorSharingViolation};
        node->content = bytes;
        node->revision = ++revisions_;
        ReportEntriesOf(*node->parent);
        return {true, 0};
    }

    bool Move(const std::string& from, const std::string& to) override {
        return MoveNode(from, to, /*replace=*/false);
    }

    bool Replace(const std::string& source, const std::string& target) override {
        return MoveNode(source, target, /*replace=*/true);
    }

    bool Delete(const std::string& path) override {
        FileNode* node = Resolve(path);
        if (!node || node->isDirectory || node->ReadOnly() || node->locked) return false;
        FileNode& folder = *node->parent;
        Detach(node);
        ReportEntriesOf(folder);
        return true;
    }

    bool CreateDirectory(const std::string& path) override {
        if (Resolve(path)) return false;
        FileNode* made = CreateChild(path, /*directory=*/true);
        if (made) ReportEntriesOf(*made->parent);
        return made != nullptr;
    }

    bool RemoveDirectory(const std::string& path) override {
        FileNode* node = Resolve(path);
        if (!node || !node->isDirectory || !node->parent || !node->children.empty() ||
            node->ReadOnly())
            return false;
        FileNode& folder = *node->parent;
        ReportRemoved(*node);
        Detach(node);
        ReportEntriesOf(folder);
        return true;
    }

    std::string TempDirectory() override { return "C:\\TEMP\\"; }

    void AddFile(const std::string& path, const std::string& bytes) override {
        FileNode* node = Resolve(path);
        if (!node) node = CreateWithParents(path, false);
        if (node && !node->isDirectory) {
            node->content = bytes;
            node->revision = ++revisions_;
            ReportEntriesOf(*node->parent);
        }
    }

    void AddDirectory(const std::string& path) override {
        if (!Resolve(path)) CreateWithParents(path, true);
    }

    void SetShortName(const std::string& path, const std::string& shortName) override {
        FileNode* node = Resolve(path);
        if (!node || !node->parent) return;
        node->parent->Unindex(node);
        node->shortName = EqualsNoCase(shortName, node->name) ? std::string() : shortName;
        node->parent->Index(node);
    }

    void Lock(const std::string& path, bool locked) override {
        if (FileNode* node = Resolve(path)) node->locked = locked;
    }

    void SetWindowsDirectory(const std::string& dir) override {
        std::string cleaned = dir;
        while (cleaned.size() > 3 && (cleaned.back() == '\\' || cleaned.back() == '/'))
            cleaned.pop_back();
        windowsDirectory_ = cleaned;
        AddDirectory(cleaned);
    }

    void SetOwnPath(const std::string& path) override {
        ownPath_ = path;
        std::size_t cut = path.find_last_of("\\/");
        if (cut != std::string::npos) AddDirectory(path.substr(0, cut + 1));
    }

    std::optional<std::string> Content(const std::string& path) const override {
        const FileNode* node = Resolve(path);
        if (!node || node->isDirectory) return std::nullopt;
        return node->content;
    }

    bool Exists(const std::string& path) const override { return Resolve(path) != nullptr; }

private:
    FileNode* DriveRoot(const std::string& drive, bool create) const {
        std::string letter = ToUpperAscii(drive.substr(0, 1));
        auto it = drives_.find(letter);
        if (it != drives_.end()) return it->second.get();
        if (!create) return nullptr;
        auto root = std::make_unique<FileNode>();
        root->name = letter + ":";
        root->isDirectory = true;
        root->attributes = kAttrDirectory;
        FileNode* raw = root.get();
        drives_[letter] = std::move(root);
        return raw;
    }

    FileNode* Resolve(const std::string& path) const {
        // Most paths are plain "X:\folder\file": walked in place, without taking them apart.
        if (FileNode* plain = nullptr; ResolvePlain(path, plain)) return plain;
        auto parsed = ParsePath(path);
        if (!parsed) return nullptr;
        FileNode* node = DriveRoot(parsed->drive, false);
        for (const auto& part : parsed->parts) {
            if (!node || !node->isDirectory) return nullptr;
            node = node->Child(part);
        }
        if (node && parsed->trailingSeparator && !node->isDirectory) return nullptr;
        return node;
    }

    // False when path is not plain (no drive root, an empty, "." or ".." part, a character no
    // name may hold): ParsePath decides then.
    bool ResolvePlain(std::string_view path, FileNode*& node) const {
        if (path.size() < 3 || path[1] != ':' || (path[2] != '\\' && path[2] != '/')) return false;
        const char letter = path[0];
        if (!((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z'))) return false;
        for (std::size_t at = 3; at < path.size(); ++at) {
            switch (path[at]) {
                case '*': case '?': case '"': case '<': case '>': case '|': case ':':
                    return false;
                default:
                    break;
            }
        }
        const auto drive = drives_.find(std::string(1, letter >= 'a' ? letter - 'a' + 'A' : letter));
        node = drive == drives_.end() ? nullptr : drive->second.get();
        std::string_view rest = path.substr(3);
        while (!rest.empty()) {
            const std::size_t end = rest.find_first_of("\\/");
            const std::string_view part = rest.substr(0, end);
            const bool last = end == std::string_view::npos;
            if (part.empty() || part == "." || part == ".." || (!last && end + 1 == rest.size()))
                return false;
            if (node) node = node->isDirectory ? node->Child(part) : nullptr;
            rest = last ? std::string_view() : rest.substr(end + 1);
        }
        return true;
    }

    // As CreateFileA reports a missing target: 2 when only the file is missing, 3 when its
    // folder is.
    FileNode* ResolveForOpen(const std::string& path, std::uint32_t& error) const {
        if (FileNode* node = Resolve(path)) return node;
        auto parsed = ParsePath(path);
        if (!parsed || parsed->parts.empty() || parsed->trailingSeparator) {
            error = kErrorPathNotFound;
            return nullptr;
        }
        error = ParentOf(*parsed) ? kErrorFileNotFound : kErrorPathNotFound;
        return nullptr;
    }

    FileNode* ParentOf(const ParsedPath& parsed) const {
        FileNode* node = DriveRoot(parsed.drive, false);
        for (std::size_t i = 0; i + 1 < parsed.parts.size(); ++i) {
            if (!node || !node->isDirectory) return nullptr;
            node = node->Child(parsed.parts[i]);
        }
        return node && node->isDirectory ? node : nullptr;
    }

    FileNode* Attach(FileNode* parent, const std::string& name, bool directory) {
        auto node = std::make_unique<FileNode>();
        node->name = name;
        node->isDirectory = directory;
        node->attributes = directory ? kAttrDirectory : kAttrArchive;
        node->shortName = ShortNameIn(*parent, name, nullptr);
        FileNode* raw = node.get();
        parent->Adopt(std::move(node));
        return raw;
    }

    static std::string ShortNameIn(const FileNode& folder, const std::string& name,
                                   const FileNode* self) {
        if (IsLegalShortName(name)) return std::string();
        return GenerateShortName(name, [&](const std::string& candidate) {
            return folder.Child(candidate, self) != nullptr;
        });
    }

    // Creates the last component of path in its existing folder.
    FileNode* CreateChild(const std::string& path, bool directory) {
        auto parsed = ParsePath(path);
        if (!parsed || parsed->parts.empty()) return nullptr;
        FileNode* parent = ParentOf(*parsed);
        if (!parent) return nullptr;
        return Attach(parent, parsed->parts.back(), directory);
    }

    FileNode* CreateWithParents(const std::string& path, bool directory) {
        auto parsed = ParsePath(path);
        if (!parsed) return nullptr;
        FileNode* node = DriveRoot(parsed->drive, true);
        FileNode* firstMadeIn = nullptr;
        for (std::size_t i = 0; i < parsed->parts.size(); ++i) {
            bool last = i + 1 == parsed->parts.size();
            FileNode* child = node->Child(parsed->parts[i]);
            if (!child) {
                child = Attach(node, parsed->parts[i], last ? directory : true);
                if (!firstMadeIn) firstMadeIn = node;
            }
            if (!last && !child->isDirectory) return nullptr;
            node = child;
        }
        if (firstMadeIn) ReportEntriesOf(*firstMadeIn);
        return node;
    }

    std::unique_ptr<FileNode> Detach(FileNode* node) {
        auto& siblings = node->parent->children;
        for (auto it = siblings.begin(); it != siblings.end(); ++it) {
            if (it->get() == node) {
                node->parent->Unindex(node);
                std::unique_ptr<FileNode> owned = std::move(*it);
                siblings.erase(it);
                owned->parent = nullptr;
                return owned;
            }
        }
        return nullptr;
    }

    bool MoveNode(const std::string& from, const std::string& to, bool replace) {
        FileNode* source = Resolve(from);
        if (!source || !source->parent || source->locked) return false;
        auto target = ParsePath(to);
        if (!target || target->parts.empty()) return false;
        FileNode* targetFolder = ParentOf(*target);
        if (!targetFolder) return false;
        for (FileNode* up = targetFolder; up; up = up->parent)
            if (up == source) return false;  // a folder cannot move into itself
        FileNode* existing = targetFolder->Child(target->parts.back());
        if (existing == source) existing = nullptr;  // a change of letter case only
        if (existing) {
            if (!replace || existing->isDirectory || source->isDirectory || existing->ReadOnly() ||
                existing->locked)
                return false;
            Detach(existing);
        }
        FileNode& sourceFolder = *source->parent;
        if (source->isDirectory) ReportRemoved(*source);
        auto owned = Detach(source);
        owned->name = target->parts.back();
        owned->shortName = ShortNameIn(*targetFolder, owned->name, nullptr);
        targetFolder->Adopt(std::move(owned));
        ReportEntriesOf(sourceFolder);
        if (targetFolder != &sourceFolder) ReportEntriesOf(*targetFolder);
        return true;
    }

    template <typename SpellPart>
    std::string Spell(const std::string& path, SpellPart spellPart) const {
        auto parsed = ParsePath(path);
        if (!parsed) return std::string();
        FileNode* node = DriveRoot(parsed->drive, false);
        if (!node) return std::string();
        std::string out = parsed->drive + "\\";
        for (std::size_t i = 0; i < parsed->parts.size(); ++i) {
            if (!node->isDirectory) return std::string();
            node = node->Child(parsed->parts[i]);
            if (!node) return std::string();
            if (i > 0) out += '\\';
            out += spellPart(*node);
        }
        if (parsed->trailingSeparator) {
            if (!node->isDirectory) return std::string();
            out += '\\';
        }
        return out;
    }

    void ReportEntriesOf(const FileNode& folder) const {
        changes_.Report({SimChange::Area::Files, RootKey::None, FolderPath(folder), false});
    }
    void ReportRemoved(const FileNode& folder) const {
        changes_.Report({SimChange::Area::Files, RootKey::None, FolderPath(folder), true});
    }

    SimChangeFeed& changes_;
    mutable std::map<std::string, std::unique_ptr<FileNode>> drives_;
    std::string windowsDirectory_ = "C:\\WINDOWS";
    std::string ownPath_ = "C:\\Zorvik\\Zorvik.exe";
    std::uint64_t revisions_ = 0;
};

}  // namespace

std::unique_ptr<SimFiles> MakeSimFiles(SimChangeFeed& changes) {
    return std::make_unique<SimFilesImpl>(changes);
}

}  // namespace platform::sim

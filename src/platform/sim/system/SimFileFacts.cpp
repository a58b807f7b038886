#include "platform/sim/system/SimFileFacts.h"

#include <string_view>
#include <unordered_map>

#include "platform/sim/system/SimText.h"

namespace platform::sim {

namespace {

class ScriptedFacts : public SimFileFacts {
public:
    explicit ScriptedFacts(SimFiles& files) : files_(files) {}

    void Script(const std::string& path, ScriptedFileFacts facts) override {
        scripts_[path] = std::move(facts);
    }

    std::optional<std::uint64_t> Size(const std::string& path) override {
        const std::optional<std::string> content = files_.Content(path);
        if (!content) return std::nullopt;
        const ScriptedFileFacts* script = Find(path);
        return script && script->size ? *script->size : content->size();
    }

    std::optional<std::string> Sha256(const std::string& path) override {
        ++asked_.hashes;
        if (!files_.Content(path)) return std::nullopt;
        const ScriptedFileFacts* script = Find(path);
        return script ? script->sha256 : std::string();
    }

    std::optional<VersionStrings> Version(const std::string& path) override {
        const ScriptedFileFacts* script = files_.Exists(path) ? Find(path) : nullptr;
        return script ? script->version : std::nullopt;
    }

    SignatureVerdict Signature(const std::string& path) override {
        ++asked_.signatures;
        const ScriptedFileFacts* script = files_.Exists(path) ? Find(path) : nullptr;
        return script ? script->signature : SignatureVerdict{};
    }

    std::optional<SignatureVerdict> CatalogSignature(const std::string& path) override {
        ++asked_.catalogs;
        const ScriptedFileFacts* script = files_.Exists(path) ? Find(path) : nullptr;
        return script ? script->catalog : SignatureVerdict{};
    }

    std::optional<std::uint64_t> LastWriteTime(const std::string& path) override {
        SimFiles::ContentView view;
        if (!files_.View(path, view).ok) return std::nullopt;
        return view.revision;
    }

    std::optional<bool> FolderWritableByUsers(const std::string& folder) override {
        std::string key = folder;
        while (!key.empty() && key.back() == '\\') key.pop_back();
        const auto found = writableFolders_.find(key);
        if (found == writableFolders_.end()) return std::nullopt;
        return found->second;
    }

    void SetFolderWritableByUsers(const std::string& folder, bool writable) override {
        std::string key = folder;
        while (!key.empty() && key.back() == '\\') key.pop_back();
        writableFolders_[key] = writable;
    }

    Counts Asked() const override { return asked_; }

private:
    const ScriptedFileFacts* Find(const std::string& path) const {
        const auto found = scripts_.find(std::string_view(path));
        return found == scripts_.end() ? nullptr : &found->second;
    }

    SimFiles& files_;
    // Windows paths compare without regard to case.
    std::unordered_map<std::string, ScriptedFileFacts, NoCaseHash, NoCaseEqual> scripts_;
    std::unordered_map<std::string, bool, NoCaseHash, NoCaseEqual> writableFolders_;
    Counts asked_;
};

}  // namespace

std::unique_ptr<SimFileFacts> MakeSimFileFacts(SimFiles& files) {
    return std::make_unique<ScriptedFacts>(files);
}

}  // namespace platform::sim

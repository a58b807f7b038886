#pragma once
// The rules file beside the test programs, put back as it was (or removed, if there was none)
// when this goes: a test writes the rules it needs in its place.
#include <optional>
#include <string>
#include <utility>

#include "core/engine/startup/ScanRules.h"
#include "platform/System.h"

namespace wintest {

class SavedRulesFile {
public:
    explicit SavedRulesFile(platform::System& sys) : sys_(sys), path_(zorvik::RulesFilePath(sys)) {
        std::string bytes;
        if (sys_.files().ReadAll(path_, bytes).ok) saved_ = std::move(bytes);
    }
    ~SavedRulesFile() {
        if (saved_) sys_.files().WriteAll(path_, *saved_);
        else if (!path_.empty()) sys_.files().Delete(path_);
    }
    SavedRulesFile(const SavedRulesFile&) = delete;
    SavedRulesFile& operator=(const SavedRulesFile&) = delete;

    const std::string& Path() const { return path_; }
    // The file's bytes as they were; none when there was no file.
    const std::optional<std::string>& Saved() const { return saved_; }

private:
    platform::System& sys_;
    const std::string path_;
    std::optional<std::string> saved_;
};

}  // namespace wintest

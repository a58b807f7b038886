#pragma once
// The simulated file facts: sizes from the simulated files, the rest as scripted per path.
#include <memory>
#include <optional>
#include <string>

#include "platform/FileFacts.h"
#include "platform/sim/system/SimSystem.h"

namespace platform::sim {

struct ScriptedFileFacts {
    std::optional<std::uint64_t> size;  // instead of the content's length (for very large files)
    std::string sha256;                 // empty: the system has no SHA-256
    std::optional<VersionStrings> version;
    SignatureVerdict signature;
    // The catalogs' verdict; the simulated system has catalogs, which hold no file unscripted.
    SignatureVerdict catalog;
};

class SimFileFacts : public FileFacts {
public:
    // Facts of a file that is not in the simulated file system are never given.
    virtual void Script(const std::string& path, ScriptedFileFacts facts) = 0;
    // Whether non-administrators may create files in the folder (no trailing backslash needed);
    // unscripted folders give no answer.
    virtual void SetFolderWritableByUsers(const std::string& folder, bool writable) = 0;
    // How many times each fact was asked, for tests of what is read again.
    struct Counts {
        int signatures = 0;
        int catalogs = 0;
        int hashes = 0;
    };
    virtual Counts Asked() const = 0;
};

std::unique_ptr<SimFileFacts> MakeSimFileFacts(SimFiles& files);

}  // namespace platform::sim

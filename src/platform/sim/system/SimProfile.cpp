// Profile files over the simulated file system, read and written as the profile functions of
// Windows do (see SimIni.h for the text model).
#include <optional>

#include "platform/sim/system/SimIni.h"
#include "platform/sim/system/SimServices.h"
#include "platform/sim/system/SimText.h"

namespace platform::sim {

namespace {

// The platform's reading over the simulated call: the buffer doubles while the call says
// the text was cut, up to the same limit.
template <typename Call>
auto GrowUntilWhole(std::size_t size, Call call) {
    for (;;) {
        auto [text, whole] = call(size);
        if (whole || size >= kProfileBufferLimit) return text;
        size *= 2;
    }
}

std::vector<std::string> AllNames(const std::vector<std::string>& names) {
    return GrowUntilWhole(kProfileNameListBuffer, [&](std::size_t size) {
        auto kept = NamesThatFit(names, size);
        return std::pair{kept, kept.size() == names.size()};
    });
}

class SimProfileImpl : public Profile {
public:
    explicit SimProfileImpl(SimFiles& files) : files_(files) {}

    std::string ReadString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& defaultValue) override {
        auto text = Load(file);
        if (text) {
            if (auto raw = text->Value(section, key))
                return GrowUntilWhole(kProfileValueBuffer, [&](std::size_t size) {
                    std::string value = ProfileValueText(*raw, size);
                    return std::pair{value, value.size() + 1 < size};
                });
        }
        // The default comes back without its trailing blanks, read like a value.
        std::string fallback = defaultValue;
        while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
        return fallback;
    }

    std::vector<std::string> SectionNames(const std::string& file) override {
        auto text = Load(file);
        if (!text) return {};
        return AllNames(text->SectionNames());
    }

    std::vector<std::string> KeyNames(const std::string& file, const std::string& section) override {
        auto text = Load(file);
        if (!text) return {};
        return AllNames(text->KeyNames(section));
    }

    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override {
        std::string path = Resolve(file);
        auto text = LoadForWrite(path);
        if (!text) return false;
        text->Set(section, key, value);
        return files_.WriteAll(path, text->Serialize()).ok;
    }

    bool EraseSection(const std::string& file, const std::string& section) override {
        std::string path = Resolve(file);
        auto text = LoadForWrite(path);
        if (!text) return false;
        text->EraseSection(section);
        // Windows opens the file for writing even when there is nothing to erase, so a
        // missing file is created empty and a read-only one refuses.
        return files_.WriteAll(path, text->Serialize()).ok;
    }

private:
    // A bare file name (no folder, no drive) lies in the Windows directory.
    std::string Resolve(const std::string& file) {
        if (file.find_first_of("\\/:") != std::string::npos) return file;
        std::string dir = files_.WindowsDirectory();
        if (!dir.empty() && dir.back() != '\\') dir += '\\';
        return dir + file;
    }

    // The file is opened at every call, as Windows does, but parsed again only when its path or
    // bytes changed: reading a rules file of thousands of sections entry by entry would
    // otherwise parse, or copy, the whole file once per entry.
    const IniText* Load(const std::string& file) {
        if (file.empty()) return nullptr;
        const std::string path = Resolve(file);
        SimFiles::ContentView view;
        if (!files_.View(path, view).ok) return nullptr;
        if (!parsed_ || parsedPath_ != path || parsedRevision_ != view.revision) {
            parsed_.emplace(*view.bytes);
            parsedPath_ = path;
            parsedRevision_ = view.revision;
        }
        return &*parsed_;
    }

    // The current text of a file about to be written; an absent file is empty. nullopt when
    // the write would be refused.
    std::optional<IniText> LoadForWrite(const std::string& path) {
        if (path.empty()) return std::nullopt;
        auto attributes = files_.Attributes(path);
        if (attributes && (*attributes & (kAttrReadOnly | kAttrDirectory))) return std::nullopt;
        std::string bytes;
        FileResult read = files_.ReadAll(path, bytes);
        if (!read.ok && read.error != kErrorFileNotFound) return std::nullopt;
        return IniText(read.ok ? bytes : std::string());
    }

    SimFiles& files_;
    std::optional<IniText> parsed_;
    std::string parsedPath_;
    std::uint64_t parsedRevision_ = 0;
};

}  // namespace

std::unique_ptr<Profile> MakeSimProfile(SimFiles& files) {
    return std::make_unique<SimProfileImpl>(files);
}

}  // namespace platform::sim

// MATCH: values below keys below keys. A key pattern of a few "*" parts over a key such as a
// class registry's CLSID (tens of thousands of subkeys) must cost one opening per key reached:
// the key listed for a "*" stays open while each subkey is opened below it, the fixed parts
// after the "*" joined to the subkey's name in the same opening, and the subkeys taken for "*"
// parts are counted against the rule's Limit.
#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <vector>

#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"
#include "core/engine/startup/RegistryText.h"
#include "core/engine/startup/follow/ClassServers.h"
#include "core/engine/startup/kinds/RegistryKind.h"

namespace zorvik {
namespace {

std::vector<std::string> KeyParts(const std::string& key) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = key.find('\\', start);
        parts.push_back(key.substr(start, slash == std::string::npos ? slash : slash - start));
        if (slash == std::string::npos) return parts;
        start = slash + 1;
    }
}

std::string Below(const std::string& path, const std::string& part) {
    return path.empty() ? part : path + "\\" + part;
}

// Whether the text is a path (quoted or not) to a program of the key's own name.
bool NamesKeysOwnProgram(const std::string& text, const std::string& keyName) {
    std::string path = text;
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = path.substr(1, path.size() - 2);
    return AsciiLower(ProgramFileNameOf(path)) == AsciiLower(keyName);
}

class KeyPatternWalk {
public:
    KeyPatternWalk(const ScanRule& rule, platform::RootKey root, PlaceReading& reading)
        : rule_(rule),
          root_(root),
          reading_(reading),
          reg_(reading.sys().registry()),
          parts_(KeyParts(rule.key)),
          limit_(MatchLimit(rule)),
          otherProgramOnly_(rule.Value(kOtherProgramKey) == "1") {}

    void Run() { Walk(0, {}, {}, 0); }

private:
    // Follows the parts from index on, from the key path (opened as base, 0 for the root) down
    // through below; false once the limit stops the walk.
    bool Walk(platform::Registry::Handle base, std::string path, std::string below,
              std::size_t index) {
        while (index < parts_.size() && parts_[index] != kAnySubkeyPart) {
            path = Below(path, parts_[index]);
            below = Below(below, parts_[index++]);
        }
        const platform::RegKey key =
            base ? platform::OpenKeyBelow(reg_, base, below, platform::KeyAccess::Read)
                 : platform::OpenKey(reg_, root_, below, platform::KeyAccess::Read);
        if (!key) return true;
        if (index == parts_.size()) {
            ReadValues(key.get(), path);
            return true;
        }
        for (const std::string& subKey : reg_.SubKeyNames(key.get())) {
            if (visited_ >= limit_) return false;
            ++visited_;
            if (!Walk(key.get(), Below(path, subKey), subKey, index + 1)) return false;
        }
        return true;
    }

    void ReadValues(platform::Registry::Handle key, const std::string& path) {
        const std::string keyName = path.substr(path.rfind('\\') + 1);
        std::optional<std::uint32_t> spot;
        auto read = [&](const std::string& valueName) {
            const std::optional<platform::RegValue> value = reg_.Query(key, valueName);
            if (!value) return;
            for (const std::string& text : ValueTexts(*value)) {
                if (text.empty()) continue;
                if (otherProgramOnly_ && NamesKeysOwnProgram(text, keyName)) continue;
                if (!spot) spot = reading_.AddSpot(StartupKind::Reg, rule_.root, path);
                reading_.AddText(*spot, text, valueName);
            }
        };
        if (rule_.name == kEveryValueName) {
            for (const std::string& valueName : reg_.ValueNames(key)) read(valueName);
        } else {
            read(rule_.name);
        }
        // A key named by a class id (an AMSI provider's) stands for that class.
        if (reading_.FollowsClasses() && IsClassId(keyName)) {
            if (!spot) spot = reading_.AddSpot(StartupKind::Reg, rule_.root, path);
            reading_.AddClassServers(*spot, keyName, {});
        }
    }

    const ScanRule& rule_;
    const platform::RootKey root_;
    PlaceReading& reading_;
    platform::Registry& reg_;
    const std::vector<std::string> parts_;
    const std::uint64_t limit_;
    const bool otherProgramOnly_;
    std::uint64_t visited_ = 0;
};

}  // namespace

bool HasAnySubkeyPart(const std::string& key) {
    const std::vector<std::string> parts = KeyParts(key);
    return std::find(parts.begin(), parts.end(), kAnySubkeyPart) != parts.end();
}

std::uint64_t MatchLimit(const ScanRule& rule) {
    const std::string text = rule.Value(kLimitKey);
    const char* const end = text.data() + text.size();
    std::uint64_t limit = 0;
    const auto [stop, error] = std::from_chars(text.data(), end, limit);
    // No digits, a sign, or anything after them.
    if (text.empty() || stop != end) return kDefaultMatchLimit;
    if (error == std::errc::result_out_of_range) return std::numeric_limits<std::uint64_t>::max();
    return limit;
}

void ReadMatchPlaces(const ScanRule& rule, platform::RootKey root, PlaceReading& reading) {
    KeyPatternWalk(rule, root, reading).Run();
}

}  // namespace zorvik

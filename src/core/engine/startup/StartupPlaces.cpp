#include "core/engine/startup/StartupPlaces.h"

#include <new>
#include <optional>

#include "core/base/AsciiLower.h"
#include "core/base/FixedTexts.h"
#include "core/base/TextLines.h"
#include "core/base/untFunc.h"
#include "core/engine/startup/RegistryText.h"
#include "core/engine/startup/ScanRules.h"
#include "core/engine/untScan.h"

namespace zorvik {
namespace {

class PlaceReader {
public:
    explicit PlaceReader(platform::System& sys) : sys_(sys) {}

    void Read(const ScanRule& rule) {
        if (rule.type == "REG") ReadRegistry(rule);
        else if (rule.type == "INI") ReadProfile(rule);
        else if (rule.type == "FOL") ReadFolder(rule);
        else if (rule.type == "FIL") ReadTextFile(rule);
    }

    StartupPlaces Take() { return std::move(places_); }

private:
    std::uint32_t AddSpot(StartupList list, std::string where, std::string key = {},
                          std::string ident = {}) {
        places_.spots.push_back({list, std::move(where), std::move(key), std::move(ident)});
        return static_cast<std::uint32_t>(places_.spots.size() - 1);
    }

    void AddText(std::uint32_t spot, const std::string& text, std::string valueName = {}) {
        if (text.empty()) return;
        places_.texts.push_back({spot, std::move(valueName), AsciiLower(text)});
    }

    void ReadRegistry(const ScanRule& rule) {
        const platform::RootKey root = RootKeyFromName(rule.root);
        if (root == platform::RootKey::None) return;
        platform::Registry& reg = sys_.registry();
        if (rule.action == "CHECK") {
            platform::RegKey key = platform::OpenKey(reg, root, rule.key, platform::KeyAccess::Read);
            if (!key) return;
            if (auto text = ReadTextValue(reg, key.get(), rule.name))
                AddText(AddSpot(StartupList::Reg, rule.root, rule.key), *text, rule.name);
        } else if (rule.action == "ENUM") {
            ReadValues(rule.root, root, rule.key);
        } else if (rule.action == "ENUM2") {
            std::vector<std::string> subKeys;
            {
                platform::RegKey key =
                    platform::OpenKey(reg, root, rule.key, platform::KeyAccess::Read);
                if (!key) return;
                subKeys = reg.SubKeyNames(key.get());
            }
            for (const std::string& subKey : subKeys)
                ReadValues(rule.root, root, rule.key + "\\" + subKey);
        }
    }

    // Every text value of one key; values of other types are passed over.
    void ReadValues(const std::string& rootName, platform::RootKey root, const std::string& path) {
        platform::Registry& reg = sys_.registry();
        platform::RegKey key = platform::OpenKey(reg, root, path, platform::KeyAccess::Read);
        if (!key) return;
        std::optional<std::uint32_t> spot;
        for (const std::string& valueName : reg.ValueNames(key.get())) {
            auto text = ReadTextValue(reg, key.get(), valueName);
            if (!text || text->empty()) continue;
            if (!spot) spot = AddSpot(StartupList::Reg, rootName, path);
            AddText(*spot, *text, valueName);
        }
    }

    void ReadProfile(const ScanRule& rule) {
        // Without a file, section and entry there is nothing to read; an empty name would
        // otherwise ask the profile reader for lists rather than an entry.
        if (rule.name.empty() || rule.section.empty() || rule.ident.empty()) return;
        const std::string text = sys_.profile().ReadString(rule.name, rule.section, rule.ident, "");
        if (text.empty()) return;
        AddText(AddSpot(StartupList::Ini, rule.name, rule.section, rule.ident), text);
    }

    // The accounts are listed at the first FOL rule and kept for the rest of this scan only.
    const StrAr& Accounts() {
        if (!accounts_) {
            accounts_.emplace();
            GetUserAccounts(sys_, *accounts_);
        }
        return *accounts_;
    }

    void ReadFolder(const ScanRule& rule) {
        const std::string base = GetWindowsDrive(sys_) + rule.path;
        for (const std::string& account : Accounts()) {
            const std::string folder = ReplaceAll(base, kUserPlaceholder, account);
            if (!PathExists(sys_, folder)) continue;
            auto entries = sys_.files().List(folder + "\\*");
            if (!entries) continue;
            const std::uint32_t spot = AddSpot(StartupList::Fol, folder);
            for (const platform::FindEntry& entry : *entries) {
                // Passes over "." and ".." and every other name that begins with a dot.
                if (entry.name.empty() || entry.name[0] == '.') continue;
                AddText(spot, entry.name, entry.name);
            }
        }
    }

    void ReadTextFile(const ScanRule& rule) {
        const std::string file = GetWindowsDrive(sys_) + rule.path;
        if (!PathExists(sys_, file)) return;
        std::string bytes;
        // A folder, a file another program holds locked or one too large to be a start-up list
        // gives no texts; the scan goes on, also when memory runs short.
        try {
            if (!sys_.files().ReadAll(file, bytes).ok) return;
        } catch (const std::bad_alloc&) {
            return;
        }
        const std::uint32_t spot = AddSpot(StartupList::Fil, file);
        for (const std::string& line : SplitTextLines(bytes)) AddText(spot, line);
    }

    platform::System& sys_;
    StartupPlaces places_;
    std::optional<StrAr> accounts_;
};

}  // namespace

StartupPlaces ReadStartupPlaces(platform::System& sys) {
    PlaceReader reader(sys);
    for (const ScanRule& rule : ReadScanRules(sys)) reader.Read(rule);
    return reader.Take();
}

void AppendStartupHit(const StartupPlaces& places, const StartupText& text, bool disabled,
                      ProcInfo& findings) {
    const StartupSpot& spot = places.spots.at(text.spot);
    switch (spot.list) {
        case StartupList::Reg:
            findings.RegList.push_back({spot.where, spot.key, text.valueName, disabled});
            break;
        case StartupList::Ini:
            findings.IniList.push_back({spot.where, spot.key, spot.ident, disabled});
            break;
        case StartupList::Fol:
            findings.FolList.push_back({spot.where, disabled, text.valueName});
            break;
        case StartupList::Fil:
            findings.FilList.push_back({spot.where, disabled, {}});
            break;
    }
}

}  // namespace zorvik

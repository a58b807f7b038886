#pragma once
// What a scan reads of Settings.ini beside the program, for a scan without the windows: the
// trusted list and "Ignore Safe Start ups". The file is only read, never written.
#include <string>
#include <vector>

#include "core/engine/ScanOptions.h"
#include "core/engine/TrustedList.h"
#include "platform/System.h"

namespace zorvik {

class SavedScanSettings : public ScanOptions, public TrustedList {
public:
    bool IgnoreSafe() const override { return ignoreSafe; }
    std::size_t Count() const override { return trusted.size(); }
    std::string Entry(std::size_t index) const override { return trusted.at(index); }
    // Kept for this run only.
    void Append(const std::string& entry) override { trusted.push_back(entry); }

    std::string file;    // where the settings were looked for
    bool found = false;  // whether that file exists
    bool ignoreSafe = false;
    std::vector<std::string> trusted;
};

// The settings file's section "Trusted" (every key's value, keys in file order, whatever their
// names) and "Core"/"IgnoreSafe" read as the window reads them (ReadSettingsBool: decimal, or
// hexadecimal after "0x"; anything else counts as 0), any value but 0 being true. No file:
// nothing trusted, off.
SavedScanSettings ReadSavedScanSettings(platform::System& sys);

}  // namespace zorvik

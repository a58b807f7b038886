#pragma once
// Shared set-up for the scan engine's tests: a simulated system, the rules file beside the
// simulated program, switchable options and a trusted list held in a vector.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/engine/ScanOptions.h"
#include "core/engine/TrustedList.h"
#include "core/engine/untRecord.h"
#include "core/engine/untScan.h"
#include "platform/sim/system/SimSystem.h"

namespace scantest {

inline const std::string kRulesPath = "C:\\Zorvik\\Scan.ini";
inline const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class SwitchOptions : public zorvik::ScanOptions {
public:
    bool ignoreSafe = false;
    mutable int reads = 0;
    bool IgnoreSafe() const override { ++reads; return ignoreSafe; }
};

class VectorTrustedList : public zorvik::TrustedList {
public:
    std::vector<std::string> entries;
    std::size_t Count() const override { return entries.size(); }
    std::string Entry(std::size_t index) const override { return entries.at(index); }
    void Append(const std::string& entry) override { entries.push_back(entry); }
};

// Sections of a rules file, one per rule.
inline std::string RegRule(const std::string& section, const std::string& root,
                           const std::string& key, const std::string& action,
                           const std::string& name = "") {
    std::string text = "[" + section + "]\r\nType=REG\r\nRoot=" + root + "\r\nKey=" + key +
                       "\r\nAction=" + action + "\r\n";
    if (!name.empty()) text += "Name=" + name + "\r\n";
    return text;
}
inline std::string RunRule(const std::string& section = "Run") {
    return RegRule(section, "HKEY_CURRENT_USER", kRunKey, "ENUM");
}
inline std::string IniRule(const std::string& section, const std::string& file,
                           const std::string& iniSection, const std::string& ident) {
    return "[" + section + "]\r\nType=INI\r\nName=" + file + "\r\nSection=" + iniSection +
           "\r\nIdent=" + ident + "\r\n";
}
inline std::string PathRule(const std::string& section, const std::string& type,
                            const std::string& path) {
    return "[" + section + "]\r\nType=" + type + "\r\nPath=" + path + "\r\n";
}

struct SearchResult {
    bool listed = false;
    zorvik::ProcInfo info;
    std::string details;
    int hits() const {
        return static_cast<int>(info.RegList.size() + info.IniList.size() + info.FolList.size() +
                                info.FilList.size());
    }
};

class ScanTest : public ::testing::Test {
protected:
    platform::sim::SimSystem sys;
    SwitchOptions options;

    void WriteRules(const std::string& text) { sys.fs().AddFile(kRulesPath, text); }

    void PutRun(const std::string& name, const std::string& command) {
        sys.reg().PutString(platform::RootKey::CurrentUser, kRunKey, name, command);
    }

    SearchResult Search(const std::string& programFileName, const std::string& shortFileName = "",
                        const std::string& details = "Possible Bot Process, ") {
        SearchResult result;
        result.details = details;
        result.listed = zorvik::FindStartups(sys, options, programFileName, shortFileName,
                                             result.info, result.details);
        return result;
    }
};

inline std::string Detected(int hits, const std::string& prefix = "Possible Bot Process, ") {
    return prefix + std::to_string(hits) + " Start up\\s detected";
}

}  // namespace scantest

// The start-up search and the Active Setup check against the real registry, profile files,
// folders and text files. The rules file beside this program is replaced for each test and
// put back afterwards, since other tests read the shipped one.
#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SavedRulesFile.h"
#include "core/base/AsciiLower.h"
#include "core/engine/startup/ScanRules.h"
#include "core/base/untFunc.h"
#include "core/engine/untScan.h"
#include "platform/System.h"
#include "platform/win32/system/ScopedHandle.h"
#include "platform/win32/WindowsApi.h"

namespace {

using platform::RegType;
using platform::RootKey;

const char* const kProgram = "zorvikbot.exe";
const std::string kComponents = "SOFTWARE\\Microsoft\\Active Setup\\Installed Components";

class FixedOptions : public zorvik::ScanOptions {
public:
    bool ignoreSafe = false;
    bool IgnoreSafe() const override { return ignoreSafe; }
};

class NoTrust : public zorvik::TrustedList {
public:
    std::vector<std::string> entries;
    std::size_t Count() const override { return entries.size(); }
    std::string Entry(std::size_t index) const override { return entries.at(index); }
    void Append(const std::string& entry) override { entries.push_back(entry); }
};

class ScanWin32Test : public ::testing::Test {
protected:
    void SetUp() override {
        sys_ = platform::CreateSystem();
        const std::string pid = std::to_string(::GetCurrentProcessId());
        key_ = "Software\\ZorvikScanTest-" + pid;
        component_ = "ZorvikScanTest-" + pid;

        drive_ = zorvik::GetWindowsDrive(*sys_);
        ASSERT_FALSE(drive_.empty());
        const std::string temp = Files().TempDirectory();
        if (zorvik::AsciiLower(temp.substr(0, drive_.size())) != zorvik::AsciiLower(drive_))
            GTEST_SKIP() << "the temporary folder " << temp << " is not on the Windows drive";
        dir_ = temp + "ZorvikScan-" + pid;
        ASSERT_TRUE(Files().CreateDirectory(dir_)) << dir_;
        relativeDir_ = dir_.substr(drive_.size());

        rules_.emplace(*sys_);
    }

    void TearDown() override {
        if (!sys_) return;
        rules_.reset();
        Reg().DeleteTree(RootKey::CurrentUser, key_);
        Reg().DeleteTree(RootKey::LocalMachine, kComponents + "\\" + component_);
        Reg().DeleteTree(RootKey::LocalMachine, kComponents + "\\" + component_ + "-b");
        Reg().DeleteTree(RootKey::LocalMachine, kComponents + "\\" + component_ + "-c");
        if (!dir_.empty()) RemoveTree(dir_);
    }

    platform::Files& Files() { return sys_->files(); }
    platform::Registry& Reg() { return sys_->registry(); }

    void RemoveTree(const std::string& path) {
        if (auto entries = Files().List(path + "\\*")) {
            for (const auto& entry : *entries) {
                if (entry.name == "." || entry.name == "..") continue;
                const std::string child = path + "\\" + entry.name;
                if (entry.attributes & platform::kAttrDirectory) RemoveTree(child);
                else Files().Delete(child);
            }
        }
        Files().RemoveDirectory(path);
    }

    void WriteRules(const std::string& text) {
        ASSERT_TRUE(Files().WriteAll(rules_->Path(), text).ok) << rules_->Path();
    }

    void Put(const std::string& subKey, const std::string& name, RegType type,
             const std::string& data, RootKey root = RootKey::CurrentUser) {
        platform::RegKey key = platform::CreateKey(Reg(), root, subKey);
        ASSERT_TRUE(key) << subKey;
        ASSERT_TRUE(Reg().Set(key.get(), name, {type, data})) << name;
    }
    void PutText(const std::string& subKey, const std::string& name, const std::string& text,
                 RootKey root = RootKey::CurrentUser) {
        Put(subKey, name, RegType::Sz, text + '\0', root);
    }

    void MakeFile(const std::string& path, const std::string& bytes) {
        ASSERT_TRUE(Files().WriteAll(path, bytes).ok) << path;
    }

    std::string RunRule() const {
        return "[Run]\r\nType=REG\r\nRoot=HKEY_CURRENT_USER\r\nKey=" + key_ +
               "\\Run\r\nAction=ENUM\r\n";
    }

    std::unique_ptr<platform::System> sys_;
    std::string key_, component_, drive_, dir_, relativeDir_;
    std::optional<wintest::SavedRulesFile> rules_;
    FixedOptions options_;
};

TEST_F(ScanWin32Test, FindsTheProgramInEveryKindOfPlace) {
    zorvik::StrAr accounts;
    zorvik::GetUserAccounts(*sys_, accounts);
    if (accounts.empty()) std::cout << "note: no user accounts listed, the folder rule finds nothing\n";

    WriteRules(
        "; scratch places of this test\r\n" + RunRule() +
        "[Shell]\r\nType=REG\r\nRoot=HKEY_CURRENT_USER\r\nKey=" + key_ +
        "\\Winlogon\r\nAction=CHECK\r\nName=Shell\r\n"
        "[Services]\r\nType=REG\r\nRoot=HKEY_CURRENT_USER\r\nKey=" + key_ +
        "\\Services\r\nAction=ENUM2\r\n"
        "[Profile]\r\nType=INI\r\nName=" + dir_ + "\\boot.ini\r\nSection=boot\r\nIdent=shell\r\n"
        "[Folder]\r\nType=FOL\r\nPath=" + relativeDir_ + "\\Users\\*USER*\\Startup\r\n"
        "[Folder as file]\r\nType=FIL\r\nPath=" + relativeDir_ + "\r\n"
        "[Locked file]\r\nType=FIL\r\nPath=" + relativeDir_ + "\\locked.bat\r\n"
        "[Batch]\r\nType=FIL\r\nPath=" + relativeDir_ + "\\start.bat\r\n"
        "[Skipped]\r\nType=reg\r\nRoot=HKEY_CURRENT_USER\r\nKey=" + key_ + "\\Run\r\nAction=ENUM\r\n");

    Put(key_ + "\\Run", "Planted", RegType::Dword, std::string("\x01\0\0\0", 4));
    PutText(key_ + "\\Run", "Bot", "C:\\Temp\\ZorvikBot.exe /s");
    PutText(key_ + "\\Run", "Other", "C:\\Temp\\other.exe");
    PutText(key_ + "\\Winlogon", "Shell", "explorer.exe zorvikbot.exe.bak");
    Put(key_ + "\\Services\\SvcA", "Start", RegType::Dword, std::string("\x02\0\0\0", 4));
    Put(key_ + "\\Services\\SvcA", "ImagePath", RegType::ExpandSz,
        std::string("%SystemRoot%\\zorvikbot.exe\0", 27));
    MakeFile(dir_ + "\\boot.ini", "[boot]\r\nshell = \"explorer.exe zorvikbot.exe\"\r\n");
    if (!accounts.empty()) {
        const std::string startup = dir_ + "\\Users\\" + accounts[0] + "\\Startup";
        ASSERT_TRUE(Files().CreateDirectory(dir_ + "\\Users"));
        ASSERT_TRUE(Files().CreateDirectory(dir_ + "\\Users\\" + accounts[0]));
        ASSERT_TRUE(Files().CreateDirectory(startup));
        MakeFile(startup + "\\zorvikbot.exe", "MZ");
        MakeFile(startup + "\\.zorvikbot.exe", "MZ");
    }
    MakeFile(dir_ + "\\start.bat",
             "@echo off\r\nstart zorvikbot.exe\r\nrem zorvikbot.exe.bak\nstill the same line\r\n"
             "\x1Azorvikbot.exe\r\n");
    MakeFile(dir_ + "\\locked.bat", "zorvikbot.exe\r\n");
    platform::win32::UniqueHandle lock(::CreateFileA((dir_ + "\\locked.bat").c_str(), GENERIC_READ, 0,
                                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                     nullptr));
    ASSERT_TRUE(lock);

    zorvik::ProcInfo info;
    std::string details = "Possible Bot Process, ";
    const bool listed = zorvik::FindStartups(*sys_, options_, kProgram, "", info, details);

    EXPECT_TRUE(listed);
    ASSERT_EQ(info.RegList.size(), 3u);
    EXPECT_EQ(info.RegList[0].Key, key_ + "\\Run");
    EXPECT_EQ(info.RegList[0].Name, "Bot");
    EXPECT_FALSE(info.RegList[0].Disabled);
    EXPECT_EQ(info.RegList[1].Name, "Shell");
    EXPECT_TRUE(info.RegList[1].Disabled);
    EXPECT_EQ(info.RegList[2].Key, key_ + "\\Services\\SvcA");
    EXPECT_EQ(info.RegList[2].Name, "ImagePath");

    ASSERT_EQ(info.IniList.size(), 1u);
    EXPECT_EQ(info.IniList[0].Ident, "shell");
    EXPECT_FALSE(info.IniList[0].Disabled);

    const std::size_t folderHits = accounts.empty() ? 0 : 1;
    ASSERT_EQ(info.FolList.size(), folderHits);
    if (folderHits) {
        EXPECT_EQ(info.FolList[0].Path, dir_ + "\\Users\\" + accounts[0] + "\\Startup");
    }

    // The locked file and the folder give nothing; the batch file gives two lines, the second
    // carrying ".bak" after a line feed that does not end it.
    ASSERT_EQ(info.FilList.size(), 2u);
    EXPECT_EQ(info.FilList[0].Path, dir_ + "\\start.bat");
    EXPECT_FALSE(info.FilList[0].Disabled);
    EXPECT_TRUE(info.FilList[1].Disabled);

    EXPECT_EQ(details, "Possible Bot Process, " + std::to_string(6 + folderHits) +
                           " Start up\\s detected");
}

TEST_F(ScanWin32Test, RulesFileDeletedAndRestoredBetweenSearches) {
    WriteRules(RunRule());
    PutText(key_ + "\\Run", "Bot", "zorvikbot.exe.bak");
    auto search = [&](bool ignoreSafe) {
        options_.ignoreSafe = ignoreSafe;
        zorvik::ProcInfo info;
        std::string details;
        const bool listed = zorvik::FindStartups(*sys_, options_, kProgram, "", info, details);
        return std::make_pair(listed, details);
    };

    EXPECT_EQ(search(false), std::make_pair(true, std::string("1 Start up\\s detected")));
    EXPECT_EQ(search(true), std::make_pair(false, std::string("1 Start up\\s detected")));
    ASSERT_TRUE(Files().Delete(rules_->Path()));
    EXPECT_EQ(search(false), std::make_pair(false, std::string("0 Start up\\s detected")));
    WriteRules(RunRule());
    EXPECT_EQ(search(false), std::make_pair(true, std::string("1 Start up\\s detected")));
}

TEST_F(ScanWin32Test, ActiveSetupStubStartedWithWindowsIsListed) {
    const std::string stubFile = dir_ + "\\zorvikbot.exe";
    MakeFile(stubFile, "MZ");
    MakeFile(stubFile + ".bak", "MZ");
    const std::string component = kComponents + "\\" + component_;
    {
        platform::RegKey probe = platform::CreateKey(Reg(), RootKey::LocalMachine, component);
        if (!probe) GTEST_SKIP() << "needs rights to write under HKEY_LOCAL_MACHINE";
    }
    PutText(component, "StubPath", stubFile + ".bak /install", RootKey::LocalMachine);
    PutText(component + "-b", "StubPath", stubFile + " /install", RootKey::LocalMachine);
    PutText(component + "-b", "IsInstalled", "", RootKey::LocalMachine);
    Put(component + "-c", "StubPath", RegType::Binary, stubFile + " /install", RootKey::LocalMachine);
    WriteRules(RunRule());
    PutText(key_ + "\\Run", "Loader", stubFile + ".bak /install");

    NoTrust trusted;
    zorvik::ProcessList list;
    EXPECT_TRUE(zorvik::CheckActiveSetup(*sys_, options_, trusted, list));

    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(zorvik::AsciiLower(list.At(0).caption), zorvik::AsciiLower(zorvik::GetLongPath(*sys_, stubFile)));
    EXPECT_EQ(list.At(0).pid, "-1");
    EXPECT_EQ(list.At(0).details, "Probable Bot Loader, 1 Start up\\s detected");

    trusted.Append(zorvik::AsciiLower(stubFile) + ".BAK /INSTALL");
    list.Clear();
    EXPECT_FALSE(zorvik::CheckActiveSetup(*sys_, options_, trusted, list));
    EXPECT_EQ(list.Count(), 0u);
}

}  // namespace

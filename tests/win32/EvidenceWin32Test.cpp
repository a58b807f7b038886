// What a scan keeps beside a listed program, on the real system: the test agent (a program
// with its own version resource, owning a listener and a connection) started from a Run value
// that Task Manager's verdict disables, then listed with its sockets, its file's size, hash,
// version strings and signature; and a copy of it signed with a certificate of the build's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ListedAgentScan.h"
#include "SavedRulesFile.h"
#include "RunningAgent.h"
#include "core/base/AsciiLower.h"
#include "core/base/PathParts.h"
#include "core/base/untFunc.h"
#include "core/engine/process/ProgramEvidence.h"
#include "core/engine/process/ProgramFile.h"
#include "core/engine/ScanCycle.h"
#include "core/engine/startup/ScanRules.h"
#include "core/engine/startup/StartupApproval.h"
#include "core/engine/untScan.h"
#include "core/report/EvidenceReport.h"
#include "contract/WineQuirks.h"
#include "platform/System.h"
#include "platform/win32/system/ScopedHandle.h"
#include "platform/win32/WindowsApi.h"
#include "win32/agent/TestAgentVersion.h"

namespace {

using platform::RootKey;
using zorvik::AsciiLower;

const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kApprovedRun =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
const std::string kApprovedFolder =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";
const std::string kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr std::uint32_t kListen = 2;
constexpr std::uint32_t kEstablished = 5;

std::optional<std::string> ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class EvidenceWin32Test : public ::testing::Test {
protected:
    void SetUp() override {
        sys_ = platform::CreateSystem();
        const std::string pid = std::to_string(::GetCurrentProcessId());
        runValue_ = "ZorvikEvidenceTest-" + pid;
        buildDir_ = zorvik::ProgramFolderOf(sys_->files().OwnPath());
        dir_ = sys_->files().TempDirectory() + "ZorvikEvidence-" + pid;
        ASSERT_TRUE(sys_->files().CreateDirectory(dir_)) << dir_;
        agentPath_ = dir_ + "\\zvkevidence" + pid + ".exe";
        portsFile_ = dir_ + "\\ports.txt";
        rules_.emplace(*sys_);
    }

    void TearDown() override {
        agent_.reset();
        if (!sys_) return;
        rules_.reset();
        for (const std::string& key : {kRunKey, kApprovedRun}) {
            platform::RegKey open = platform::OpenKey(sys_->registry(), RootKey::CurrentUser, key,
                                                      platform::KeyAccess::All);
            if (open) sys_->registry().DeleteValue(open.get(), runValue_);
        }
        if (!folderEntry_.empty()) {
            platform::RegKey open = platform::OpenKey(sys_->registry(), RootKey::CurrentUser,
                                                      kApprovedFolder, platform::KeyAccess::All);
            if (open) sys_->registry().DeleteValue(open.get(), AsciiLower(folderEntry_).substr(folderEntry_.rfind('\\') + 1));
            sys_->files().Delete(folderEntry_);
        }
        for (const std::string& file : {agentPath_, portsFile_}) sys_->files().Delete(file);
        sys_->files().RemoveDirectory(dir_);
    }

    void PutValue(const std::string& key, platform::RegType type, const std::string& data) {
        platform::RegKey open = platform::CreateKey(sys_->registry(), RootKey::CurrentUser, key);
        ASSERT_TRUE(open) << key;
        ASSERT_TRUE(sys_->registry().Set(open.get(), runValue_, {type, data})) << key;
    }

    // Starts the copied agent and reads back the ports it owns: listener, then client end.
    void StartAgent() {
        agent_.emplace(agentPath_,
                       "ZorvikEvidenceReady-" + std::to_string(::GetCurrentProcessId()),
                       "\"" + portsFile_ + "\"");
        ASSERT_TRUE(agent_->Started()) << "the agent did not get its sockets up: " << agentPath_;
        agentPid_ = agent_->Pid();
        const std::optional<std::string> ports = ReadWhole(portsFile_);
        ASSERT_TRUE(ports.has_value()) << portsFile_;
        std::istringstream(*ports) >> listenPort_ >> clientPort_;
        ASSERT_NE(listenPort_, 0u);
        ASSERT_NE(clientPort_, 0u);
    }

    // Scans until the agent is listed and adds the evidence, for the listed rows only, as the
    // window and the console tool read it; the agent's row index, or -1.
    int ScanUntilListed(zorvik::ProcessList& list) {
        const int row = wintest::ScanUntilListed(*sys_, list, agentPath_);
        if (row >= 0) zorvik::AddEvidence(*sys_, list);
        return row;
    }

    bool HasSocket(const std::vector<platform::TcpRow>& sockets, std::uint32_t state,
                   unsigned localPort, unsigned remotePort) const {
        return std::any_of(sockets.begin(), sockets.end(), [&](const platform::TcpRow& s) {
            return s.state == state && s.localPort == localPort &&
                   (state == kListen || s.remotePort == remotePort) &&
                   s.family == platform::AddressFamily::V4 && s.localAddress[0] == 127;
        });
    }

    std::unique_ptr<platform::System> sys_;
    std::string runValue_, buildDir_, dir_, agentPath_, portsFile_, folderEntry_;
    std::optional<wintest::SavedRulesFile> rules_;
    std::optional<wintest::RunningAgent> agent_;
    std::uint32_t agentPid_ = 0;
    unsigned listenPort_ = 0, clientPort_ = 0;
    wintest::NoOptions options_;
};

TEST_F(EvidenceWin32Test, ListedAgentCarriesItsSocketsFileFactsAndTaskManagersVerdict) {
    const std::string source = buildDir_ + "zorvik_test_agent.exe";
    const std::optional<std::string> expectedHash = ReadWhole(buildDir_ + "zorvik_test_agent.sha256");
    ASSERT_TRUE(expectedHash.has_value()) << "the build writes the agent's hash beside it";
    ASSERT_TRUE(::CopyFileA(source.c_str(), agentPath_.c_str(), TRUE)) << source;
    ASSERT_TRUE(sys_->files().WriteAll(rules_->Path(), "[Run]\r\nType=REG\r\nRoot=HKEY_CURRENT_USER\r\nKey=" +
                                                       kRunKey + "\r\nAction=ENUM\r\n").ok);
    PutValue(kRunKey, platform::RegType::Sz, "\"" + agentPath_ + "\" /agent" + '\0');
    // Task Manager's "Disabled": an odd first byte, then the time it was disabled.
    PutValue(kApprovedRun, platform::RegType::Binary, std::string("\x03\0\0\0\x10\x20\x30\x40\x50\x60\x70\x01", 12));
    StartAgent();

    zorvik::ProcessList list;
    const int row = ScanUntilListed(list);

    ASSERT_GE(row, 0) << "the agent was never listed";
    const zorvik::ProcessRow& listed = list.At(static_cast<std::size_t>(row));
    EXPECT_EQ(listed.pid, std::to_string(agentPid_));
    EXPECT_TRUE(HasSocket(listed.sockets, kListen, listenPort_, 0)) << "listening on " << listenPort_;
    EXPECT_TRUE(HasSocket(listed.sockets, kEstablished, clientPort_, listenPort_)) << "client end";
    // Wine names no owner for an accepted socket (Windows does): its server end is not listed.
    if (!contract::RunningUnderWine()) {
        EXPECT_TRUE(HasSocket(listed.sockets, kEstablished, listenPort_, clientPort_))
            << "server end: " << zorvik::SocketsCell(listed.sockets);
    }
    for (const platform::TcpRow& socket : listed.sockets) EXPECT_EQ(socket.owningPid, agentPid_);

    ASSERT_TRUE(listed.file.has_value());
    const zorvik::ProgramFileFacts& file = *listed.file;
    ASSERT_TRUE(file.readable);
    const std::optional<std::string> bytes = ReadWhole(agentPath_);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(file.size, bytes->size());
    ASSERT_EQ(file.hashState, zorvik::HashState::Done);
    EXPECT_EQ(file.sha256 + "\n", *expectedHash);
    ASSERT_TRUE(file.version.has_value());
    EXPECT_TRUE(file.version->hasStringTable);
    EXPECT_EQ(file.version->companyName, ZORVIK_AGENT_COMPANY);
    EXPECT_EQ(file.version->fileDescription, ZORVIK_AGENT_DESCRIPTION);
    EXPECT_EQ(file.version->productName, ZORVIK_AGENT_PRODUCT);
    EXPECT_EQ(file.version->fileVersion, ZORVIK_AGENT_FILE_VERSION);
    EXPECT_EQ(file.version->originalFilename, ZORVIK_AGENT_ORIGINAL_NAME);
    EXPECT_EQ(zorvik::SignatureText(file.signature.state), "not signed");

    ASSERT_EQ(listed.approvals.size(), 1u);
    EXPECT_EQ(listed.approvals[0], zorvik::StartupApproval::Disabled);
    ASSERT_TRUE(listed.data);
    EXPECT_FALSE(listed.data->RegList.at(0).Disabled) << "the verdict never sets the hit's flag";
}

TEST_F(EvidenceWin32Test, CopySignedWithASelfMadeCertificateIsSignedNotTrusted) {
    const std::string signedCopy = buildDir_ + "zorvik_test_agent_signed.exe";
    if (::GetFileAttributesA(signedCopy.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const std::optional<std::string> note = ReadWhole(buildDir_ + "zorvik_test_agent_signed.skip");
        GTEST_SKIP() << (note ? *note : "no signed copy of the agent was built");
    }

    const std::optional<zorvik::ProgramFileFacts> file = zorvik::ReadProgramFileFacts(*sys_, signedCopy);

    ASSERT_TRUE(file.has_value());
    ASSERT_TRUE(file->readable);
    if (contract::RunningUnderWine()) {
        // Wine's WinVerifyTrust finds the signature but does not ask whether its root is
        // trusted: it calls a self-made certificate trusted. Only "signed" can be checked here.
        EXPECT_NE(file->signature.state, platform::SignatureState::NotSigned);
        std::cout << "note: under Wine the self-signed copy reads \""
                  << zorvik::SignatureSummary(file->signature) << "\"\n";
    } else {
        EXPECT_EQ(zorvik::SignatureText(file->signature.state), "signed, not trusted")
            << file->signature.reason;
        EXPECT_FALSE(file->signature.reason.empty());
    }
    EXPECT_EQ(file->signature.signer, ZORVIK_AGENT_SIGNER);
    ASSERT_TRUE(file->version.has_value()) << "signing keeps the version resource";
    EXPECT_EQ(file->version->companyName, ZORVIK_AGENT_COMPANY);
}

// An entry of the current user's start-up folder (where the shell says it is) that Task
// Manager disabled reads disabled, under the entry's own name.
TEST_F(EvidenceWin32Test, EntryOfTheUsersStartupFolderCarriesTaskManagersVerdict) {
    std::string startup;
    {
        platform::RegKey folders = platform::OpenKey(sys_->registry(), RootKey::CurrentUser,
                                                     kShellFolders, platform::KeyAccess::Read);
        const auto value = folders ? sys_->registry().Query(folders.get(), "Startup") : std::nullopt;
        if (value) startup = value->data.substr(0, value->data.find('\0'));
    }
    if (startup.empty()) GTEST_SKIP() << "the shell names no start-up folder of the current user";
    const std::string drive = zorvik::GetWindowsDrive(*sys_);
    if (AsciiLower(startup.substr(0, drive.size())) != AsciiLower(drive))
        GTEST_SKIP() << "the start-up folder " << startup << " is not on the Windows drive";
    zorvik::StrAr accounts;
    zorvik::GetUserAccounts(*sys_, accounts);
    if (accounts.empty()) GTEST_SKIP() << "no user accounts listed: a folder rule reads nothing";
    const std::string entryName = "ZvkEvidence" + std::to_string(::GetCurrentProcessId()) + ".exe";
    folderEntry_ = startup + "\\" + entryName;
    ASSERT_TRUE(sys_->files().WriteAll(folderEntry_, "MZ").ok) << folderEntry_;
    ASSERT_TRUE(sys_->files().WriteAll(rules_->Path(), "[Startup]\r\nType=FOL\r\nPath=" +
                                                       startup.substr(drive.size()) + "\r\n").ok);
    {
        platform::RegKey approved = platform::CreateKey(sys_->registry(), RootKey::CurrentUser, kApprovedFolder);
        ASSERT_TRUE(approved);
        ASSERT_TRUE(sys_->registry().Set(approved.get(), AsciiLower(entryName),
                                         {platform::RegType::Binary, std::string("\x03\0\0\0", 4)}));
    }

    zorvik::ProcInfo info;
    std::string details;
    zorvik::FindStartups(*sys_, options_, entryName, "", info, details);

    ASSERT_EQ(info.FolList.size(), accounts.size()) << "one hit for each account";
    const std::vector<zorvik::StartupApproval> approvals = zorvik::ApprovalsOf(*sys_, info);
    for (const zorvik::StartupApproval approval : approvals)
        EXPECT_EQ(approval, zorvik::StartupApproval::Disabled);
    EXPECT_FALSE(info.FolList[0].Disabled);
}

}  // namespace

// The facts about a listed program's file, as the simulated system scripts them.
#include <gtest/gtest.h>

#include <string>

#include "core/engine/process/ProgramFile.h"
#include "core/report/EvidenceReport.h"
#include "platform/sim/system/SimFileFacts.h"

namespace {

using platform::SignatureState;
using zorvik::HashState;

const std::string kPath = "C:\\Apps\\bot.exe";
const std::string kHash(64, 'a');

TEST(ProgramFileTest, EachFactAsScriptedAndItsReportText) {
    struct Case {
        const char* name;
        bool present;
        platform::sim::ScriptedFileFacts script;
        bool readable;
        HashState hash;
        bool hasVersion;
        bool hasStringTable;
        std::string signatureText;
    };
    platform::VersionStrings full{"Maker Ltd", "Bot agent", "Bot", "1.2.3.4", true};
    platform::VersionStrings noTable{};
    const Case cases[] = {
        {"hashed, versioned, not signed", true, {std::nullopt, kHash, full, {}}, true,
         HashState::Done, true, true, "not signed"},
        {"over 256 MiB", true, {zorvik::kMaxHashedFileSize + 1, kHash, std::nullopt, {}}, true,
         HashState::TooLarge, false, false, "not signed"},
        {"exactly 256 MiB is hashed", true, {zorvik::kMaxHashedFileSize, kHash, std::nullopt, {}},
         true, HashState::Done, false, false, "not signed"},
        {"no SHA-256 on the system", true, {std::nullopt, "", noTable, {}}, true,
         HashState::NotAvailable, true, false, "not signed"},
        {"signed, not trusted", true,
         {std::nullopt, kHash, std::nullopt, {SignatureState::NotTrusted, "root certificate not trusted", "Test Signer"}},
         true, HashState::Done, false, false, "signed, not trusted (root certificate not trusted)"},
        {"signed, trusted", true, {std::nullopt, kHash, std::nullopt, {SignatureState::Trusted, "", "Maker"}},
         true, HashState::Done, false, false, "signed, trusted"},
        {"vanished after the scan", false, {std::nullopt, kHash, full, {SignatureState::Trusted, "", "M"}},
         false, HashState::Unreadable, false, false, ""},
    };
    for (const Case& c : cases) {
        platform::sim::SimSystem sys;
        if (c.present) sys.fs().AddFile(kPath, "MZ");
        sys.facts().Script(kPath, c.script);

        const std::optional<zorvik::ProgramFileFacts> facts = zorvik::ReadProgramFileFacts(sys, kPath);

        ASSERT_TRUE(facts) << c.name;
        EXPECT_EQ(facts->readable, c.readable) << c.name;
        if (!c.readable) {
            EXPECT_EQ(zorvik::FileJson(facts), "{\"readable\": false}") << c.name;
            continue;
        }
        EXPECT_EQ(facts->size, c.script.size.value_or(2)) << c.name;
        EXPECT_EQ(facts->hashState, c.hash) << c.name;
        EXPECT_EQ(facts->sha256, c.hash == HashState::Done ? kHash : "") << c.name;
        EXPECT_EQ(facts->version.has_value(), c.hasVersion) << c.name;
        if (facts->version) {
            EXPECT_EQ(facts->version->hasStringTable, c.hasStringTable) << c.name;
            EXPECT_EQ(facts->version->companyName, c.hasStringTable ? "Maker Ltd" : "") << c.name;
        }
        EXPECT_EQ(zorvik::SignatureSummary(facts->signature), c.signatureText) << c.name;
        EXPECT_EQ(facts->signature.signer, c.script.signature.signer) << c.name;
    }
}

}  // namespace

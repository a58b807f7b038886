// WMI's permanent event consumers: what root\subscription holds is listed with what it runs.
// Wine has no such namespace: there the list is empty.
#include <gtest/gtest.h>

#include <vector>

#include "ContractEnv.h"
#include "WineQuirks.h"

namespace {

using platform::WmiConsumerKind;
using platform::WmiEventConsumer;

TEST(WmiContract, EventConsumersAreListedWithWhatTheyRun) {
    platform::Wmi* wmi = contract::env().System().wmi();
    ASSERT_NE(wmi, nullptr);
    const std::vector<WmiEventConsumer> given = {
        {WmiConsumerKind::CommandLine, "Updater", "C:\\Tools\\agent.exe -quiet",
         "C:\\Tools\\agent.exe", "", ""},
        {WmiConsumerKind::ActiveScript, "Beacon", "", "",
         "CreateObject(\"WScript.Shell\").Run \"C:\\Tools\\agent.exe\"", "C:\\Tools\\b.vbs"},
    };
    bool added = true;
    for (const WmiEventConsumer& consumer : given)
        added = contract::env().AddWmiEventConsumer(consumer) && added;

    const std::vector<WmiEventConsumer> listed = wmi->EventConsumers();
    if (!added) {
        if (!contract::RunningUnderWine()) GTEST_SKIP() << "this env writes no WMI consumers";
        EXPECT_TRUE(listed.empty()) << "Wine has no root\\subscription";
        return;
    }
    for (const WmiEventConsumer& consumer : given) {
        SCOPED_TRACE(consumer.name);
        const WmiEventConsumer* found = nullptr;
        for (const WmiEventConsumer& candidate : listed)
            if (candidate.name == consumer.name) found = &candidate;
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->kind, consumer.kind);
        EXPECT_EQ(found->commandLineTemplate, consumer.commandLineTemplate);
        EXPECT_EQ(found->executablePath, consumer.executablePath);
        EXPECT_EQ(found->scriptText, consumer.scriptText);
        EXPECT_EQ(found->scriptFileName, consumer.scriptFileName);
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/report/StartupReport.h"

namespace {

TEST(StartupReportTest, OneLinePerHitInListOrderWithItsState) {
    zorvik::ProcInfo info;
    info.FilList.push_back({"C:\\autoexec.bat", false, {}});
    info.FolList.push_back({"C:\\Users\\bob\\Startup", true, {}});
    info.IniList.push_back({"win.ini", "windows", "load", true});
    info.RegList.push_back({"HKEY_CURRENT_USER", "Software\\Run", "Prog", false});
    info.RegList.push_back({"HKEY_LOCAL_MACHINE", "Software\\Test", "", true});
    info.SvcList.push_back({"HKEY_LOCAL_MACHINE", "SYSTEM\\Services\\Bot", "Bot",
                            "Parameters\\ServiceDll", 4, true});
    info.TaskList.push_back({"\\Vendor\\Run", "C:\\WINDOWS\\System32\\Tasks\\Vendor\\Run",
                             "cmd.exe /c prog.exe", true});
    info.TaskList.push_back({"\\Nightly", "", "prog.exe -q", false});

    const std::vector<std::string> expected{
        "REG  HKEY_CURRENT_USER\\Software\\Run  value \"Prog\"  enabled",
        "REG  HKEY_LOCAL_MACHINE\\Software\\Test  (default value)  disabled",
        "INI  win.ini  [windows]  load  disabled",
        "FOL  C:\\Users\\bob\\Startup  disabled",
        "FIL  C:\\autoexec.bat  enabled",
        "SVC  HKEY_LOCAL_MACHINE\\SYSTEM\\Services\\Bot  value \"Parameters\\ServiceDll\"  "
        "start type disabled  disabled",
        "TASK  \\Vendor\\Run  file C:\\WINDOWS\\System32\\Tasks\\Vendor\\Run  cmd.exe /c prog.exe  "
        "disabled",
        "TASK  \\Nightly  (Task Scheduler)  prog.exe -q  enabled",
    };
    EXPECT_EQ(zorvik::DescribeHits(info), expected);
    EXPECT_TRUE(zorvik::DescribeHits(zorvik::ProcInfo{}).empty());
}

TEST(StartupReportTest, FileNamePartFollowsTheLastSeparator) {
    EXPECT_EQ(zorvik::FileNamePart("C:\\Tools\\prog.exe"), "prog.exe");
    EXPECT_EQ(zorvik::FileNamePart("C:\\PROGRA~1\\PROG~1.EXE"), "PROG~1.EXE");
    EXPECT_EQ(zorvik::FileNamePart("tools/prog.exe"), "prog.exe");
    EXPECT_EQ(zorvik::FileNamePart("prog.exe"), "prog.exe");
    EXPECT_EQ(zorvik::FileNamePart("C:\\Tools\\"), "");
    EXPECT_EQ(zorvik::FileNamePart(""), "");
}

}  // namespace

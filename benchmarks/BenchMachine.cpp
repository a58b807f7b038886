#include "BenchMachine.h"

#include <cstdint>

#include "platform/sim/autostart/SimTasks.h"
#include "unit/parse/TaskFileBuilder.h"

namespace bench {

namespace {

constexpr int kDefinitionFiles = 900;
constexpr int kJobFiles = 100;
constexpr int kTaskFolders = 60;

// A definition as Windows' own tasks hold them (about 4 KiB as the Task Scheduler writes it).
std::string TaskDefinition(int t, const std::string& path, const std::string& command,
                           const std::string& arguments) {
    const std::string dll = "$(@%SystemRoot%\\system32\\vendor" + std::to_string(t) + ".dll,-";
    return "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
           "<Task version=\"1.6\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
           "  <RegistrationInfo>\r\n"
           "    <Source>" + dll + "101)</Source>\r\n"
           "    <Author>" + dll + "102)</Author>\r\n"
           "    <Description>" + dll + "103)</Description>\r\n"
           "    <URI>" + path + "</URI>\r\n"
           "    <SecurityDescriptor>D:AI(A;;FA;;;BA)(A;;FA;;;SY)(A;;FRFX;;;LS)(A;;FR;;;AU)"
           "</SecurityDescriptor>\r\n"
           "  </RegistrationInfo>\r\n"
           "  <Principals>\r\n"
           "    <Principal id=\"LocalSystem\">\r\n"
           "      <UserId>S-1-5-18</UserId>\r\n"
           "      <RunLevel>HighestAvailable</RunLevel>\r\n"
           "    </Principal>\r\n"
           "  </Principals>\r\n"
           "  <Settings>\r\n"
           "    <DisallowStartIfOnBatteries>true</DisallowStartIfOnBatteries>\r\n"
           "    <StopIfGoingOnBatteries>true</StopIfGoingOnBatteries>\r\n"
           "    <ExecutionTimeLimit>PT72H</ExecutionTimeLimit>\r\n"
           "    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\r\n"
           "    <IdleSettings>\r\n"
           "      <Duration>PT10M</Duration>\r\n"
           "      <WaitTimeout>PT1H</WaitTimeout>\r\n"
           "      <StopOnIdleEnd>true</StopOnIdleEnd>\r\n"
           "      <RestartOnIdle>false</RestartOnIdle>\r\n"
           "    </IdleSettings>\r\n"
           "    <StartWhenAvailable>true</StartWhenAvailable>\r\n"
           "    <RunOnlyIfNetworkAvailable>false</RunOnlyIfNetworkAvailable>\r\n"
           "    <MaintenanceSettings>\r\n"
           "      <Period>P7D</Period>\r\n"
           "      <Deadline>P1M</Deadline>\r\n"
           "    </MaintenanceSettings>\r\n"
           "    <Hidden>" + (t % 7 == 0 ? "true" : "false") + "</Hidden>\r\n"
           "    <Priority>7</Priority>\r\n"
           "    <UseUnifiedSchedulingEngine>true</UseUnifiedSchedulingEngine>\r\n"
           "  </Settings>\r\n"
           "  <Triggers>\r\n"
           "    <CalendarTrigger>\r\n"
           "      <StartBoundary>2012-01-01T03:00:00</StartBoundary>\r\n"
           "      <ScheduleByWeek><DaysOfWeek><Sunday /></DaysOfWeek>"
           "<WeeksInterval>1</WeeksInterval></ScheduleByWeek>\r\n"
           "    </CalendarTrigger>\r\n"
           "    <LogonTrigger><Enabled>true</Enabled></LogonTrigger>\r\n"
           "  </Triggers>\r\n"
           "  <Actions Context=\"LocalSystem\">\r\n"
           "    <Exec>\r\n"
           "      <Command>" + command + "</Command>\r\n"
           "      <Arguments>" + arguments + "</Arguments>\r\n"
           "    </Exec>\r\n"
           "  </Actions>\r\n"
           "</Task>\r\n";
}

// Every 50th task runs a socket owner that nothing else starts (20 more rows); the others a
// program of their own.
std::string TaskProgram(int t) {
    return t % 50 == 0 ? ProgramPath(t / 50 * 10 + 5)
                       : "C:\\Program Files\\Vendor" + std::to_string(t) + "\\update.exe";
}

}  // namespace

void AddScheduledTasks(platform::sim::SimSystem& sys, bool listed) {
    for (int t = 0; t < kDefinitionFiles; ++t) {
        const std::string path = "\\Microsoft\\Windows\\Area" + std::to_string(t % kTaskFolders) +
                                 "\\Task " + std::to_string(t);
        sys.fs().AddFile("C:\\WINDOWS\\System32\\Tasks" + path,
                         parse_test::TaskFileBytes(TaskDefinition(t, path, TaskProgram(t),
                                                                  "/run " + std::to_string(t))));
        platform::ScheduledTask task;
        task.path = path;
        task.name = "Task " + std::to_string(t);
        task.hidden = t % 7 == 0;
        task.actions.push_back({TaskProgram(t), "/run " + std::to_string(t)});
        if (listed) sys.taskScheduler().Register(std::move(task));
    }
    for (int j = 0; j < kJobFiles; ++j) {
        const int t = kDefinitionFiles + j;
        const std::string name = "Job " + std::to_string(j);
        sys.fs().AddFile("C:\\WINDOWS\\Tasks\\" + name + ".job",
                         parse_test::JobBytes(0, TaskProgram(t), "-q"));
        platform::ScheduledTask item;
        item.path = "\\" + name + ".job";
        item.name = name;
        item.jobFile = true;
        item.actions.push_back({TaskProgram(t), "-q"});
        if (listed) sys.taskScheduler().Register(std::move(item));
    }
}


std::string ProgramPath(int p) { return "C:\\Programs\\prog" + std::to_string(p) + ".exe"; }

void AddSvchostServices(platform::sim::SimSystem& sys, int count, int descriptionLength) {
    for (int s = 0; s < count; ++s) {
        const std::string key = "SYSTEM\\CurrentControlSet\\Services\\Service" + std::to_string(s);
        sys.reg().PutString(platform::RootKey::LocalMachine, key, "ImagePath",
                            "C:\\WINDOWS\\system32\\svchost.exe -k group" + std::to_string(s));
        sys.reg().PutString(platform::RootKey::LocalMachine, key, "DisplayName",
                            "Service " + std::to_string(s));
        if (descriptionLength > 0) {
            sys.reg().PutString(platform::RootKey::LocalMachine, key, "Description",
                                std::string(static_cast<std::size_t>(descriptionLength), 'd') +
                                    std::to_string(s));
        }
    }
}

void AddSocketOwners(platform::sim::SimSystem& sys, int count,
                     const std::function<std::vector<std::string>(int)>& modulesOf) {
    for (int p = 0; p < count; ++p) {
        const auto pid = static_cast<std::uint32_t>(1000 + 4 * p);
        sys.fs().AddFile(ProgramPath(p), "MZ");
        platform::sim::SimProcess process;
        process.pid = pid;
        process.parentPid = 4;
        process.imagePath = ProgramPath(p);
        if (modulesOf) process.modules = modulesOf(p);
        sys.procs().AddProcess(process);
        sys.procs().AddSocket(pid, platform::kTcpStateListen, static_cast<std::uint16_t>(2000 + p));
        if (p % 10 == 0)
            sys.reg().PutString(platform::RootKey::CurrentUser, kRunKey, "Prog" + std::to_string(p),
                                ProgramPath(p));
    }
}

}  // namespace bench

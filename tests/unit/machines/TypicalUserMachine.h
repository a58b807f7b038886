#pragma once
// A typical user's machine on the simulated system: the fresh Windows 10 of FreshWindows10.h
// with what people install on it, each signed as its vendor signs it and started the way it
// starts itself: an office suite's click-to-run service, a sync client and a cloud-storage
// client, chat and meeting apps installed per user in AppData (Squirrel's Update.exe starting
// them, app-local copies of the C runtime and Direct3D compiler beside them), two browsers with
// their update services, update tasks and Run values, and a game launcher with its service.
// Every one owns sockets and starts with Windows: all are listed, none is a bot. Free of
// GoogleTest so that the benchmarks can use it too.
#include <cstdint>
#include <string>
#include <vector>

#include "unit/machines/FreshWindows10.h"

namespace machines {

inline const std::string kLocalAppData = kUserProfile + "\\AppData\\Local\\";
inline const std::string kRoamingAppData = kUserProfile + "\\AppData\\Roaming\\";

struct InstalledProgram {
    std::uint32_t pid;
    std::string path;
    std::string company;  // as the version resource names it
    std::string signer;   // the signing certificate's name
    // App-local libraries beside the program, named like files of the system folder and signed
    // by Microsoft, as the C runtime and Direct3D compiler ship.
    std::vector<std::string> appLocalLibraries;
    bool listens = false;
};

// Where each program is started from: a Run value, a service or a scheduled task.
enum class StartedBy { UserRun, MachineRun, Service, Task };

struct InstalledStart {
    StartedBy by;
    std::string name;     // the value, service or task
    std::string command;  // what it runs
};

struct InstalledApp {
    InstalledProgram program;
    std::vector<InstalledStart> starts;
};

inline const std::vector<InstalledApp>& InstalledApps() {
    const std::string pf = "C:\\Program Files\\";
    const std::string pf86 = "C:\\Program Files (x86)\\";
    static const std::vector<InstalledApp> apps = {
        {{5000, pf + "Common Files\\Microsoft Shared\\ClickToRun\\OfficeClickToRun.exe",
          "Microsoft Corporation", "Microsoft Corporation", {}, false},
         {{StartedBy::Service, "ClickToRunSvc",
           "\"" + pf + "Common Files\\Microsoft Shared\\ClickToRun\\OfficeClickToRun.exe\" "
                       "/service"}}},
        {{5100, pf + "Google\\Drive File Stream\\85.0.13.0\\GoogleDriveFS.exe", "Google LLC",
          "Google LLC", {"vcruntime140.dll"}, true},
         {{StartedBy::UserRun, "GoogleDriveFS",
           "\"" + pf + "Google\\Drive File Stream\\launch.bat\""},
          {StartedBy::UserRun, "GoogleDriveFS-Direct",
           "\"" + pf + "Google\\Drive File Stream\\85.0.13.0\\GoogleDriveFS.exe\" --startup"}}},
        {{5200, pf86 + "Dropbox\\Client\\Dropbox.exe", "Dropbox, Inc.", "Dropbox, Inc",
          {"msvcp140.dll", "vcruntime140.dll"}, true},
         {{StartedBy::MachineRun, "Dropbox",
           "\"" + pf86 + "Dropbox\\Client\\Dropbox.exe\" /systemstartup"}}},
        {{5300, kLocalAppData + "slack\\app-4.36.140\\slack.exe", "Slack Technologies Inc.",
          "Slack Technologies, LLC", {"d3dcompiler_47.dll"}, false},
         {{StartedBy::UserRun, "com.squirrel.slack.slack",
           kLocalAppData + "slack\\slack.exe --process-start-args --startup"}}},
        {{5400, kLocalAppData + "Discord\\app-1.0.9013\\Discord.exe", "Discord Inc.",
          "Discord Inc.", {"d3dcompiler_47.dll"}, false},
         {{StartedBy::UserRun, "Discord",
           kLocalAppData + "Discord\\Update.exe --processStart Discord.exe"}}},
        {{5500, kLocalAppData + "Microsoft\\Teams\\current\\Teams.exe", "Microsoft Corporation",
          "Microsoft Corporation", {"d3dcompiler_47.dll"}, false},
         {{StartedBy::UserRun, "com.squirrel.Teams.Teams",
           kLocalAppData + "Microsoft\\Teams\\Update.exe --processStart \"Teams.exe\" "
                           "--process-start-args \"--system-initiated\""}}},
        {{5600, kRoamingAppData + "Zoom\\bin\\Zoom.exe", "Zoom Video Communications, Inc.",
          "Zoom Video Communications, Inc.", {"msvcp140.dll", "vcruntime140.dll"}, true},
         {{StartedBy::UserRun, "ZoomAutoStart",
           "\"" + kRoamingAppData + "Zoom\\bin\\Zoom.exe\" --autostart"}}},
        {{5700, pf86 + "Google\\Update\\GoogleUpdate.exe", "Google LLC", "Google LLC", {}, false},
         {{StartedBy::Service, "gupdate", "\"" + pf86 + "Google\\Update\\GoogleUpdate.exe\" /svc"},
          {StartedBy::Task, "\\GoogleUpdateTaskMachineCore",
           pf86 + "Google\\Update\\GoogleUpdate.exe /c"}}},
        {{5800, pf + "Google\\Chrome\\Application\\chrome.exe", "Google LLC", "Google LLC", {},
          false},
         {{StartedBy::UserRun, "GoogleChromeAutoLaunch",
           "\"" + pf + "Google\\Chrome\\Application\\chrome.exe\" --no-startup-window"}}},
        {{5900, pf86 + "Microsoft\\EdgeUpdate\\MicrosoftEdgeUpdate.exe", "Microsoft Corporation",
          "Microsoft Corporation", {}, false},
         {{StartedBy::Service, "edgeupdate",
           "\"" + pf86 + "Microsoft\\EdgeUpdate\\MicrosoftEdgeUpdate.exe\" /svc"},
          {StartedBy::Task, "\\MicrosoftEdgeUpdateTaskMachineUA",
           pf86 + "Microsoft\\EdgeUpdate\\MicrosoftEdgeUpdate.exe /ua /installsource scheduler"}}},
        {{6000, pf86 + "Microsoft\\Edge\\Application\\msedge.exe", "Microsoft Corporation",
          "Microsoft Corporation", {}, false},
         {{StartedBy::UserRun, "MicrosoftEdgeAutoLaunch_0123456789ABCDEF",
           "\"" + pf86 + "Microsoft\\Edge\\Application\\msedge.exe\" --no-startup-window "
                         "--win-session-start"}}},
        {{6100, pf86 + "Steam\\steam.exe", "Valve Corporation", "Valve Corp.",
          {"d3dcompiler_46.dll"}, true},
         {{StartedBy::UserRun, "Steam", "\"" + pf86 + "Steam\\steam.exe\" -silent"}}},
        {{6200, pf86 + "Common Files\\Steam\\steamservice.exe", "Valve Corporation",
          "Valve Corp.", {}, false},
         {{StartedBy::Service, "Steam Client Service",
           "\"" + pf86 + "Common Files\\Steam\\steamservice.exe\" /RunAsService"}}},
    };
    return apps;
}

inline void SignedFile(SimSystem& sys, const std::string& path, const std::string& company,
                       const std::string& signer) {
    sys.fs().AddFile(path, "MZ");
    platform::sim::ScriptedFileFacts facts;
    const std::string name = path.substr(path.rfind('\\') + 1);
    facts.version = platform::VersionStrings{company, name, name, "1.0.0.0", true, name};
    facts.signature = {platform::SignatureState::Trusted, "", signer};
    sys.facts().Script(path, facts);
}

// A task definition as the Task Scheduler 2.0 writes it (ASCII here, which it reads too).
inline std::string TaskDefinition(const std::string& command) {
    const std::size_t blank = command.find(".exe ");
    const std::string program = blank == std::string::npos ? command : command.substr(0, blank + 4);
    const std::string arguments = blank == std::string::npos ? "" : command.substr(blank + 5);
    return "<?xml version=\"1.0\"?>\r\n<Task version=\"1.2\" "
           "xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
           "<Triggers><LogonTrigger><Enabled>true</Enabled></LogonTrigger></Triggers>\r\n"
           "<Settings><Enabled>true</Enabled></Settings>\r\n<Actions Context=\"Author\"><Exec>"
           "<Command>" + program + "</Command><Arguments>" + arguments +
           "</Arguments></Exec></Actions>\r\n</Task>\r\n";
}

inline void AddStart(SimSystem& sys, const InstalledStart& start) {
    const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    switch (start.by) {
        case StartedBy::UserRun:
            sys.reg().PutString(RootKey::CurrentUser, run, start.name, start.command);
            break;
        case StartedBy::MachineRun:
            sys.reg().PutString(RootKey::LocalMachine, run, start.name, start.command);
            break;
        case StartedBy::Service: {
            const std::string key = "SYSTEM\\CurrentControlSet\\Services\\" + start.name;
            sys.reg().PutString(RootKey::LocalMachine, key, "ImagePath", start.command);
            PutDword(sys, key, "Start", 2);
            break;
        }
        case StartedBy::Task:
            sys.fs().AddFile(kSystem32 + "Tasks" + start.name, TaskDefinition(start.command));
            break;
    }
}

inline void BuildTypicalUserMachine(SimSystem& sys, const std::string& rules) {
    BuildFreshWindows10(sys, rules);
    std::uint16_t clientPort = 51000;
    for (const InstalledApp& app : InstalledApps()) {
        const InstalledProgram& program = app.program;
        SignedFile(sys, program.path, program.company, program.signer);
        platform::sim::SimProcess process;
        process.pid = program.pid;
        process.parentPid = 3000;
        process.imagePath = program.path;
        for (const std::string& name : CommonModules()) process.modules.push_back(kSystem32 + name);
        const std::string folder = program.path.substr(0, program.path.rfind('\\') + 1);
        for (const std::string& library : program.appLocalLibraries) {
            SystemFile(sys, library);
            SignedFile(sys, folder + library, "Microsoft Corporation", "Microsoft Corporation");
            process.modules.push_back(folder + library);
        }
        sys.procs().AddProcess(process);
        if (program.listens) sys.procs().AddSocket(process.pid, platform::kTcpStateListen, clientPort++);
        platform::TcpRow row;
        row.state = platform::kTcpStateEstab;
        row.owningPid = process.pid;
        row.localAddress = {192, 168, 1, 20};
        row.localPort = clientPort++;
        row.remoteAddress = {142, 250, 185, 78};
        row.remotePort = 443;
        sys.procs().AddTcpRow(row);
        for (const InstalledStart& start : app.starts) AddStart(sys, start);
    }
    // The launcher scripts and Squirrel's update programs the Run values start.
    sys.fs().AddFile("C:\\Program Files\\Google\\Drive File Stream\\launch.bat",
                     "@echo off\r\nstart \"\" \"%~dp085.0.13.0\\GoogleDriveFS.exe\" %*\r\n");
    SignedFile(sys, kLocalAppData + "slack\\slack.exe", "Slack Technologies Inc.",
               "Slack Technologies, LLC");
    SignedFile(sys, kLocalAppData + "Discord\\Update.exe", "Discord Inc.", "Discord Inc.");
    SignedFile(sys, kLocalAppData + "Microsoft\\Teams\\Update.exe", "Microsoft Corporation",
               "Microsoft Corporation");
}

}  // namespace machines

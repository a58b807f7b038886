#pragma once
// A model of a freshly installed Windows 10 on the simulated system, with nothing else on it:
// Windows' own services (svchost.exe hosting service DLLs), lsass.exe with its packages,
// spoolsv.exe with its monitors and providers, Explorer, Defender, OneDrive and Edge with their
// connections, every file of the system folder carrying its own name as original file name,
// and the values Windows itself keeps in the places the rules search (Winlogon, Run, LSA,
// print, time and netsh DLLs, Active Setup, the accessibility programs, BootExecute, App Paths). What a
// scan lists here is noise: none of it is a bot. Free of GoogleTest so that the benchmarks can
// use it too.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Processes.h"
#include "platform/sim/system/SimFileFacts.h"
#include "platform/sim/system/SimSystem.h"

namespace machines {

using platform::RegType;
using platform::RootKey;
using platform::sim::SimSystem;

inline const std::string kWindows = "C:\\Windows";
inline const std::string kSystem32 = "C:\\Windows\\System32\\";
inline const std::string kUser = "user";
inline const std::string kUserProfile = "C:\\Users\\user";
inline const std::string kEdge =
    "C:\\Program Files (x86)\\Microsoft\\Edge\\Application\\msedge.exe";
inline const std::string kOneDriveShellExtension =
    kUserProfile + "\\AppData\\Local\\Microsoft\\OneDrive\\23.038.0219.0001\\amd64\\"
                   "FileSyncShell64.dll";

struct WindowsProcess {
    std::uint32_t pid;
    std::string path;
    std::vector<std::string> ownModules;  // file names in the system folder, beside the usual
    std::vector<std::uint16_t> listenPorts;
    bool connected = false;  // an established connection to the internet
};

// A text list value (REG_MULTI_SZ): each string ends in a zero byte, the list in one more.
inline void PutList(SimSystem& sys, const std::string& key, const std::string& name,
                    const std::vector<std::string>& strings) {
    std::string data;
    for (const std::string& text : strings) data += text + '\0';
    sys.reg().Put(RootKey::LocalMachine, key, name, RegType::MultiSz, data + '\0');
}

inline void PutDword(SimSystem& sys, const std::string& key, const std::string& name,
                     std::uint32_t value) {
    std::string data(4, '\0');
    for (int i = 0; i < 4; ++i) data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    sys.reg().Put(RootKey::LocalMachine, key, name, RegType::Dword, data);
}

// The signer of Windows' own files, which the system's catalogs hold.
inline const platform::SignatureVerdict kWindowsCatalog{platform::SignatureState::Trusted, "",
                                                        "Microsoft Windows"};

// A file Windows ships, with the version information Windows gives its files: its own name as
// original file name (programs with ".mui", as many of Windows' own carry it), signed through
// the system's catalogs.
inline std::string WindowsFile(SimSystem& sys, const std::string& path) {
    if (sys.fs().Exists(path)) return path;
    sys.fs().AddFile(path, "MZ");
    const std::string name = path.substr(path.rfind('\\') + 1);
    platform::sim::ScriptedFileFacts facts;
    facts.version.emplace();
    facts.version->companyName = "Microsoft Corporation";
    const bool program = name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0;
    facts.version->originalFilename = program ? name + ".mui" : name;
    facts.catalog = kWindowsCatalog;
    sys.facts().Script(path, facts);
    return path;
}

// A file of the system folder.
inline std::string SystemFile(SimSystem& sys, const std::string& name) {
    return WindowsFile(sys, kSystem32 + name);
}

// A Microsoft program Windows brings along that carries its own signature: Defender's engine
// ("Microsoft Windows Publisher"), OneDrive ("Microsoft Corporation", as Microsoft signs its
// applications).
inline void EmbeddedSigned(SimSystem& sys, const std::string& path, const std::string& signer) {
    sys.fs().AddFile(path, "MZ");
    platform::sim::ScriptedFileFacts facts;
    facts.version = platform::VersionStrings{"Microsoft Corporation", "", "", "", true,
                                             path.substr(path.rfind('\\') + 1)};
    facts.signature = {platform::SignatureState::Trusted, "", signer};
    sys.facts().Script(path, facts);
}

// The DLLs nearly every process of Windows has loaded.
inline const std::vector<std::string>& CommonModules() {
    static const std::vector<std::string> names = {
        "ntdll.dll",     "kernel32.dll", "KERNELBASE.dll", "msvcrt.dll",   "sechost.dll",
        "RPCRT4.dll",    "combase.dll",  "ucrtbase.dll",   "bcryptPrimitives.dll",
        "advapi32.dll",  "WS2_32.dll",   "mswsock.dll",    "NSI.dll",      "IPHLPAPI.DLL",
        "DNSAPI.dll",    "CRYPT32.dll",  "MSASN1.dll",     "CRYPTBASE.dll", "USER32.dll",
        "win32u.dll",    "GDI32.dll",    "gdi32full.dll",  "msvcp_win.dll", "OLEAUT32.dll",
        "ole32.dll",     "SHLWAPI.dll",  "kernel.appcore.dll", "powrprof.dll", "UMPDC.dll",
        "profapi.dll",   "CFGMGR32.dll", "WINTRUST.dll",   "ncrypt.dll",   "NTASN1.dll",
        "SSPICLI.DLL",   "bcrypt.dll",   "CRYPTSP.dll",    "rsaenh.dll",   "clbcatq.dll",
        "USERENV.dll",   "gpapi.dll",    "wldp.dll",       "winhttp.dll",  "webio.dll",
        "FirewallAPI.dll", "fwbase.dll", "fwpuclnt.dll",   "rasadhlp.dll", "dhcpcsvc.dll",
        "dhcpcsvc6.DLL", "winnsi.dll",   "SAMCLI.DLL",     "SAMLIB.dll",   "NETAPI32.dll",
        "wkscli.dll",    "netutils.dll", "logoncli.dll",   "secur32.dll",  "version.dll",
        "coremessaging.dll", "CoreUIComponents.dll", "WinTypes.dll", "windows.storage.dll",
        "SHCORE.dll",    "shell32.dll",  "cryptnet.dll",   "wevtapi.dll",  "ESENT.dll",
    };
    return names;
}

// The services Windows installs: name, ImagePath, the DLL it hosts in svchost.exe (if any).
struct WindowsService {
    const char* name;
    const char* imagePath;
    const char* serviceDll;
};

inline const std::vector<WindowsService>& Services() {
    static const std::vector<WindowsService> services = {
        {"RpcSs", "%SystemRoot%\\system32\\svchost.exe -k rpcss -p", "rpcss.dll"},
        {"RpcEptMapper", "%SystemRoot%\\system32\\svchost.exe -k RPCSS -p", "RpcEpMap.dll"},
        {"DcomLaunch", "%SystemRoot%\\system32\\svchost.exe -k DcomLaunch -p", "rpcss.dll"},
        {"PlugPlay", "%SystemRoot%\\system32\\svchost.exe -k DcomLaunch -p", "umpnpmgr.dll"},
        {"Power", "%SystemRoot%\\system32\\svchost.exe -k DcomLaunch -p", "umpo.dll"},
        {"EventLog", "%SystemRoot%\\System32\\svchost.exe -k LocalServiceNetworkRestricted -p",
         "wevtsvc.dll"},
        {"Schedule", "%systemroot%\\system32\\svchost.exe -k netsvcs -p", "schedsvc.dll"},
        {"Winmgmt", "%systemroot%\\system32\\svchost.exe -k netsvcs -p", "WMIsvc.dll"},
        {"ProfSvc", "%systemroot%\\system32\\svchost.exe -k netsvcs -p", "profsvc.dll"},
        {"Themes", "%SystemRoot%\\System32\\svchost.exe -k netsvcs -p", "themeservice.dll"},
        {"wuauserv", "%systemroot%\\system32\\svchost.exe -k netsvcs -p", "wuaueng.dll"},
        {"BITS", "%SystemRoot%\\System32\\svchost.exe -k netsvcs -p", "qmgr.dll"},
        {"iphlpsvc", "%SystemRoot%\\System32\\svchost.exe -k NetSvcs -p", "iphlpsvc.dll"},
        {"LanmanServer", "%SystemRoot%\\system32\\svchost.exe -k smbsvcs", "srvsvc.dll"},
        {"SENS", "%SystemRoot%\\system32\\svchost.exe -k netsvcs -p", "sens.dll"},
        {"UserManager", "%SystemRoot%\\system32\\svchost.exe -k netsvcs -p", "usermgr.dll"},
        {"Dnscache", "%SystemRoot%\\system32\\svchost.exe -k NetworkService -p", "dnsrslvr.dll"},
        {"CryptSvc", "%SystemRoot%\\system32\\svchost.exe -k NetworkService -p", "cryptsvc.dll"},
        {"LanmanWorkstation", "%SystemRoot%\\System32\\svchost.exe -k NetworkService -p",
         "wkssvc.dll"},
        {"DoSvc", "%SystemRoot%\\System32\\svchost.exe -k NetworkService -p", "dosvc.dll"},
        {"WinHttpAutoProxySvc",
         "%SystemRoot%\\system32\\svchost.exe -k LocalServiceNetworkRestricted -p", "winhttp.dll"},
        {"CoreMessagingRegistrar",
         "%SystemRoot%\\system32\\svchost.exe -k LocalServiceNoNetwork -p", "coremessaging.dll"},
        {"Dhcp", "%SystemRoot%\\system32\\svchost.exe -k LocalServiceNetworkRestricted -p",
         "dhcpcore.dll"},
        {"nsi", "%systemroot%\\system32\\svchost.exe -k LocalService -p", "nsisvc.dll"},
        {"W32Time", "%SystemRoot%\\system32\\svchost.exe -k LocalService", "w32time.dll"},
        {"AudioSrv", "%SystemRoot%\\System32\\svchost.exe -k LocalServiceNetworkRestricted -p",
         "Audiosrv.dll"},
        {"SysMain", "%systemroot%\\system32\\svchost.exe -k LocalSystemNetworkRestricted -p",
         "sysmain.dll"},
        {"BFE", "%systemroot%\\system32\\svchost.exe -k LocalServiceNoNetworkFirewall -p",
         "bfe.dll"},
        {"mpssvc", "%systemroot%\\system32\\svchost.exe -k LocalServiceNoNetworkFirewall -p",
         "mpssvc.dll"},
        {"LSM", "%SystemRoot%\\system32\\svchost.exe -k DcomLaunch -p", "lsm.dll"},
        {"Spooler", "%SystemRoot%\\System32\\spoolsv.exe", nullptr},
        {"SamSs", "%SystemRoot%\\system32\\lsass.exe", nullptr},
        {"KeyIso", "%SystemRoot%\\system32\\lsass.exe", nullptr},
        {"Netlogon", "%systemroot%\\system32\\lsass.exe", nullptr},
        {"VaultSvc", "%SystemRoot%\\system32\\lsass.exe", nullptr},
        {"WSearch", "%systemroot%\\system32\\SearchIndexer.exe /Embedding", nullptr},
        {"TrustedInstaller", "%SystemRoot%\\servicing\\TrustedInstaller.exe", nullptr},
        {"WinDefend",
         "\"C:\\ProgramData\\Microsoft\\Windows Defender\\Platform\\4.18.2302.7-0\\MsMpEng.exe\"",
         nullptr},
        {"Tcpip", "System32\\drivers\\tcpip.sys", nullptr},
        {"AFD", "\\SystemRoot\\system32\\drivers\\afd.sys", nullptr},
        {"Ndis", "system32\\drivers\\ndis.sys", nullptr},
        {"disk", "System32\\drivers\\disk.sys", nullptr},
    };
    return services;
}

inline void AddServices(SimSystem& sys) {
    const std::string services = "SYSTEM\\CurrentControlSet\\Services\\";
    for (const WindowsService& service : Services()) {
        const std::string key = services + service.name;
        sys.reg().PutString(RootKey::LocalMachine, key, "ImagePath", service.imagePath);
        PutDword(sys, key, "Start", service.serviceDll ? 2 : 3);
        sys.reg().PutString(RootKey::LocalMachine, key, "DisplayName", service.name);
        if (service.serviceDll) {
            SystemFile(sys, service.serviceDll);
            sys.reg().PutString(RootKey::LocalMachine, key + "\\Parameters", "ServiceDll",
                                std::string("%SystemRoot%\\System32\\") + service.serviceDll);
        }
    }
}

// What Windows keeps in the other places the rules search.
inline void AddWindowsPlaces(SimSystem& sys) {
    const auto machine = [&](const std::string& key, const std::string& name,
                             const std::string& text) {
        sys.reg().PutString(RootKey::LocalMachine, key, name, text);
    };
    const std::string winlogon = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
    machine(winlogon, "Shell", "explorer.exe");
    machine(winlogon, "Userinit", "C:\\Windows\\system32\\userinit.exe,");
    machine(winlogon, "VMApplet", "SystemPropertiesPerformance.exe /pagefile");
    machine("Software\\Microsoft\\Windows\\CurrentVersion\\Run", "SecurityHealth",
            "%windir%\\system32\\SecurityHealthSystray.exe");
    sys.reg().PutString(RootKey::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                        "OneDrive",
                        "\"" + kUserProfile +
                            "\\AppData\\Local\\Microsoft\\OneDrive\\OneDrive.exe\" /background");
    machine("Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "AppInit_DLLs", "");
    machine("SYSTEM\\CurrentControlSet\\Control\\SafeBoot", "AlternateShell", "cmd.exe");

    const std::string lsa = "SYSTEM\\CurrentControlSet\\Control\\Lsa";
    PutList(sys, lsa, "Authentication Packages", {"msv1_0"});
    PutList(sys, lsa, "Notification Packages", {"scecli"});
    PutList(sys, lsa, "Security Packages", {"\"\""});
    PutList(sys, lsa + "\\OSConfig", "Security Packages",
            {"kerberos", "msv1_0", "schannel", "wdigest", "tspkg", "pku2u", "cloudAP"});
    machine("SYSTEM\\CurrentControlSet\\Control\\SecurityProviders", "SecurityProviders",
            "credssp.dll");
    PutList(sys, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", "BootExecute",
            {"autocheck autochk *"});

    const std::string print = "SYSTEM\\CurrentControlSet\\Control\\Print\\";
    for (const auto& [monitor, dll] : std::vector<std::pair<std::string, std::string>>{
             {"Appmon", "AppMon.dll"}, {"Local Port", "localspl.dll"},
             {"Standard TCP/IP Port", "tcpmon.dll"}, {"USB Monitor", "usbmon.dll"},
             {"WSD Port", "WSDMon.dll"}}) {
        machine(print + "Monitors\\" + monitor, "Driver", dll);
    }
    machine(print + "Environments\\Windows x64\\Print Processors\\winprint", "Driver",
            "winprint.dll");
    machine(print + "Providers\\Internet Print Provider", "Name", "inetpp.dll");
    machine(print + "Providers\\LanMan Print Services", "Name", "win32spl.dll");

    const std::string time = "SYSTEM\\CurrentControlSet\\Services\\W32Time\\TimeProviders\\";
    machine(time + "NtpClient", "DllName", "%SystemRoot%\\System32\\w32time.dll");
    machine(time + "NtpServer", "DllName", "%SystemRoot%\\System32\\w32time.dll");
    machine(time + "VMICTimeProvider", "DllName", "%SystemRoot%\\System32\\vmictimeprovider.dll");

    for (const char* helper :
         {"ifmon.dll", "rasmontr.dll", "authfwcfg.dll", "dhcpcmonitor.dll", "dot3cfg.dll",
          "fwcfg.dll", "hnetmon.dll", "netiohlp.dll", "nettrace.dll", "nshhttp.dll",
          "nshipsec.dll", "nshwfp.dll", "p2pnetsh.dll", "rpcnsh.dll", "WcnNetsh.dll",
          "whhelper.dll", "wlancfg.dll", "wshelper.dll", "wwancfg.dll", "peerdistsh.dll"}) {
        const std::string name = helper;
        machine("Software\\Microsoft\\NetSh", name.substr(0, name.find('.')), name);
    }
    const std::string gp = winlogon + "\\GPExtensions\\";
    int extension = 0;
    for (const char* dll : {"gpprefcl.dll", "scecli.dll", "dskquota.dll", "iedkcs32.dll",
                            "gptext.dll", "fdeploy.dll", "appmgmts.dll", "auditcse.dll",
                            "gpscript.dll", "dmenrollengine.dll", "pwlauncher.dll",
                            "tsworkspace.dll", "wlgpclnt.dll", "dot3gpclnt.dll"}) {
        machine(gp + "{0000000" + std::to_string(extension++) + "-0000-0000-0000-000000000000}",
                "DllName", dll);
    }

    // Active Setup: Windows' own components, each marked installed.
    const std::string components = "SOFTWARE\\Microsoft\\Active Setup\\Installed Components\\";
    for (const auto& [component, stub] : std::vector<std::pair<std::string, std::string>>{
             {"{22d6f312-b0f6-11d0-94ab-0080c74c7e95}",
              "%SystemRoot%\\system32\\unregmp2.exe /FirstLogon"},
             {"{2C7339CF-2B09-4501-B3F3-F3508C9228ED}",
              "%SystemRoot%\\system32\\regsvr32.exe /s /n /i:/UserInstall "
              "%SystemRoot%\\system32\\themeui.dll"},
             {"{89B4C1CD-B018-4511-B0A1-5476DBF70820}",
              "C:\\Windows\\System32\\Rundll32.exe C:\\Windows\\System32\\mscories.dll,Install"},
             {">{22d6f312-b0f6-11d0-94ab-0080c74c7e95}",
              "C:\\Windows\\System32\\ie4uinit.exe -UserConfig"}}) {
        machine(components + component, "StubPath", stub);
        PutDword(sys, components + component, "IsInstalled", 1);
    }

    const std::string ats = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Accessibility\\ATs\\";
    machine(ats + "magnifierpane", "StartExe", "%SystemRoot%\\System32\\Magnify.exe");
    machine(ats + "Narrator", "StartExe", "%SystemRoot%\\System32\\Narrator.exe");
    machine(ats + "osk", "StartExe", "%SystemRoot%\\System32\\osk.exe");
    for (const char* program : {"sethc.exe", "utilman.exe", "osk.exe", "magnify.exe",
                                "narrator.exe", "displayswitch.exe", "atbroker.exe"}) {
        SystemFile(sys, program);
    }

    sys.reg().PutString(RootKey::ClassesRoot, "exefile\\shell\\open\\command", "", "\"%1\" %*");
    sys.reg().PutString(RootKey::ClassesRoot, "batfile\\shell\\open\\command", "", "\"%1\" %*");
    sys.reg().PutString(RootKey::ClassesRoot, "cmdfile\\shell\\open\\command", "", "\"%1\" %*");
    sys.reg().PutString(RootKey::ClassesRoot, "htafile\\shell\\open\\command", "",
                        "C:\\Windows\\SysWOW64\\mshta.exe \"%1\" %*");
    // OneDrive's shell extension, registered for the user and loaded by Explorer.
    sys.reg().PutString(RootKey::CurrentUser,
                        "Software\\Classes\\CLSID\\{CB3D0F55-BC2C-4C1A-85ED-23ED75B5106B}"
                        "\\InprocServer32",
                        "", kOneDriveShellExtension);
    // The programs Windows registers under their names (App Paths): most name their own
    // program, a few another one (pbrush.exe is Paint, write.exe WordPad).
    const std::string appPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
    machine(appPaths + "msedge.exe", "", kEdge);
    machine(appPaths + "msedge.exe", "Path", "C:\\Program Files (x86)\\Microsoft\\Edge\\Application");
    machine(appPaths + "MSPAINT.EXE", "", "%SystemRoot%\\System32\\mspaint.exe");
    machine(appPaths + "pbrush.exe", "", "%SystemRoot%\\System32\\mspaint.exe");
    machine(appPaths + "PowerShell.exe", "",
            "%SYSTEMROOT%\\system32\\WindowsPowerShell\\v1.0\\PowerShell.exe");
    machine(appPaths + "wordpad.exe", "", "\"%ProgramFiles%\\Windows NT\\Accessories\\WORDPAD.EXE\"");
    machine(appPaths + "write.exe", "", "\"%ProgramFiles%\\Windows NT\\Accessories\\WORDPAD.EXE\"");
}

inline const std::vector<WindowsProcess>& Processes() {
    static const std::vector<WindowsProcess> processes = {
        {520, kSystem32 + "wininit.exe", {}, {49665}},
        {640, kSystem32 + "services.exe", {"scesrv.dll"}, {49669}},
        {660, kSystem32 + "lsass.exe",
         {"lsasrv.dll", "samsrv.dll", "msv1_0.dll", "kerberos.dll", "schannel.dll",
          "wdigest.dll", "tspkg.dll", "pku2u.dll", "cloudAP.dll", "negoexts.dll", "scecli.dll",
          "credssp.dll", "efslsaext.dll", "dpapisrv.dll"},
         {49664}},
        {900, kSystem32 + "svchost.exe", {"rpcss.dll", "RpcEpMap.dll"}, {135}},
        {1200, kSystem32 + "svchost.exe", {"wevtsvc.dll", "winhttp.dll", "dhcpcore.dll"},
         {49666}},
        {1400, kSystem32 + "svchost.exe",
         {"schedsvc.dll", "WMIsvc.dll", "wuaueng.dll", "qmgr.dll", "iphlpsvc.dll",
          "usermgr.dll", "sens.dll"},
         {49667},
         true},
        {1600, kSystem32 + "svchost.exe",
         {"dnsrslvr.dll", "cryptsvc.dll", "wkssvc.dll", "dosvc.dll"},
         {},
         true},
        {1800, kSystem32 + "svchost.exe", {"srvsvc.dll"}, {445}},
        {2000, kSystem32 + "spoolsv.exe",
         {"spoolss.dll", "localspl.dll", "tcpmon.dll", "usbmon.dll", "WSDMon.dll", "AppMon.dll",
          "win32spl.dll", "inetpp.dll", "winprint.dll"},
         {49668}},
        {3000, kWindows + "\\explorer.exe", {"ExplorerFrame.dll", "twinui.dll"}, {}, true},
        {3400,
         "C:\\ProgramData\\Microsoft\\Windows Defender\\Platform\\4.18.2302.7-0\\MsMpEng.exe",
         {},
         {},
         true},
        {4000, kUserProfile + "\\AppData\\Local\\Microsoft\\OneDrive\\OneDrive.exe", {}, {},
         true},
        {4400, kEdge, {}, {}, true},
    };
    return processes;
}

inline void AddProcesses(SimSystem& sys) {
    platform::sim::SimProcess system;
    system.pid = 4;
    sys.procs().AddProcess(system);
    std::uint16_t clientPort = 50000;
    for (const WindowsProcess& windowsProcess : Processes()) {
        platform::sim::SimProcess process;
        process.pid = windowsProcess.pid;
        process.parentPid = 4;
        process.imagePath = windowsProcess.path;
        if (windowsProcess.path.rfind(kWindows + "\\", 0) == 0) {
            WindowsFile(sys, windowsProcess.path);
        } else if (windowsProcess.path.find("OneDrive") != std::string::npos) {
            EmbeddedSigned(sys, windowsProcess.path, "Microsoft Corporation");
        } else {
            EmbeddedSigned(sys, windowsProcess.path, "Microsoft Windows Publisher");
        }
        for (const std::string& name : CommonModules())
            process.modules.push_back(SystemFile(sys, name));
        for (const std::string& name : windowsProcess.ownModules)
            process.modules.push_back(SystemFile(sys, name));
        if (windowsProcess.path == kWindows + "\\explorer.exe") {
            sys.fs().AddFile(kOneDriveShellExtension, "MZ");
            process.modules.push_back(kOneDriveShellExtension);
        }
        sys.procs().AddProcess(process);
        for (std::uint16_t port : windowsProcess.listenPorts)
            sys.procs().AddSocket(process.pid, platform::kTcpStateListen, port);
        if (windowsProcess.connected) {
            platform::TcpRow row;
            row.state = platform::kTcpStateEstab;
            row.owningPid = process.pid;
            row.localAddress = {192, 168, 1, 20};
            row.localPort = clientPort++;
            row.remoteAddress = {20, 190, 160, 14};
            row.remotePort = 443;
            sys.procs().AddTcpRow(row);
        }
    }
}

// The whole machine, with the given rules file beside Zorvik.
inline void BuildFreshWindows10(SimSystem& sys, const std::string& rules) {
    sys.fs().SetWindowsDirectory(kWindows);
    sys.fs().AddFile("C:\\Zorvik\\Scan.ini", rules);
    sys.users().SetUsers({"Administrator", "DefaultAccount", "Guest", kUser,
                          "WDAGUtilityAccount"});
    sys.fs().AddDirectory(kUserProfile +
                          "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup");
    sys.fs().AddDirectory("C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp");
    AddServices(sys);
    AddWindowsPlaces(sys);
    AddProcesses(sys);
}

}  // namespace machines

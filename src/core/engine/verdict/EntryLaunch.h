#pragma once
// Whether a start-up entry starts its program through a script host or a program Windows ships
// that runs other code (wscript, cscript, mshta, rundll32, regsvr32, PowerShell, cmd), the
// way bots start theirs. Installed programs start their own file directly; where they do use a
// host, the code it runs lies in a folder only administrators can write.
#include <optional>
#include <string>

namespace zorvik {

// What gives the entry away, in words ("wscript.exe running c:\users\u\run.vbs"), or none.
// lowerText: the entry's text, lower-cased; windowsDirectory as the system gives it.
std::optional<std::string> HostLaunchOf(const std::string& lowerText,
                                        const std::string& windowsDirectory);

// The same for the script an entry runs on its way (a hit found in a script's line): a script
// a host runs, outside the folders only administrators write (a batch file: in a folder every
// user can write).
std::optional<std::string> ScriptLaunchOf(const std::string& scriptPath,
                                          const std::string& windowsDirectory);

}  // namespace zorvik

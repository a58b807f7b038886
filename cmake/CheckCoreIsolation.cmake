# Fails when the portable core includes a Windows header or a platform implementation,
# or links a system library, or when one of its layers reaches above itself: base (text, path
# and number helpers) includes nothing else of the core; the parsers of other programs' files
# only base (no platform either: pure functions over bytes, tested and fuzzed as they are); the
# engine nothing of the settings, the reports or the windows; the settings (Settings.ini, the Run
# value) nothing of the reports or the windows; the reports nothing of the windows. So the
# console tool runs the engine and reads the settings without the windows.
# The same check keeps the code both platform implementations share (PART_NAME names it in
# the report) free of Windows headers and of either implementation.
#   cmake -DCORE_DIR=<src/core> [-DCORE_LIBRARIES=<lib|lib|...>] [-DPART_NAME=<name>]
#         -P CheckCoreIsolation.cmake

cmake_minimum_required(VERSION 3.20)

if(NOT PART_NAME)
  set(PART_NAME "core")
endif()

if(NOT IS_DIRECTORY "${CORE_DIR}")
  message(FATAL_ERROR "No core directory: ${CORE_DIR}")
endif()

# Headers of the Windows SDK and of the MSVC runtime that a portable file has no use for.
set(windows_headers
  windows windef winbase winuser wingdi winnt winreg winver winerror winternl winsock winsock2
  ws2tcpip iphlpapi iprtrmib tcpmib psapi tlhelp32 shellapi shlobj shlwapi shobjidl objbase
  ole2 oleauto olectl commctrl commdlg richedit lm lmaccess lmapibuf lmcons wtsapi32 sddl
  aclapi userenv winsvc dbghelp mmsystem)
list(JOIN windows_headers "|" windows_alternatives)
set(forbidden_include "^[<\"](${windows_alternatives})\\.h[>\"]|^[<\"](.*/)?platform/(win32|sim)/")

file(GLOB_RECURSE core_files "${CORE_DIR}/*")
set(offences "")
set(checked 0)
foreach(file IN LISTS core_files)
  if(NOT file MATCHES "\\.(h|hpp|hh|c|cc|cpp|cxx|inl|ipp)$")
    continue()
  endif()
  math(EXPR checked "${checked} + 1")
  file(STRINGS "${file}" include_lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS include_lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*" "" target "${line}")
    string(REPLACE "\\" "/" target "${target}")
    string(TOLOWER "${target}" target)
    file(RELATIVE_PATH shown "${CORE_DIR}" "${file}")
    if(target MATCHES "${forbidden_include}")
      list(APPEND offences "  ${shown}: ${line}")
    elseif(shown MATCHES "^base/" AND target MATCHES "^[<\"]core/(engine|settings|report|windows|parse)/")
      list(APPEND offences "  ${shown}: ${line} (base includes only base)")
    elseif(shown MATCHES "^parse/" AND target MATCHES "^\"" AND NOT target MATCHES "^\"core/(base|parse)/")
      list(APPEND offences "  ${shown}: ${line} (a parser includes only base and parsers)")
    elseif(shown MATCHES "^engine/" AND target MATCHES "^[<\"]core/(settings|report|windows)/")
      list(APPEND offences "  ${shown}: ${line} (the engine includes no settings, report or window)")
    elseif(shown MATCHES "^settings/" AND target MATCHES "^[<\"]core/(report|windows)/")
      list(APPEND offences "  ${shown}: ${line} (the settings include no report or window)")
    elseif(shown MATCHES "^report/" AND target MATCHES "^[<\"]core/windows/")
      list(APPEND offences "  ${shown}: ${line} (the reports include no window)")
    endif()
  endforeach()
endforeach()

set(windows_libraries
  kernel32 user32 gdi32 advapi32 shell32 shlwapi ole32 oleaut32 uuid comctl32 comdlg32 psapi
  netapi32 ws2_32 wsock32 iphlpapi ntdll version uxtheme zorvik_platform)
string(REPLACE "|" ";" core_libraries "${CORE_LIBRARIES}")
foreach(library IN LISTS core_libraries)
  string(TOLOWER "${library}" name)
  string(REGEX REPLACE "^-l|\\.lib$|\\.a$" "" name "${name}")
  if(name IN_LIST windows_libraries)
    list(APPEND offences "  zorvik_core links ${library}")
  endif()
endforeach()

if(offences)
  list(JOIN offences "\n" report)
  message(FATAL_ERROR "The ${PART_NAME} must reach the system only through src/platform/*.h:\n${report}")
endif()
message(STATUS "Checked ${checked} ${PART_NAME} files: no Windows headers, no platform implementation")

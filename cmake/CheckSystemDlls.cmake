# Fails when a program needs a DLL that Windows does not ship, such as the MinGW runtime
# (libstdc++-6.dll, libgcc_s_*.dll, libwinpthread-1.dll).
#   cmake -DOBJDUMP=<objdump> -P CheckSystemDlls.cmake -- <program.exe>...

cmake_minimum_required(VERSION 3.20)

set(system_dlls
  kernel32 kernelbase ntdll user32 gdi32 gdiplus advapi32 shell32 shlwapi ole32 oleaut32
  comctl32 comdlg32 psapi netapi32 ws2_32 wsock32 iphlpapi msvcrt ucrtbase version uxtheme
  imm32 winmm crypt32 bcrypt secur32 rpcrt4 userenv dbghelp mpr setupapi wtsapi32 shcore)

set(programs "")
set(past_separator FALSE)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
  if(past_separator)
    list(APPEND programs "${CMAKE_ARGV${i}}")
  elseif(CMAKE_ARGV${i} STREQUAL "--")
    set(past_separator TRUE)
  endif()
endforeach()
if(NOT programs)
  message(FATAL_ERROR "No programs given")
endif()

set(offences "")
foreach(program IN LISTS programs)
  get_filename_component(shown "${program}" NAME)
  if(NOT EXISTS "${program}")
    list(APPEND offences "  ${shown}: not built")
    continue()
  endif()
  execute_process(COMMAND ${OBJDUMP} -p "${program}"
                  OUTPUT_VARIABLE headers RESULT_VARIABLE result ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    list(APPEND offences "  ${shown}: ${OBJDUMP} failed: ${errors}")
    continue()
  endif()
  string(REGEX MATCHALL "DLL Name: [^\r\n]+" dll_lines "${headers}")
  if(NOT dll_lines)
    list(APPEND offences "  ${shown}: no imported DLLs found (not a PE program?)")
    continue()
  endif()
  set(imports "")
  foreach(dll_line IN LISTS dll_lines)
    string(REGEX REPLACE "^DLL Name: *" "" dll "${dll_line}")
    string(STRIP "${dll}" dll)
    string(TOLOWER "${dll}" name)
    string(REGEX REPLACE "\\.dll$" "" name "${name}")
    list(APPEND imports "${dll}")
    if(NOT name IN_LIST system_dlls AND NOT name MATCHES "^api-ms-win-")
      list(APPEND offences "  ${shown}: needs ${dll}, which Windows does not ship")
    endif()
  endforeach()
  list(JOIN imports " " import_text)
  message(STATUS "${shown}: ${import_text}")
endforeach()

if(offences)
  list(JOIN offences "\n" report)
  message(FATAL_ERROR "Programs must need only system DLLs:\n${report}")
endif()

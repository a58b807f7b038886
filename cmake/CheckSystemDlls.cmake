# Fails when a program needs a DLL that Windows does not ship, such as the MinGW runtime
# (libstdc++-6.dll, libgcc_s_*.dll, libwinpthread-1.dll).
#   cmake -DOBJDUMP=<objdump> -P CheckSystemDlls.cmake -- <program.exe>...

cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/ProgramImports.cmake)

set(system_dlls
  kernel32 kernelbase ntdll user32 gdi32 gdiplus advapi32 shell32 shlwapi ole32 oleaut32
  comctl32 comdlg32 psapi netapi32 ws2_32 wsock32 iphlpapi msvcrt ucrtbase version uxtheme
  imm32 winmm crypt32 bcrypt secur32 rpcrt4 userenv dbghelp mpr setupapi wtsapi32 shcore)

zorvik_programs_after_separator(programs)

set(offences "")
foreach(program IN LISTS programs)
  get_filename_component(shown "${program}" NAME)
  zorvik_imported_dlls("${program}" dlls failure)
  if(failure)
    list(APPEND offences "  ${shown}: ${failure}")
    continue()
  endif()
  foreach(dll IN LISTS dlls)
    zorvik_dll_stem("${dll}" name)
    if(NOT name IN_LIST system_dlls AND NOT name MATCHES "^api-ms-win-")
      list(APPEND offences "  ${shown}: needs ${dll}, which Windows does not ship")
    endif()
  endforeach()
  list(JOIN dlls " " import_text)
  message(STATUS "${shown}: ${import_text}")
endforeach()

if(offences)
  list(JOIN offences "\n" report)
  message(FATAL_ERROR "Programs must need only system DLLs:\n${report}")
endif()

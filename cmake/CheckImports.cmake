# Fails when a program that ships imports a DLL that Windows might take from beside it. The
# loader resolves a program's imports before its first instruction, so the start-up step that
# keeps later loads in the system folder comes too late for them: only DLLs that Windows takes
# from its own folder whatever the search order may be imported. Any other library is looked
# up at run time from the system folder (src/platform/win32/system/SystemLibrary.h).
#   cmake -DOBJDUMP=<objdump> -P CheckImports.cmake -- <program.exe>...
#
# Windows maps its "known DLLs" (the KnownDLLs key under Session Manager) from the system folder
# at boot, together with the DLLs they import, and never searches for them. Windows XP's list:
# advapi32 comdlg32 gdi32 imagehlp kernel32 lz32 ole32 oleaut32 olecli32 olecnv32 olesvr32
# olethk32 rpcrt4 shell32 url urlmon user32 version wininet wldap32. Windows 10's: advapi32
# clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt
# normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 wldap32
# ws2_32 (psapi from Windows 7, shlwapi and ws2_32 from Vista). Only what both hold is safe from
# XP to 11: version (dropped after XP), psapi, shlwapi and ws2_32 (added later) are not.

cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/ProgramImports.cmake)

# Each DLL a program may import, with the reason Windows never takes it from beside the program.
set(reason_ntdll "in every process before its first instruction, from the system folder")
set(reason_kernel32 "a known DLL on every Windows from XP to 11")
set(reason_user32 "a known DLL on every Windows from XP to 11")
set(reason_gdi32 "a known DLL on every Windows from XP to 11")
set(reason_advapi32 "a known DLL on every Windows from XP to 11")
set(reason_shell32 "a known DLL on every Windows from XP to 11")
set(reason_ole32 "a known DLL on every Windows from XP to 11")
set(reason_oleaut32 "a known DLL on every Windows from XP to 11")
set(reason_comdlg32 "a known DLL on every Windows from XP to 11")
set(reason_msvcrt
    "a known DLL from Vista on; on XP mapped with the known DLLs that import it (ole32, shell32, comdlg32)")
set(reason_comctl32
    "version 6 of the program's manifest: the loader takes it from the side-by-side assembly in WinSxS before searching any folder")

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
    if(DEFINED reason_${name})
      message(STATUS "${shown}: ${dll}: ${reason_${name}}")
    else()
      list(APPEND offences
           "  ${shown}: imports ${dll}, which Windows may take from beside the program")
    endif()
  endforeach()
endforeach()

if(offences)
  list(JOIN offences "\n" report)
  message(FATAL_ERROR "Programs must import only DLLs Windows takes from its own folder:\n"
                      "${report}\nLook such a library up at run time from the system folder instead.")
endif()

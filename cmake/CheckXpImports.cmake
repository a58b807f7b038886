# Fails when a program would not load on Windows XP: when it imports, by name, a function or a
# DLL that XP does not have, or when its PE header asks for a newer system than XP (5.1 for
# 32-bit programs, 5.2 for XP x64). Windows refuses to start such a program at all ("not a
# valid Win32 application", or "The procedure entry point ... could not be located"), so a
# function from a later Windows must be looked up at run time with GetProcAddress instead.
#   cmake -DOBJDUMP=<objdump> -P CheckXpImports.cmake -- <program.exe>...
#
# The list holds the later functions that tend to creep in through headers compiled for a newer
# _WIN32_WINNT, the C++ runtime, or a convenient call. A few exist on XP x64 or a late XP
# service pack but not on every XP the programs support (the first 32-bit XP): they are
# listed too, and the same sources build both programs.

cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/ProgramImports.cmake)

# DLLs that XP does not ship.
set(newer_dlls
  api-ms-win-* bcrypt d2d1 dwmapi dwrite dxgi kernelbase ktmw32 ncrypt propsys shcore
  taskschd tdh ucrtbase wevtapi windowscodecs)

set(newer_kernel32
  # Vista
  GetTickCount64 InitializeConditionVariable SleepConditionVariableCS SleepConditionVariableSRW
  WakeConditionVariable WakeAllConditionVariable InitializeSRWLock AcquireSRWLockExclusive
  AcquireSRWLockShared ReleaseSRWLockExclusive ReleaseSRWLockShared InitOnceInitialize
  InitOnceExecuteOnce InitOnceBeginInitialize InitOnceComplete InitializeCriticalSectionEx
  CreateEventExA CreateEventExW CreateMutexExA CreateMutexExW CreateSemaphoreExA
  CreateSemaphoreExW QueryFullProcessImageNameA QueryFullProcessImageNameW
  GetFinalPathNameByHandleA GetFinalPathNameByHandleW CreateSymbolicLinkA CreateSymbolicLinkW
  GetFileInformationByHandleEx SetFileInformationByHandle OpenFileById CancelIoEx
  CancelSynchronousIo GetQueuedCompletionStatusEx LocaleNameToLCID LCIDToLocaleName
  GetLocaleInfoEx GetUserDefaultLocaleName GetSystemDefaultLocaleName CompareStringEx
  LCMapStringEx GetDateFormatEx GetTimeFormatEx GetNumberFormatEx EnumSystemLocalesEx
  ResolveLocaleName GetThreadPreferredUILanguages GetUserPreferredUILanguages GetProductInfo
  GetErrorMode GetCurrentProcessorNumber GetThreadId GetProcessIdOfThread
  GetNamedPipeClientProcessId QueryThreadCycleTime QueryProcessCycleTime
  RegisterApplicationRestart RegisterApplicationRecoveryCallback GetDynamicTimeZoneInformation
  CreateThreadpoolWork SubmitThreadpoolWork CloseThreadpoolWork WaitForThreadpoolWorkCallbacks
  CreateThreadpoolTimer SetThreadpoolTimer CloseThreadpoolTimer InitializeProcThreadAttributeList
  UpdateProcThreadAttribute DeleteProcThreadAttributeList CreateFileTransactedA
  GetVolumeInformationByHandleW Wow64GetThreadContext Wow64SetThreadContext
  # Windows 7 and later
  TryAcquireSRWLockExclusive TryAcquireSRWLockShared SetThreadErrorMode GetThreadErrorMode
  GetLogicalProcessorInformationEx RaiseFailFastException SetDefaultDllDirectories
  AddDllDirectory RemoveDllDirectory GetSystemTimePreciseAsFileTime GetOverlappedResultEx
  CreateFile2
  # Not on the first 32-bit XP (XP x64, Server 2003, or a later XP service pack only)
  FlsAlloc FlsFree FlsGetValue FlsSetValue IsWow64Process Wow64DisableWow64FsRedirection
  Wow64RevertWow64FsRedirection Wow64EnableWow64FsRedirection GetLogicalProcessorInformation
  SetProcessDEPPolicy GetProcessDEPPolicy GetSystemDEPPolicy ReOpenFile)
# kernel32's own copies of the psapi functions (Windows 7), taken when _WIN32_WINNT >= 0x0601.
set(newer_kernel32_prefixes K32)

set(newer_user32
  ChangeWindowMessageFilter ChangeWindowMessageFilterEx SetProcessDPIAware IsProcessDPIAware
  SetProcessDpiAwarenessContext GetDpiForWindow GetDpiForSystem GetSystemMetricsForDpi
  AdjustWindowRectExForDpi EnableNonClientDpiScaling ShutdownBlockReasonCreate
  ShutdownBlockReasonDestroy ShutdownBlockReasonQuery AddClipboardFormatListener
  RemoveClipboardFormatListener RegisterPowerSettingNotification
  UnregisterPowerSettingNotification CalculatePopupWindowPosition GetWindowDisplayAffinity
  SetWindowDisplayAffinity RegisterTouchWindow UnregisterTouchWindow IsTouchWindow
  GetGestureInfo SetGestureConfig LogicalToPhysicalPoint PhysicalToLogicalPoint
  WindowFromPhysicalPoint UpdateLayeredWindowIndirect QueryDisplayConfig SetDisplayConfig)

set(newer_shell32
  SHGetKnownFolderPath SHGetKnownFolderIDList SHSetKnownFolderPath SHCreateItemFromParsingName
  SHCreateItemFromIDList SHCreateItemWithParent SHGetStockIconInfo SHGetPropertyStoreForWindow
  SHGetPropertyStoreFromParsingName SHOpenWithDialog SHGetIDListFromObject
  SHCreateShellItemArrayFromIDLists Shell_NotifyIconGetRect SHAssocEnumHandlers
  SHEvaluateSystemCommandTemplate SetCurrentProcessExplicitAppUserModelID
  GetCurrentProcessExplicitAppUserModelID SHCreateDefaultContextMenu
  SHQueryUserNotificationState)

set(newer_advapi32
  RegDeleteTreeA RegDeleteTreeW RegGetValueA RegGetValueW RegCopyTreeA RegCopyTreeW
  RegSetKeyValueA RegSetKeyValueW RegDeleteKeyValueA RegDeleteKeyValueW RegLoadMUIStringA
  RegLoadMUIStringW RegDeleteKeyExA RegDeleteKeyExW RegOpenKeyTransactedA
  RegCreateKeyTransactedA RegDisableReflectionKey RegEnableReflectionKey RegQueryReflectionKey
  EventRegister EventUnregister EventWrite EventWriteString EventEnabled AddMandatoryAce
  InitiateShutdownA InitiateShutdownW)

set(newer_ws2_32
  inet_ntop inet_pton InetNtopW InetPtonW WSAPoll GetAddrInfoExA GetAddrInfoExW FreeAddrInfoEx
  SetAddrInfoExA WSAConnectByNameA WSAConnectByNameW WSAConnectByList WSASendMsg
  # XP SP2
  GetAddrInfoW FreeAddrInfoW GetNameInfoW)

set(newer_iphlpapi
  GetTcpTable2 GetTcp6Table GetTcp6Table2 GetUdp6Table GetIfTable2 GetIfEntry2 FreeMibTable
  GetIpInterfaceTable GetUnicastIpAddressTable GetIpNetTable2 ConvertInterfaceLuidToNameA
  ConvertInterfaceIndexToLuid if_nametoindex if_indextoname GetPerTcpConnectionEStats
  SetPerTcpConnectionEStats GetOwnerModuleFromTcpEntry GetOwnerModuleFromTcp6Entry
  NotifyIpInterfaceChange CancelMibChangeNotify2 GetBestRoute2
  # XP SP2
  GetExtendedTcpTable GetExtendedUdpTable)

set(newer_comctl32 TaskDialog TaskDialogIndirect LoadIconMetric LoadIconWithScaleDown
  ImageList_CoCreateInstance)
set(newer_psapi EnumProcessModulesEx)
set(newer_uxtheme BufferedPaintInit BufferedPaintUnInit BeginBufferedPaint EndBufferedPaint
  BeginBufferedAnimation EndBufferedAnimation DrawThemeTextEx SetWindowThemeAttribute
  GetThemeTransitionDuration OpenThemeDataForDpi)
set(newer_ole32 CoGetApartmentType CoRegisterInitializeSpy)
# XP's msvcrt.dll predates the "secure" CRT and the per-locale functions of Windows Vista's
# (no *_s, no *_l), and lacks what came with Server 2003 (the first x64 one) and later.
set(newer_msvcrt_suffixes _s _l)
set(newer_msvcrt
  # Server 2003
  ___lc_collate_cp_func __CxxFrameHandler2 __pwctype_func _abs64 _mkgmtime _mkgmtime64
  _rotl64 _rotr64 _wctype
  # Vista
  __CxxFrameHandler3 _fseeki64 _ftelli64 _get_errno _set_errno _get_doserrno _set_doserrno
  _get_fmode _set_fmode _get_output_format _set_output_format _get_invalid_parameter_handler
  _set_invalid_parameter_handler _invalid_parameter _initterm_e _freea _wassert _vcprintf
  _vcwprintf _mbsnlen _mbstrnlen strnlen wcsnlen btowc wctob mbrlen mbrtowc mbsrtowcs wcrtomb
  wcsrtombs
  # XP SP3 only
  _get_heap_handle
  # Windows 8
  _create_locale _free_locale _get_current_locale fabsf)

# The newest system (major.minor) each machine's XP is.
set(xp_version_i386 5.1)
set(xp_version_x86-64 5.2)

zorvik_programs_after_separator(programs)

# The value of a "Name<tab>hex-or-decimal" line of objdump's PE header dump, or "" when absent.
function(header_field headers field out_var)
  if(headers MATCHES "\n${field}[ \t]+([0-9a-fA-F]+)")
    set(${out_var} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  else()
    set(${out_var} "" PARENT_SCOPE)
  endif()
endfunction()

# Whether function, imported from dll (lower case, no extension), is one XP lacks.
function(is_newer dll function out_var)
  set(${out_var} FALSE PARENT_SCOPE)
  if(function IN_LIST newer_${dll})
    set(${out_var} TRUE PARENT_SCOPE)
    return()
  endif()
  foreach(prefix IN LISTS newer_${dll}_prefixes)
    string(LENGTH "${prefix}" length)
    string(SUBSTRING "${function}" 0 ${length} head)
    if(head STREQUAL prefix)
      set(${out_var} TRUE PARENT_SCOPE)
      return()
    endif()
  endforeach()
  foreach(suffix IN LISTS newer_${dll}_suffixes)
    string(LENGTH "${suffix}" length)
    string(LENGTH "${function}" function_length)
    if(function_length GREATER length)
      math(EXPR start "${function_length} - ${length}")
      string(SUBSTRING "${function}" ${start} ${length} tail)
      if(tail STREQUAL suffix)
        set(${out_var} TRUE PARENT_SCOPE)
        return()
      endif()
    endif()
  endforeach()
endfunction()

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

  # The header: XP refuses an image whose subsystem or system version is newer than itself.
  if(NOT headers MATCHES "file format pei-([a-z0-9-]+)")
    list(APPEND offences "  ${shown}: not a PE program")
    continue()
  endif()
  set(machine "${CMAKE_MATCH_1}")
  if(NOT DEFINED xp_version_${machine})
    list(APPEND offences "  ${shown}: no XP for machine ${machine}")
    continue()
  endif()
  set(xp_version ${xp_version_${machine}})
  foreach(kind Subsystem OSystem)
    header_field("${headers}" "Major${kind}Version" major)
    header_field("${headers}" "Minor${kind}Version" minor)
    if(major STREQUAL "" OR minor STREQUAL "")
      list(APPEND offences "  ${shown}: no ${kind} version in the PE header")
    elseif("${major}.${minor}" VERSION_GREATER xp_version)
      list(APPEND offences
           "  ${shown}: ${kind} version ${major}.${minor} is newer than XP's ${xp_version}")
    endif()
  endforeach()

  # The imports, DLL by DLL: objdump lists each DLL's functions after its "DLL Name:" line,
  # one "<vma> <hint> <name>" line each, until a blank line.
  # Brackets and semicolons would upset the split into a list of lines.
  string(REPLACE ";" "," headers "${headers}")
  string(REPLACE "[" "(" headers "${headers}")
  string(REPLACE "]" ")" headers "${headers}")
  string(REPLACE "\r" "" headers "${headers}")
  string(REPLACE "\n" ";" lines "${headers}")
  set(dll "")
  set(import_count 0)
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*DLL Name: *([^ \t]+)")
      string(TOLOWER "${CMAKE_MATCH_1}" dll)
      string(REGEX REPLACE "\\.dll$" "" dll "${dll}")
      foreach(pattern IN LISTS newer_dlls)
        string(REPLACE "*" ".*" pattern "${pattern}")
        if(dll MATCHES "^${pattern}$")
          list(APPEND offences "  ${shown}: needs ${CMAKE_MATCH_0}.dll, which XP does not have")
        endif()
      endforeach()
    elseif(line MATCHES "^[ \t]*$")
      set(dll "")
    elseif(dll AND line MATCHES "^[ \t]*[0-9a-fA-F]+[ \t]+[0-9]+[ \t]+([A-Za-z_][A-Za-z0-9_@?$]*)")
      set(function "${CMAKE_MATCH_1}")
      math(EXPR import_count "${import_count} + 1")
      is_newer(${dll} "${function}" newer)
      if(newer)
        list(APPEND offences "  ${shown}: imports ${function} from ${dll}.dll, which XP lacks")
      endif()
    endif()
  endforeach()
  if(import_count EQUAL 0)
    list(APPEND offences "  ${shown}: no imported functions found")
  endif()
  message(STATUS "${shown}: ${import_count} imported functions, for Windows ${xp_version} and later")
endforeach()

if(offences)
  list(JOIN offences "\n" report)
  message(FATAL_ERROR "Programs must load on Windows XP:\n${report}")
endif()

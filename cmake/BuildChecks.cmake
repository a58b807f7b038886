# Checks of the build itself, run by ctest with the other tests.

# The core reaches the system only through the platform interface.
add_test(NAME core_without_windows_headers
  COMMAND ${CMAKE_COMMAND}
          -DCORE_DIR=${PROJECT_SOURCE_DIR}/src/core
          "-DCORE_LIBRARIES=$<JOIN:$<TARGET_PROPERTY:zorvik_core,LINK_LIBRARIES>,|>"
          -P ${CMAKE_CURRENT_LIST_DIR}/CheckCoreIsolation.cmake)

# What the simulated and the Windows platform share builds on Linux too: no Windows header,
# neither implementation.
add_test(NAME platform_shared_without_windows_headers
  COMMAND ${CMAKE_COMMAND}
          -DCORE_DIR=${PROJECT_SOURCE_DIR}/src/platform/shared
          -DPART_NAME=platform/shared
          -P ${CMAKE_CURRENT_LIST_DIR}/CheckCoreIsolation.cmake)

# Every executable target of this project, in the directories under the source tree.
function(zorvik_collect_executables dir out_var)
  set(found "")
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      list(APPEND found ${target})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${subdir}" NORMALIZE inside)
    if(inside)
      zorvik_collect_executables(${subdir} sub_found)
      list(APPEND found ${sub_found})
    endif()
  endforeach()
  set(${out_var} ${found} PARENT_SCOPE)
endfunction()

if(WIN32)
  zorvik_collect_executables(${PROJECT_SOURCE_DIR} ZORVIK_EXECUTABLES)
  set(program_files "")
  foreach(target IN LISTS ZORVIK_EXECUTABLES)
    list(APPEND program_files $<TARGET_FILE:${target}>)
  endforeach()
  if(program_files)
    if(NOT CMAKE_OBJDUMP)
      message(FATAL_ERROR "No objdump for ${CMAKE_CXX_COMPILER}: cannot check the programs' DLLs")
    endif()
    add_test(NAME programs_need_only_system_dlls
      COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP}
              -P ${CMAKE_CURRENT_LIST_DIR}/CheckSystemDlls.cmake -- ${program_files})
  endif()
endif()

if(WIN32)
  # The programs that ship load on Windows XP: no function or DLL of a later Windows among
  # their imports, no newer system in their header.
  set(shipped_files "")
  foreach(target IN ITEMS zorvikc Zorvik)
    if(TARGET ${target})
      list(APPEND shipped_files $<TARGET_FILE:${target}>)
    endif()
  endforeach()
  if(shipped_files)
    add_test(NAME programs_load_on_windows_xp
      COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP}
              -P ${CMAKE_CURRENT_LIST_DIR}/CheckXpImports.cmake -- ${shipped_files})
  endif()

  # Nothing beside the programs is loaded into them at their start: they import only DLLs that
  # Windows takes from its own folder whatever the search order.
  if(shipped_files)
    add_test(NAME programs_import_only_system_folder_dlls
      COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP}
              -P ${CMAKE_CURRENT_LIST_DIR}/CheckImports.cmake -- ${shipped_files})
  endif()
  # The same check refuses a program that imports a library Windows searches for.
  add_executable(zorvik_plantable_import_program
    ${PROJECT_SOURCE_DIR}/tests/win32/imports/PlantableImportProgram.cpp)
  target_link_libraries(zorvik_plantable_import_program PRIVATE version)
  add_test(NAME import_check_refuses_searched_dll
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP}
            -P ${CMAKE_CURRENT_LIST_DIR}/CheckImports.cmake
            -- $<TARGET_FILE:zorvik_plantable_import_program>)
  set_tests_properties(import_check_refuses_searched_dll PROPERTIES
    PASS_REGULAR_EXPRESSION "imports VERSION\\.dll, which Windows may take from beside the program")

  # The same check refuses a program built for Windows Vista, for each of the two reasons.
  add_executable(zorvik_newer_windows_program ${PROJECT_SOURCE_DIR}/tests/win32/xp/NewerWindowsProgram.cpp)
  target_compile_definitions(zorvik_newer_windows_program PRIVATE _WIN32_WINNT=0x0600)
  target_link_options(zorvik_newer_windows_program PRIVATE
    -Wl,--major-subsystem-version,6,--minor-subsystem-version,0)
  foreach(reason IN ITEMS imports header)
    add_test(NAME xp_check_refuses_newer_${reason}
      COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP}
              -P ${CMAKE_CURRENT_LIST_DIR}/CheckXpImports.cmake
              -- $<TARGET_FILE:zorvik_newer_windows_program>)
  endforeach()
  set_tests_properties(xp_check_refuses_newer_imports PROPERTIES
    PASS_REGULAR_EXPRESSION "imports GetTickCount64 from kernel32\\.dll, which XP lacks")
  set_tests_properties(xp_check_refuses_newer_header PROPERTIES
    PASS_REGULAR_EXPRESSION "Subsystem version 6\\.0 is newer than XP's 5\\.[12]")
endif()

# Checks of the build itself, run by ctest with the other tests.

# The core reaches the system only through the platform interface.
add_test(NAME core_without_windows_headers
  COMMAND ${CMAKE_COMMAND}
          -DCORE_DIR=${PROJECT_SOURCE_DIR}/src/core
          "-DCORE_LIBRARIES=$<JOIN:$<TARGET_PROPERTY:zorvik_core,LINK_LIBRARIES>,|>"
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

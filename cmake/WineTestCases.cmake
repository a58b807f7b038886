# Registers the tests of one Windows GoogleTest program when ctest starts; included from the build
# tree's test file with the variables set by zorvik_wine_gtest (WineTests.cmake).
#
# The cases come from the program (--gtest_list_tests under Wine, redone only when the program is
# newer than the list). A program that cannot be listed is one test: where this machine cannot
# run it (a 32-bit program, a kernel without 32-bit support) that test is skipped and says why;
# where the listing failed otherwise it runs the program whole and passes only on a clean summary.

# The libraries PlantedLibrariesWin32Test plants beside the programs, searched for as Windows
# does; no such file lies beside any other program, so for the rest nothing changes.
set(run_environment "WINEPREFIX=${wineprefix};ZORVIK_WINE_TIMEOUT=540;ZORVIK_WINE_NATIVE_FIRST=iphlpapi,psapi,netapi32,ws2_32,version,wintrust,crypt32,comctl32")
set(skip_code 77)

# A listing takes seconds; the bound keeps a stuck Wine from holding ctest up for long.
execute_process(
  COMMAND ${cmake} -E env "WINEPREFIX=${wineprefix}" ZORVIK_WINE_TIMEOUT=120
          ${wine_run} --list ${program} ${case_list}
  RESULT_VARIABLE listed
  OUTPUT_QUIET)

if(NOT listed EQUAL 0)
  if(NOT listed EQUAL skip_code)
    message(WARNING "${name}: its cases could not be listed (${listed}); it runs as one test")
  endif()
  add_test(${name} ${wine_run} --gtest ${program})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine RESOURCE_LOCK wineprefix ENVIRONMENT "${run_environment}"
    SKIP_RETURN_CODE ${skip_code} TIMEOUT 600 WORKING_DIRECTORY ${working_directory})
  return()
endif()

add_test(${name} ${wine_run} --record ${record} ${program})
set_tests_properties(${name} PROPERTIES
  FIXTURES_SETUP ${name}_run FIXTURES_REQUIRED wine RESOURCE_LOCK wineprefix
  ENVIRONMENT "${run_environment}" TIMEOUT 600 WORKING_DIRECTORY ${working_directory}
  LABELS program_run)

add_test(${name}.summary ${gtest_verdict} --summary ${record})
set_tests_properties(${name}.summary PROPERTIES FIXTURES_REQUIRED ${name}_run TIMEOUT 60
  LABELS program_run)

file(STRINGS ${case_list} cases)
foreach(case IN LISTS cases)
  add_test(${name}.${case} ${gtest_verdict} ${record} ${case})
  set_tests_properties(${name}.${case} PROPERTIES FIXTURES_REQUIRED ${name}_run
    SKIP_RETURN_CODE ${skip_code} TIMEOUT 60)
  # GoogleTest lists its disabled cases but never runs them.
  if(case MATCHES "(^|/|\\.)DISABLED_")
    set_tests_properties(${name}.${case} PROPERTIES DISABLED TRUE)
  endif()
endforeach()

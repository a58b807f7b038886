# The GoogleTest programs of a Windows build as ctest tests under Wine, one test per case.
#
# Each program runs once, as on Windows its cases share one process, and every Wine start
# costs time: the test "NAME" runs it (scripts/wine-run.sh --record) and keeps its output; the
# tests "NAME.Suite.Case" then read their own verdict from that output (scripts/gtest-verdict.sh),
# a case skipped by GoogleTest shows as skipped; "NAME.summary" checks that the program ended with
# a summary that agrees with its exit code. The cases are listed when ctest starts, from the
# program itself (see WineTestCases.cmake).
#
# The tests of the program's run need the fixture "wine" (the tree's Wine prefix and server)
# and hold the lock "wineprefix": one prefix, one registry, one set of ports.

set(ZORVIK_WINE_RUN ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh)
set(ZORVIK_GTEST_VERDICT ${PROJECT_SOURCE_DIR}/scripts/gtest-verdict.sh)
set(ZORVIK_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)

function(zorvik_wine_gtest name)
  set(cases_script ${CMAKE_CURRENT_BINARY_DIR}/${name}_cases.cmake)
  file(GENERATE OUTPUT ${cases_script} CONTENT
"set(program [==[$<TARGET_FILE:${name}>]==])
set(name [==[${name}]==])
set(case_list [==[${CMAKE_CURRENT_BINARY_DIR}/${name}.cases]==])
set(record [==[${CMAKE_CURRENT_BINARY_DIR}/${name}.log]==])
set(cmake [==[${CMAKE_COMMAND}]==])
set(wine_run [==[${ZORVIK_WINE_RUN}]==])
set(gtest_verdict [==[${ZORVIK_GTEST_VERDICT}]==])
set(wineprefix [==[${ZORVIK_WINEPREFIX}]==])
set(working_directory [==[${CMAKE_BINARY_DIR}]==])
include([==[${CMAKE_CURRENT_FUNCTION_LIST_DIR}/WineTestCases.cmake]==])
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${cases_script})
endfunction()

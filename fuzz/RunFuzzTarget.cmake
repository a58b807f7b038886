# Runs one fuzz target for SECONDS over a fresh copy of its seed corpus in WORK, so that the
# inputs it finds never land in the source tree. Fails on any finding (a crash, a sanitizer
# report, a failed check, a timeout or running out of memory) and prints the runs made.
#   cmake -DTARGET=exe -DCORPUS=dir -DWORK=dir -DSECONDS=n -P RunFuzzTarget.cmake
foreach(var TARGET CORPUS WORK SECONDS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} not given")
  endif()
endforeach()
get_filename_component(name ${TARGET} NAME_WE)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/findings)
file(GLOB seeds ${CORPUS}/*)
if(NOT seeds)
  message(FATAL_ERROR "${name}: no seeds in ${CORPUS}")
endif()
file(COPY ${seeds} DESTINATION ${WORK}/corpus)

execute_process(
  COMMAND ${TARGET} -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048
          -print_final_stats=1 -artifact_prefix=${WORK}/findings/ ${WORK}/corpus
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
file(WRITE ${WORK}/log.txt "${output}")

set(runs "?")
if(output MATCHES "stat::number_of_executed_units: ([0-9]+)")
  set(runs ${CMAKE_MATCH_1})
endif()
file(GLOB findings ${WORK}/findings/*)
if(NOT result EQUAL 0 OR findings)
  string(LENGTH "${output}" length)
  if(length GREATER 6000)
    math(EXPR from "${length} - 6000")
    string(SUBSTRING "${output}" ${from} -1 output)
  endif()
  message("${output}")
  message(FATAL_ERROR "${name}: ${runs} runs, FINDING (exit ${result}); input kept in ${WORK}/findings, log in ${WORK}/log.txt")
endif()
message("${name}: ${runs} runs, no finding")

# Runs one fuzz target for a bounded time; run by the fuzz.run.<target> tests as
#   cmake -DFUZZER=<executable> -DSEED_DIR=<seeds> -DWORK_DIR=<folder> -DSECONDS=<n> -P RunFuzzer.cmake
# Each run starts from the seed corpus with an empty working corpus. Any crash, sanitizer
# report, leak, single allocation over 64 MB, memory use over 1 GB or one input running longer
# than INPUT_SECONDS (default 60, times PELLIX_TEST_TIME_SCALE when set) fails the test; the input
# that did it is left in <WORK_DIR>/artifacts/. The per-input limit catches an input that never
# ends: the slowest inputs (whole games played on a software renderer under the sanitizers) take
# a few seconds on a quiet machine and several times that on a loaded one, far below it.
foreach(variable FUZZER SEED_DIR WORK_DIR SECONDS)
  if(NOT ${variable})
    message(FATAL_ERROR "RunFuzzer.cmake needs -D${variable}=...")
  endif()
endforeach()
if(NOT EXISTS "${FUZZER}")
  message(FATAL_ERROR "${FUZZER} has not been built (the fuzz.build test builds it)")
endif()

file(REMOVE_RECURSE "${WORK_DIR}/corpus")
file(MAKE_DIRECTORY "${WORK_DIR}/corpus" "${WORK_DIR}/artifacts" "${SEED_DIR}")

# Full stacks for undefined behaviour; the fuzzer's output goes to standard error, and the
# game's own lines on standard output (the move-record log) are dropped (-close_fd_mask=1).
if(NOT INPUT_SECONDS)
  set(INPUT_SECONDS 60)
endif()
# The run's slow-down factor, rounded up to a whole number (CMake's arithmetic is in integers).
set(scale "$ENV{PELLIX_TEST_TIME_SCALE}")
if(scale MATCHES "^([0-9]+)(\\.([0-9]*))?$")
  set(scale_whole "${CMAKE_MATCH_1}")
  if("${CMAKE_MATCH_3}" MATCHES "[1-9]")
    math(EXPR scale_whole "${scale_whole} + 1")
  endif()
  if(scale_whole GREATER 1)
    math(EXPR INPUT_SECONDS "${INPUT_SECONDS} * ${scale_whole}")
  endif()
endif()

set(ENV{UBSAN_OPTIONS} "print_stacktrace=1:halt_on_error=1")
# Memory that system libraries (fontconfig, Mesa) keep for the process is not the game's leak.
set(ENV{LSAN_OPTIONS} "suppressions=${CMAKE_CURRENT_LIST_DIR}/../sanitizers/leak-suppressions.txt:print_suppressions=0")
find_program(symbolizer NAMES llvm-symbolizer llvm-symbolizer-16 llvm-symbolizer-15 llvm-symbolizer-14)
if(symbolizer)
  set(ENV{ASAN_SYMBOLIZER_PATH} "${symbolizer}")
endif()

execute_process(
  COMMAND "${FUZZER}"
          -max_total_time=${SECONDS} -timeout=${INPUT_SECONDS} -rss_limit_mb=1024 -malloc_limit_mb=64
          -close_fd_mask=1 -print_final_stats=1
          "-artifact_prefix=${WORK_DIR}/artifacts/"
          "${WORK_DIR}/corpus" "${SEED_DIR}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} found a fault (exit ${result}); the input is in ${WORK_DIR}/artifacts/")
endif()

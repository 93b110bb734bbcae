# Runs one fuzz target for a bounded time; run by the fuzz.run.<target> tests as
#   cmake -DFUZZER=<executable> -DSEED_DIR=<seeds> -DWORK_DIR=<folder> -DSECONDS=<n> -P RunFuzzer.cmake
# Each run starts from the seed corpus with an empty working corpus. Any crash, sanitizer
# report, leak, time-out of one input (10 s), single allocation over 64 MB or memory use over
# 1 GB fails the test; the input that did it is left in <WORK_DIR>/artifacts/.
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
set(ENV{UBSAN_OPTIONS} "print_stacktrace=1:halt_on_error=1")
# Memory that system libraries (fontconfig, Mesa) keep for the process is not the game's leak.
set(ENV{LSAN_OPTIONS} "suppressions=${CMAKE_CURRENT_LIST_DIR}/../sanitizers/leak-suppressions.txt:print_suppressions=0")
find_program(symbolizer NAMES llvm-symbolizer llvm-symbolizer-16 llvm-symbolizer-15 llvm-symbolizer-14)
if(symbolizer)
  set(ENV{ASAN_SYMBOLIZER_PATH} "${symbolizer}")
endif()

execute_process(
  COMMAND "${FUZZER}"
          -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=1024 -malloc_limit_mb=64
          -close_fd_mask=1 -print_final_stats=1
          "-artifact_prefix=${WORK_DIR}/artifacts/"
          "${WORK_DIR}/corpus" "${SEED_DIR}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} found a fault (exit ${result}); the input is in ${WORK_DIR}/artifacts/")
endif()

# The suite's temporary directory: MODE=prepare makes FOLDER and empties it before the first
# test; MODE=check, after the last, removes the run-* folders of test runs that were killed
# before their runner could remove them (those tests have failed already), and fails naming
# every other entry: something a test wrote outside its own temporary directory.
if(MODE STREQUAL "prepare")
  file(REMOVE_RECURSE "${FOLDER}")
  file(MAKE_DIRECTORY "${FOLDER}")
elseif(MODE STREQUAL "check")
  file(GLOB killed LIST_DIRECTORIES true "${FOLDER}/run-*")
  if(killed)
    list(LENGTH killed count)
    message(STATUS "Removed the temporary directories of ${count} killed test run(s).")
    file(REMOVE_RECURSE ${killed})
  endif()
  file(GLOB leftovers LIST_DIRECTORIES true RELATIVE "${FOLDER}" "${FOLDER}/*" "${FOLDER}/.*")
  if(leftovers)
    list(JOIN leftovers "\n  " named)
    message(FATAL_ERROR "The tests left these in the temporary directory ${FOLDER}:\n  ${named}")
  endif()
  message(STATUS "The temporary directory ${FOLDER} is empty after the tests.")
else()
  message(FATAL_ERROR "MODE must be prepare or check")
endif()

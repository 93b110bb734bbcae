# Configures and builds the fuzz project with clang; run by the fuzz.build test as
#   cmake -DSOURCE_DIR=<tests/fuzz/project> -DBINARY_DIR=<build>/fuzz -DCXX_COMPILER=<clang++>
#         [-DGENERATOR=<generator>] [-DRESOURCE_DIR=<build>/resources] -P BuildFuzzers.cmake
foreach(variable SOURCE_DIR BINARY_DIR)
  if(NOT ${variable})
    message(FATAL_ERROR "BuildFuzzers.cmake needs -D${variable}=...")
  endif()
endforeach()
if(NOT CXX_COMPILER OR NOT EXISTS "${CXX_COMPILER}")
  message(FATAL_ERROR "clang++ was not found when the build was configured; install it with "
                      "scripts/install-deps.sh and configure the build again")
endif()

set(generator_option)
if(GENERATOR AND NOT EXISTS "${BINARY_DIR}/CMakeCache.txt")
  set(generator_option -G "${GENERATOR}")
endif()
# The play target draws with the images that the main build generated.
set(resource_option)
if(RESOURCE_DIR)
  set(resource_option "-DPELLIX_FUZZ_RESOURCE_DIR=${RESOURCE_DIR}")
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -S "${SOURCE_DIR}" -B "${BINARY_DIR}" ${generator_option}
          "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}" ${resource_option}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "configuring the fuzz project in ${BINARY_DIR} failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build "${BINARY_DIR}" --parallel 2 RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "building the fuzz project in ${BINARY_DIR} failed")
endif()

# Run after a GoogleTest binary is built (cmake -P): lists its tests and writes, for ctest,
# one entry per test suite that runs the binary on that suite alone.
#   -D PROGRAM=path/to/test/binary  -D OUTPUT=path/to/entries.cmake  -D WORKING_DIRECTORY=dir
execute_process(COMMAND "${PROGRAM}" --gtest_list_tests
                OUTPUT_VARIABLE listing RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --gtest_list_tests failed (${status}):\n${errors}")
endif()
# A suite is a line that does not start with a space: "Suite." or "Prefix/Suite.  # TypeParam".
string(REPLACE "\n" ";" lines "${listing}")
set(content "")
foreach(line IN LISTS lines)
  if(line MATCHES "^([^ #][^ ]*)\\.")
    set(suite "${CMAKE_MATCH_1}")
    string(APPEND content
           "add_test([==[${suite}]==] [==[${PROGRAM}]==] [==[--gtest_filter=${suite}.*]==])\n"
           "set_tests_properties([==[${suite}]==] PROPERTIES WORKING_DIRECTORY [==[${WORKING_DIRECTORY}]==] TIMEOUT 300)\n")
  endif()
endforeach()
if(content STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} lists no tests")
endif()
file(WRITE "${OUTPUT}.new" "${content}")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")

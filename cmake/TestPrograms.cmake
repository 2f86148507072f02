# Registering GoogleTest programs with CTest.
#
# Every test registered here writes a GoogleTest XML report named after the
# CTest test into TEST_RESULTS_DIR; scripts/test counts the individual cases
# from those reports. A test that ends without writing its report (a crash, a
# timeout) is counted from CTest's verdict instead.

set(TEST_RESULTS_DIR "${CMAKE_BINARY_DIR}/test-results" CACHE PATH
    "Where test programs write their GoogleTest XML reports")
file(MAKE_DIRECTORY "${TEST_RESULTS_DIR}")

# add_unit_test(NAME <name> TARGET <target> [WORKING_DIRECTORY <dir>]
#               [ARGS <arg>...])
#
# Runs a native test program as one CTest test <name>.
function(add_unit_test)
    cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME;TARGET;WORKING_DIRECTORY" "ARGS")
    if(arg_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "add_unit_test: unknown arguments ${arg_UNPARSED_ARGUMENTS}")
    endif()
    if(NOT arg_NAME OR NOT arg_TARGET)
        message(FATAL_ERROR "add_unit_test: NAME and TARGET are required")
    endif()
    if(NOT arg_WORKING_DIRECTORY)
        set(arg_WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
    endif()
    add_test(NAME "${arg_NAME}"
        COMMAND $<TARGET_FILE:${arg_TARGET}> ${arg_ARGS}
        WORKING_DIRECTORY "${arg_WORKING_DIRECTORY}")
    set_tests_properties("${arg_NAME}" PROPERTIES
        ENVIRONMENT "GTEST_OUTPUT=xml:${TEST_RESULTS_DIR}/${arg_NAME}.xml"
        LABELS "unit")
endfunction()

if(WIN32)
    include("${CMAKE_CURRENT_LIST_DIR}/WineTests.cmake")
endif()

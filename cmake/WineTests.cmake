# Running Windows test programs under Wine.
#
# Each Windows family has its own Wine prefix under WINE_PREFIX_ROOT:
#   nt  - Wine's default, a Windows NT family system (platform id 2)
#   9x  - HKCU\Software\Wine "Version" = "win98" (platform id 1)
# scripts/wine-prefix sets a prefix up on first use; scripts/wine-run runs a
# program in it. Tests of one family take turns (they share the Windows
# directory and the registry of their prefix); the two families run side by
# side.

set(WINE_PREFIX_ROOT "${CMAKE_BINARY_DIR}/wine" CACHE PATH
    "Where the Wine prefixes of the Windows families live")
set(WINE_FAMILIES nt 9x)

# add_wine_test(NAME <name> TARGET <target> FAMILIES <family>...
#               [WORKING_DIRECTORY <dir>] [ARGS <arg>...])
#
# Registers one CTest test <name>.<family> per family, running the Windows
# program <target> under Wine in that family's prefix, told which family it
# is in by --family=<family> before ARGS: the tests expect what that family
# reports (platform id, shell folders).
function(add_wine_test)
    cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME;TARGET;WORKING_DIRECTORY" "FAMILIES;ARGS")
    if(arg_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "add_wine_test: unknown arguments ${arg_UNPARSED_ARGUMENTS}")
    endif()
    if(NOT arg_NAME OR NOT arg_TARGET OR NOT arg_FAMILIES)
        message(FATAL_ERROR "add_wine_test: NAME, TARGET and FAMILIES are required")
    endif()
    if(NOT arg_WORKING_DIRECTORY)
        set(arg_WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
    endif()
    foreach(family IN LISTS arg_FAMILIES)
        if(NOT family IN_LIST WINE_FAMILIES)
            message(FATAL_ERROR
                "add_wine_test: unknown family '${family}' (known: ${WINE_FAMILIES})")
        endif()
        set(test "${arg_NAME}.${family}")
        add_test(NAME "${test}"
            COMMAND "${PROJECT_SOURCE_DIR}/scripts/wine-run" ${family}
                    $<TARGET_FILE:${arg_TARGET}> --family=${family} ${arg_ARGS}
            WORKING_DIRECTORY "${arg_WORKING_DIRECTORY}")
        # The program sees the report path as a Windows path: drive Z: is the
        # Unix root in every Wine prefix.
        set_tests_properties("${test}" PROPERTIES
            ENVIRONMENT "WINE_PREFIX_ROOT=${WINE_PREFIX_ROOT};GTEST_OUTPUT=xml:Z:${TEST_RESULTS_DIR}/${test}.xml"
            LABELS "wine;wine-${family}"
            RESOURCE_LOCK "wine-${family}")
    endforeach()
endfunction()

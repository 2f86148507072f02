# GoogleTest and GoogleMock, built from the sources of Debian's package
# googletest with the compiler, flags and runtime of this build: the same way
# for the native build, the sanitizer build and the mingw-w64 build.
#
# Targets: GTest::gtest, GTest::gtest_main, GTest::gmock, GTest::gmock_main.

set(GOOGLETEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH
    "GoogleTest sources (Debian package googletest)")

if(NOT EXISTS "${GOOGLETEST_SOURCE_DIR}/CMakeLists.txt")
    message(FATAL_ERROR
        "No GoogleTest sources in ${GOOGLETEST_SOURCE_DIR}. "
        "Install the Debian package googletest (scripts/install-deps does).")
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
if(WIN32)
    # GoogleTest uses Win32 threads on Windows; keep winpthreads out of it.
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
endif()

add_subdirectory("${GOOGLETEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/googletest"
    EXCLUDE_FROM_ALL SYSTEM)

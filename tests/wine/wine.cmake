# The 64-bit Windows build under Wine on a private X server, where 64-bit
# Wine, Xvfb, xdotool, xwd and the x86_64 MinGW compiler are all at hand.
# The .scr is built as a project of its own inside this build, so that it is
# always current when the tests run.
option(OSTREL_WINE_TESTS "Run the 64-bit Windows build under Wine" ON)
if(NOT OSTREL_WINE_TESTS)
    return()
endif()

# Debian keeps wine64 and its server out of PATH.
find_program(OSTREL_WINE64 NAMES wine64 PATHS /usr/lib/wine)
if(OSTREL_WINE64)
    get_filename_component(ostrel_wine_dir ${OSTREL_WINE64} DIRECTORY)
    find_program(OSTREL_WINESERVER NAMES wineserver wineserver64 HINTS ${ostrel_wine_dir})
endif()
find_program(OSTREL_MINGW64_CXX x86_64-w64-mingw32-g++)
find_program(OSTREL_XVFB Xvfb)
find_program(OSTREL_XDOTOOL xdotool)
find_program(OSTREL_XWD xwd)
if(NOT (OSTREL_WINE64 AND OSTREL_WINESERVER AND OSTREL_MINGW64_CXX AND OSTREL_XVFB AND OSTREL_XDOTOOL AND OSTREL_XWD))
    return()
endif()

include(ExternalProject)
set(OSTREL_WIN64_DIR ${CMAKE_BINARY_DIR}/win64)
ExternalProject_Add(ostrel_win64
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${OSTREL_WIN64_DIR}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${OSTREL_WIN64_DIR}/ostrel.scr)

file(GLOB ostrel_wine_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_executable(ostrel_wine_tests ${ostrel_wine_sources} ${CMAKE_SOURCE_DIR}/tests/e2e/e2e_support.cpp)
target_include_directories(ostrel_wine_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(ostrel_wine_tests PRIVATE
    OSTREL_BINARY_DIR="${CMAKE_BINARY_DIR}"
    OSTREL_WINE64_PATH="${OSTREL_WINE64}"
    OSTREL_WINESERVER_PATH="${OSTREL_WINESERVER}"
    OSTREL_WIN64_SCR_PATH="${OSTREL_WIN64_DIR}/ostrel.scr")
target_link_libraries(ostrel_wine_tests PRIVATE ostrel_png GTest::gtest GTest::gtest_main)
add_dependencies(ostrel_wine_tests ostrel_win64)
# One ctest entry: the cases share the run's one prefix and take turns on it.
add_test(NAME ostrel_wine_tests COMMAND ostrel_wine_tests)
set_tests_properties(ostrel_wine_tests PROPERTIES TIMEOUT 600)

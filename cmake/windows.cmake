# The Windows x64 product: static runtime, no MinGW DLLs needed beside the programs.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++ -municode)

file(GLOB VELMORA_WIN32_SOURCES CONFIGURE_DEPENDS platform/win32/*.cpp)
add_library(velmora_platform_win32 STATIC ${VELMORA_WIN32_SOURCES})
# Only what every start needs is imported; the shell, the common dialogs and controls, themes and
# COM are loaded at their first use (SystemLibrary.h).
target_link_libraries(velmora_platform_win32 PUBLIC velmora_core uuid advapi32 user32 gdi32 kernel32)

enable_language(RC)
# One version, from the project's, for every program's version resource and the installer.
configure_file(platform/win32/resources/VelmoraVersion.h.in
               ${CMAKE_BINARY_DIR}/generated/VelmoraVersion.h @ONLY)
add_executable(Velmora WIN32 app/win32/VelmoraMain.cpp platform/win32/resources/Velmora.rc)
target_include_directories(Velmora PRIVATE platform/win32/resources ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(Velmora PRIVATE velmora_platform_win32)

# Stand-in programs and the UI probe used by the end-to-end tests.
add_executable(StandInGui WIN32 tests/tools/StandInGui.cpp)
add_executable(StandInConsole tests/tools/StandInConsole.cpp)
target_link_libraries(StandInGui PRIVATE shell32)
# The same stand-in with the version resource of a Beyond Compare 4 program.
add_executable(StandInGuiVersion4 WIN32 tests/tools/StandInGui.cpp tests/tools/StandInVersion4.rc)
target_link_libraries(StandInGuiVersion4 PRIVATE shell32)
target_link_libraries(StandInConsole PRIVATE shell32)
add_executable(StandInSender WIN32 tests/tools/StandInSender.cpp)
target_link_libraries(StandInSender PRIVATE shell32)
add_executable(PvcsStandIn tests/tools/PvcsStandIn.cpp)
add_executable(RequestBench tests/tools/RequestBench.cpp)
add_executable(EmptyGui WIN32 tests/tools/EmptyGui.cpp)
add_executable(VersionProbe tests/tools/VersionProbe.cpp)
target_link_libraries(VersionProbe PRIVATE version)
add_executable(PressButton tests/tools/PressButton.cpp)
add_executable(UiProbe tests/tools/UiProbe.cpp)
target_link_libraries(UiProbe PRIVATE gdi32)
add_executable(HelperStandIn WIN32 tests/tools/HelperStandIn.cpp)
target_link_libraries(HelperStandIn PRIVATE advapi32)
add_executable(DialogProbe tests/tools/DialogProbe.cpp)
target_include_directories(DialogProbe PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(DialogProbe PRIVATE gdi32)

# Windows-side tests of the platform services, run under Wine. GoogleTest is built from
# Debian's sources (package googletest) with the MinGW compiler.
set(VELMORA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the MinGW build")
file(GLOB VELMORA_WIN32_TESTS CONFIGURE_DEPENDS tests/win32/*.cpp)
if(VELMORA_WIN32_TESTS AND EXISTS ${VELMORA_GTEST_SOURCE}/CMakeLists.txt)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VELMORA_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  target_compile_options(gtest PRIVATE -w)  # third-party code: not held to our warning flags
  add_executable(velmora_win32_tests ${VELMORA_WIN32_TESTS})
  target_link_libraries(velmora_win32_tests PRIVATE velmora_platform_win32 velmora_platform_memory gtest)
  # The portable core's unit tests built for Windows too: the same logic, the other compiler
  # and C runtime.
  file(GLOB VELMORA_UNIT_TESTS CONFIGURE_DEPENDS tests/unit/*.cpp)
  add_executable(velmora_unit_tests_win ${VELMORA_UNIT_TESTS} tests/tools/GTestWMain.cpp)
  target_link_libraries(velmora_unit_tests_win PRIVATE velmora_platform_memory gtest)
  # GCC 12 at -O3 misreads the brace-initialised test tables as possibly uninitialised.
  target_compile_options(velmora_unit_tests_win PRIVATE -Wno-maybe-uninitialized)
endif()
include(cmake/helper-server.cmake)
include(cmake/installer.cmake)

# Native unit tests, benchmarks and the end-to-end driver for the Windows program under Wine.
enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB VELMORA_UNIT_TESTS CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(velmora_tests ${VELMORA_UNIT_TESTS})
target_link_libraries(velmora_tests PRIVATE velmora_platform_memory GTest::gtest GTest::gtest_main)
gtest_discover_tests(velmora_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS unit)

find_package(benchmark QUIET)
file(GLOB VELMORA_BENCH_SOURCES CONFIGURE_DEPENDS bench/*.cpp)
if(benchmark_FOUND AND VELMORA_BENCH_SOURCES)
  add_executable(velmora_bench ${VELMORA_BENCH_SOURCES})
  target_link_libraries(velmora_bench PRIVATE velmora_platform_memory benchmark::benchmark
                                              benchmark::benchmark_main)
endif()

# End-to-end tests: drive the real Velmora.exe under Wine. They need the win64 build;
# VELMORA_WIN64_BIN points at its bin folder.
set(VELMORA_WIN64_BIN "${CMAKE_SOURCE_DIR}/build/win64/bin" CACHE PATH "Folder with the Windows binaries")
file(GLOB VELMORA_E2E_SOURCES CONFIGURE_DEPENDS tests/e2e/*.cpp)
if(VELMORA_E2E_SOURCES)
  add_executable(velmora_e2e ${VELMORA_E2E_SOURCES})
  target_link_libraries(velmora_e2e PRIVATE GTest::gtest GTest::gtest_main)
  target_compile_definitions(velmora_e2e PRIVATE VELMORA_WIN64_BIN="${VELMORA_WIN64_BIN}"
                                                 VELMORA_E2E_WORK="${CMAKE_BINARY_DIR}/e2e"
                                                 VELMORA_VERSION="${PROJECT_VERSION}")
  # Each test gets a fresh Wine prefix; they share one display and run one at a time.
  gtest_discover_tests(velmora_e2e DISCOVERY_TIMEOUT 60
                       PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 180)
endif()

# Differential test of the pattern matcher against PCRE2's 16-bit library (libpcre2-dev).
find_library(PCRE2_16_LIBRARY pcre2-16 REQUIRED)
find_path(PCRE2_INCLUDE_DIR pcre2.h REQUIRED)
file(GLOB VELMORA_DIFFERENTIAL_TESTS CONFIGURE_DEPENDS tests/differential/*.cpp)
if(VELMORA_DIFFERENTIAL_TESTS)
  add_executable(velmora_pattern_diff ${VELMORA_DIFFERENTIAL_TESTS})
  target_include_directories(velmora_pattern_diff PRIVATE ${PCRE2_INCLUDE_DIR})
  target_link_libraries(velmora_pattern_diff PRIVATE velmora_core ${PCRE2_16_LIBRARY}
                                                     GTest::gtest GTest::gtest_main)
  gtest_discover_tests(velmora_pattern_diff DISCOVERY_TIMEOUT 60 PROPERTIES LABELS unit)
endif()

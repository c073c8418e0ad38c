# VelmoraHelper.exe, the deferred-deletion COM server, and the test programs that talk to it.
# widl (package mingw-w64-tools) turns the IDL into the type library embedded in the program
# and the C++ header of IVelmora; Wine's IDL files (package libwine-dev) provide oaidl.idl and
# stdole2.tlb.
find_program(VELMORA_WIDL NAMES x86_64-w64-mingw32-widl widl REQUIRED)
set(VELMORA_WINE_IDL_DIR /usr/include/wine/wine/windows CACHE PATH "Wine's IDL files")
set(VELMORA_WINE_TLB_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows
    CACHE PATH "Wine's stdole2.tlb")

set(VELMORA_HELPER_SOURCE ${CMAKE_SOURCE_DIR}/app/win32/helper)
set(VELMORA_HELPER_GENERATED ${CMAKE_BINARY_DIR}/helper-generated)
file(MAKE_DIRECTORY ${VELMORA_HELPER_GENERATED})
add_custom_command(
  OUTPUT ${VELMORA_HELPER_GENERATED}/VelmoraHelper.tlb ${VELMORA_HELPER_GENERATED}/VelmoraHelper_h.h
  COMMAND ${VELMORA_WIDL} --win64 -I${VELMORA_WINE_IDL_DIR} -L${VELMORA_WINE_TLB_DIR}
          -h -H ${VELMORA_HELPER_GENERATED}/VelmoraHelper_h.h
          -t -T ${VELMORA_HELPER_GENERATED}/VelmoraHelper.tlb
          ${VELMORA_HELPER_SOURCE}/VelmoraHelper.idl
  DEPENDS ${VELMORA_HELPER_SOURCE}/VelmoraHelper.idl
  COMMENT "Compiling the VelmoraHelper type library"
  VERBATIM)

# The resource script names the type library; windres finds it through the include path.
enable_language(RC)
set_source_files_properties(${VELMORA_HELPER_SOURCE}/VelmoraHelper.rc PROPERTIES
  OBJECT_DEPENDS ${VELMORA_HELPER_GENERATED}/VelmoraHelper.tlb)

# The server's COM side as a library, so that a Windows-side test can drive its object in
# process; the program adds only its entry.
file(GLOB VELMORA_HELPER_SOURCES CONFIGURE_DEPENDS ${VELMORA_HELPER_SOURCE}/*.cpp)
list(REMOVE_ITEM VELMORA_HELPER_SOURCES ${VELMORA_HELPER_SOURCE}/HelperMain.cpp)
add_library(velmora_helper_server STATIC ${VELMORA_HELPER_SOURCES}
  ${VELMORA_HELPER_GENERATED}/VelmoraHelper_h.h)
# The generated header is not ours to hold to the warning flags.
target_include_directories(velmora_helper_server SYSTEM PUBLIC ${VELMORA_HELPER_GENERATED})
# The resource script's version, icon and manifest.
target_include_directories(velmora_helper_server PUBLIC ${CMAKE_SOURCE_DIR}/platform/win32/resources
                                                        ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(velmora_helper_server PUBLIC velmora_platform_win32 ole32 oleaut32 uuid
                                                   shell32)

add_executable(VelmoraHelper WIN32 ${VELMORA_HELPER_SOURCE}/HelperMain.cpp
  ${VELMORA_HELPER_SOURCE}/VelmoraHelper.rc ${VELMORA_HELPER_GENERATED}/VelmoraHelper.tlb)
target_link_libraries(VelmoraHelper PRIVATE velmora_helper_server)

# Test programs: a minimal COM client of the server and a program that holds a file open.
add_executable(HelperClient tests/tools/HelperClient.cpp)
target_link_libraries(HelperClient PRIVATE ole32 oleaut32 uuid)
add_executable(HoldFile tests/tools/HoldFile.cpp)

# Windows-side tests of the server's COM object in process, run under Wine.
file(GLOB VELMORA_HELPER_WIN32_TESTS CONFIGURE_DEPENDS tests/win32helper/*.cpp)
if(VELMORA_HELPER_WIN32_TESTS AND TARGET gtest)
  add_executable(velmora_helper_win_tests ${VELMORA_HELPER_WIN32_TESTS}
    ${VELMORA_HELPER_SOURCE}/VelmoraHelper.rc ${VELMORA_HELPER_GENERATED}/VelmoraHelper.tlb
    tests/tools/GTestWMain.cpp)
  target_link_libraries(velmora_helper_win_tests PRIVATE velmora_helper_server gtest)
endif()

# Starts a program through the shell ("open" or "runas"), as the setup dialog does.
add_executable(ShellRun tests/tools/ShellRun.cpp)
target_link_libraries(ShellRun PRIVATE shell32)

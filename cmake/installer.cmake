# The installer, built with the programs by NSIS from Debian's packages:
# Velmora-Setup-<version>.exe beside the bin folder. The end-to-end tests also get a build of it
# that can be stopped before each step (tests/Velmora-Setup-stops.exe), never shipped.
find_program(VELMORA_MAKENSIS makensis)
if(VELMORA_MAKENSIS AND TARGET VelmoraHelper)
  set(VELMORA_SETUP ${CMAKE_BINARY_DIR}/Velmora-Setup-${PROJECT_VERSION}.exe)
  set(VELMORA_SETUP_STOPS ${CMAKE_BINARY_DIR}/tests/Velmora-Setup-stops.exe)
  set(VELMORA_SETUP_DEPENDS Velmora VelmoraHelper ${CMAKE_SOURCE_DIR}/installer/Velmora.nsi
                            ${CMAKE_SOURCE_DIR}/platform/win32/resources/Velmora.ico)
  add_custom_command(
    OUTPUT ${VELMORA_SETUP}
    COMMAND ${VELMORA_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DBIN=$<TARGET_FILE_DIR:Velmora>
            -DOUTFILE=${VELMORA_SETUP} ${CMAKE_SOURCE_DIR}/installer/Velmora.nsi
    DEPENDS ${VELMORA_SETUP_DEPENDS}
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/installer
    COMMENT "Building the installer")
  add_custom_command(
    OUTPUT ${VELMORA_SETUP_STOPS}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/tests
    COMMAND ${VELMORA_MAKENSIS} -V2 -DSTOPS -DVERSION=${PROJECT_VERSION}
            -DBIN=$<TARGET_FILE_DIR:Velmora> -DOUTFILE=${VELMORA_SETUP_STOPS}
            ${CMAKE_SOURCE_DIR}/installer/Velmora.nsi
    DEPENDS ${VELMORA_SETUP_DEPENDS}
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/installer
    COMMENT "Building the installer for the tests")
  add_custom_target(installer ALL DEPENDS ${VELMORA_SETUP} ${VELMORA_SETUP_STOPS})
endif()

# The installer, built with the programs by NSIS from Debian's packages:
# Velmora-Setup-<version>.exe beside the bin folder.
find_program(VELMORA_MAKENSIS makensis)
if(VELMORA_MAKENSIS AND TARGET VelmoraHelper)
  set(VELMORA_SETUP ${CMAKE_BINARY_DIR}/Velmora-Setup-${PROJECT_VERSION}.exe)
  add_custom_command(
    OUTPUT ${VELMORA_SETUP}
    COMMAND ${VELMORA_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DBIN=$<TARGET_FILE_DIR:Velmora>
            -DOUTFILE=${VELMORA_SETUP} ${CMAKE_SOURCE_DIR}/installer/Velmora.nsi
    DEPENDS Velmora VelmoraHelper ${CMAKE_SOURCE_DIR}/installer/Velmora.nsi
            ${CMAKE_SOURCE_DIR}/platform/win32/resources/Velmora.ico
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/installer
    COMMENT "Building the installer")
  add_custom_target(installer ALL DEPENDS ${VELMORA_SETUP})
endif()

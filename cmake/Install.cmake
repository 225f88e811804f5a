# Installing: the four programs and everything they find beside them go into one program
# folder, <prefix>/lib/brantock; desktop entries, the icon and the bus's activation file go
# where the desktop looks for them. Entries written at install time name the installed
# programs, whatever prefix `cmake --install --prefix` gives.
set(BRANTOCK_INSTALL_DIR lib/brantock)

install(TARGETS brantock brantockreports brantockmultiportconfig brantockmultiportloader
    RUNTIME DESTINATION ${BRANTOCK_INSTALL_DIR})
install(FILES ${BRANTOCK_PROGRAM_DIR}/empty.hbt DESTINATION ${BRANTOCK_INSTALL_DIR})
install(DIRECTORY ${BRANTOCK_PROGRAM_DIR}/sounds ${BRANTOCK_PROGRAM_DIR}/help
    DESTINATION ${BRANTOCK_INSTALL_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/brantock.png
    DESTINATION share/icons/hicolor/128x128/apps)

configure_file(${PROJECT_SOURCE_DIR}/cmake/InstallEntries.cmake.in
    ${PROJECT_BINARY_DIR}/InstallEntries.cmake @ONLY)
install(SCRIPT ${PROJECT_BINARY_DIR}/InstallEntries.cmake)

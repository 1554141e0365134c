# The desktop integration: the .desktop entry, the image resources and what
# `cmake --install` puts in place.
set(resources ${PROJECT_SOURCE_DIR}/resources)

# desktop-file-validate passes entries with warnings; they are faults here too.
# Without the tool the test fails rather than the whole configuration.
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  add_test(NAME packaging_desktop_entry COMMAND ${DESKTOP_FILE_VALIDATE} ${resources}/${ORYX_APP_ID}.desktop)
else()
  add_test(NAME packaging_desktop_entry COMMAND ${CMAKE_COMMAND} -E echo
    "error: desktop-file-validate not found (Debian package desktop-file-utils)")
endif()
set_tests_properties(packaging_desktop_entry PROPERTIES FAIL_REGULAR_EXPRESSION "error:;warning:")

add_test(NAME packaging_qrc_files COMMAND ${CMAKE_COMMAND}
  -DQRC=${resources}/oryx.qrc -P ${CMAKE_CURRENT_SOURCE_DIR}/packaging_qrc_check.cmake)

add_test(NAME packaging_install COMMAND ${CMAKE_COMMAND}
  -DBUILD_DIR=${PROJECT_BINARY_DIR} -DAPP_ID=${ORYX_APP_ID} -DDEST=${CMAKE_CURRENT_BINARY_DIR}/packaging_install
  -P ${CMAKE_CURRENT_SOURCE_DIR}/packaging_install_check.cmake)

# The images as Qt draws them from the compiled resources; SVG needs the
# Qt SVG plugins (Debian package libqt6svg6) at run time.
add_executable(packaging_test packaging_test.cpp ${resources}/oryx.qrc)
set_target_properties(packaging_test PROPERTIES AUTORCC ON)
target_link_libraries(packaging_test PRIVATE Qt6::Gui Qt6::Test)
add_test(NAME packaging_test COMMAND packaging_test)
set_tests_properties(packaging_test PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ORYX_RESOURCES=${resources}" TIMEOUT 60)

# The manual pages (built by packaging/ from docs/man) against the programs'
# --help; a command or option that --help lists and the page does not fails.
foreach(program oryx oryx-cli)
  add_test(NAME packaging_man_${program} COMMAND ${CMAKE_COMMAND}
    -DPROGRAM=$<TARGET_FILE:${program}> -DPAGE=${PROJECT_BINARY_DIR}/man/${program}.1
    -P ${CMAKE_CURRENT_SOURCE_DIR}/packaging_man_check.cmake)
  set_tests_properties(packaging_man_${program} PROPERTIES TIMEOUT 60 ENVIRONMENT "MANWIDTH=80")
endforeach()

# The bash completion of oryx-cli, driven as bash drives it on Tab.
add_test(NAME packaging_completion COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/packaging_completion_test.sh
  ${PROJECT_SOURCE_DIR}/packaging/bash-completion/oryx-cli $<TARGET_FILE:oryx-cli> ${PROJECT_SOURCE_DIR}/examples)
set_tests_properties(packaging_completion PROPERTIES TIMEOUT 60)

# The AppStream entry as configured for the package; without the tool the test
# fails rather than the configuration.
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
  add_test(NAME packaging_metainfo COMMAND ${APPSTREAMCLI} validate --no-net --pedantic
    ${PROJECT_BINARY_DIR}/packaging/${ORYX_APP_ID}.metainfo.xml)
else()
  add_test(NAME packaging_metainfo COMMAND ${CMAKE_COMMAND} -E echo
    "error: appstreamcli not found (Debian package appstream)")
endif()
set_tests_properties(packaging_metainfo PROPERTIES FAIL_REGULAR_EXPRESSION "error:|E:|W:" TIMEOUT 60)

# Both programs print the project's version; the window program before it
# needs a display, so none is given.
string(REPLACE "." "\\." version_pattern ${PROJECT_VERSION})
foreach(program oryx oryx-cli)
  add_test(NAME packaging_version_${program} COMMAND ${CMAKE_COMMAND} -E env
    --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM $<TARGET_FILE:${program}> --version)
  set_tests_properties(packaging_version_${program} PROPERTIES
    PASS_REGULAR_EXPRESSION "^${program} ${version_pattern}\n$" TIMEOUT 30)
endforeach()

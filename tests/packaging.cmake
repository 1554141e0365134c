# The desktop integration: the .desktop entry, the image resources and what
# `cmake --install` puts in place.
set(resources ${PROJECT_SOURCE_DIR}/resources)

# desktop-file-validate passes entries with warnings; they are faults here too.
# Without the tool the test fails rather than the whole configuration.
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  add_test(NAME packaging_desktop_entry COMMAND ${DESKTOP_FILE_VALIDATE} ${resources}/oryx.desktop)
else()
  add_test(NAME packaging_desktop_entry COMMAND ${CMAKE_COMMAND} -E echo
    "error: desktop-file-validate not found (Debian package desktop-file-utils)")
endif()
set_tests_properties(packaging_desktop_entry PROPERTIES FAIL_REGULAR_EXPRESSION "error:;warning:")

add_test(NAME packaging_qrc_files COMMAND ${CMAKE_COMMAND}
  -DQRC=${resources}/oryx.qrc -P ${CMAKE_CURRENT_SOURCE_DIR}/packaging_qrc_check.cmake)

add_test(NAME packaging_install COMMAND ${CMAKE_COMMAND}
  -DBUILD_DIR=${PROJECT_BINARY_DIR} -DDEST=${CMAKE_CURRENT_BINARY_DIR}/packaging_install
  -P ${CMAKE_CURRENT_SOURCE_DIR}/packaging_install_check.cmake)

# The images as Qt draws them from the compiled resources; SVG needs the
# Qt SVG plugins (Debian package libqt6svg6) at run time.
add_executable(packaging_test packaging_test.cpp ${resources}/oryx.qrc)
set_target_properties(packaging_test PROPERTIES AUTORCC ON)
target_link_libraries(packaging_test PRIVATE Qt6::Gui Qt6::Test)
add_test(NAME packaging_test COMMAND packaging_test)
set_tests_properties(packaging_test PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ORYX_RESOURCES=${resources}" TIMEOUT 60)

# The main window, driven headless. The test has a folder of its own because it
# writes the report configuration file beside its executable.
add_executable(shell_test shell_test.cpp)
target_link_libraries(shell_test PRIVATE oryx_shell Qt6::Test)
set_target_properties(shell_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/shell_test_bin)
add_test(NAME shell_test COMMAND shell_test)
set_tests_properties(shell_test PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=120000"
  TIMEOUT 300)

# Opens a file, selects a component, shows a report and saves a picture of the
# main window: the README's screenshot (tests/shell_screenshot.cpp).
# docs/screenshot.png is made with
#   xvfb-run -a -s "-screen 0 1280x800x24" build/default/tests/oryx_screenshot \
#     examples/node31-startprov.txt "AtmIf/21 Vcc/0.32 Nrp" docs/screenshot.png
# and the test below keeps the program working.
add_executable(oryx_screenshot shell_screenshot.cpp)
target_link_libraries(oryx_screenshot PRIVATE oryx_shell)
add_test(NAME shell_screenshot COMMAND oryx_screenshot
  ${PROJECT_SOURCE_DIR}/examples/node31-startprov.txt AtmIf/21 ${CMAKE_CURRENT_BINARY_DIR}/screenshot.png)
set_tests_properties(shell_screenshot PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)

# The compare window's picture in the README, made under xvfb-run at 1280 x 800:
#   xvfb-run -s "-screen 0 1280x800x24" build/default/tests/oryx_compare_screenshot \
#     examples/node41-startprov.txt examples/node41-after-maintenance.txt "FrUni/41 Dlci/16" docs/compare.png
add_executable(oryx_compare_screenshot compare_screenshot.cpp)
target_link_libraries(oryx_compare_screenshot PRIVATE oryx_shell)
add_test(NAME compare_screenshot COMMAND oryx_compare_screenshot
  ${PROJECT_SOURCE_DIR}/examples/node41-startprov.txt ${PROJECT_SOURCE_DIR}/examples/node41-after-maintenance.txt
  "FrUni/41 Dlci/16" ${CMAKE_CURRENT_BINARY_DIR}/compare.png)
set_tests_properties(compare_screenshot PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)

# The find bar at work, the README's docs/find.png:
#   xvfb-run -a -s "-screen 0 1280x800x24" build/default/tests/oryx_find_screenshot \
#     examples/node31-startprov.txt Lp/2 values docs/find.png
add_executable(oryx_find_screenshot shell_find_screenshot.cpp)
target_link_libraries(oryx_find_screenshot PRIVATE oryx_shell)
add_test(NAME shell_find_screenshot COMMAND oryx_find_screenshot
  ${PROJECT_SOURCE_DIR}/examples/node31-startprov.txt Lp/2 values ${CMAKE_CURRENT_BINARY_DIR}/find.png)
set_tests_properties(shell_find_screenshot PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)

add_executable(oryx_refs_screenshot shell_refs_screenshot.cpp)
target_link_libraries(oryx_refs_screenshot PRIVATE oryx_shell)
add_test(NAME shell_refs_screenshot COMMAND oryx_refs_screenshot
  ${PROJECT_SOURCE_DIR}/examples/node31-startprov.txt Lp/2 ${CMAKE_CURRENT_BINARY_DIR}/refs.png)
set_tests_properties(shell_refs_screenshot PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)

# The Problems list with the example rules, the README's docs/problems.png:
#   xvfb-run -a -s "-screen 0 1280x800x24" build/default/tests/oryx_problems_screenshot \
#     examples/node31-startprov.txt examples/network-rules.yaml cir-range docs/problems.png
add_executable(oryx_problems_screenshot shell_problems_screenshot.cpp)
target_link_libraries(oryx_problems_screenshot PRIVATE oryx_shell)
add_test(NAME shell_problems_screenshot COMMAND oryx_problems_screenshot
  ${PROJECT_SOURCE_DIR}/examples/node31-startprov.txt ${PROJECT_SOURCE_DIR}/examples/network-rules.yaml cir-range
  ${CMAKE_CURRENT_BINARY_DIR}/problems.png)
set_tests_properties(shell_problems_screenshot PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)

if(ORYX_BUILD_BENCH AND NOT ORYX_SANITIZE)
  include(${PROJECT_SOURCE_DIR}/bench/gui.cmake)
endif()

# The taskbar, the options dialog, the recent-files list and printing. Printing
# is checked through a PDF file read back with pdftotext (poppler-utils).
add_executable(shell_taskbar_test shell_taskbar_test.cpp)
target_link_libraries(shell_taskbar_test PRIVATE oryx_shell Qt6::Test)
add_test(NAME shell_taskbar_test COMMAND shell_taskbar_test)
set_tests_properties(shell_taskbar_test PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=120000"
  TIMEOUT 300)

# The main window's parts on their own, the fixed reports as the menu, the
# report panel and oryx-cli show them, desktop behaviour, File | Compare With...,
# the viewer's conveniences, and the accessible names of every control.
foreach(test shell_parts_test shell_registry_test shell_desktop_test shell_compare_test shell_viewer_test
             shell_accessibility_test)
  add_executable(${test} ${test}.cpp)
  target_link_libraries(${test} PRIVATE oryx_shell Qt6::Test)
  set_target_properties(${test} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${test}_bin)
  add_test(NAME ${test} COMMAND ${test})
  set_tests_properties(${test} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=120000"
    TIMEOUT 300)
endforeach()
target_compile_definitions(shell_registry_test PRIVATE ORYX_CLI_PATH="$<TARGET_FILE:oryx-cli>")
add_dependencies(shell_registry_test oryx-cli)

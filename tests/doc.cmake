# The document window and its report panel, driven headless.
foreach(test doc_test doc_report_test doc_viewer_test doc_find_test doc_refs_test)
  add_executable(${test} ${test}.cpp)
  target_link_libraries(${test} PRIVATE oryx_doc Qt6::Test)
  add_test(NAME ${test} COMMAND ${test})
  set_tests_properties(${test} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=120000"
    TIMEOUT 300)
endforeach()

# The compare window; its CSV export is checked against oryx-cli's.
add_executable(doc_compare_test doc_compare_test.cpp)
target_link_libraries(doc_compare_test PRIVATE oryx_doc Qt6::Test)
target_compile_definitions(doc_compare_test PRIVATE ORYX_CLI_PATH="$<TARGET_FILE:oryx-cli>")
add_dependencies(doc_compare_test oryx-cli)
add_test(NAME doc_compare_test COMMAND doc_compare_test)
set_tests_properties(doc_compare_test PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=120000"
  TIMEOUT 300)

# The Problems list; its rows and CSV export are checked against oryx-cli check's.
add_executable(doc_problems_test doc_problems_test.cpp)
target_link_libraries(doc_problems_test PRIVATE oryx_doc Qt6::Test)
target_compile_definitions(doc_problems_test PRIVATE ORYX_CLI_PATH="$<TARGET_FILE:oryx-cli>")
add_dependencies(doc_problems_test oryx-cli)
add_test(NAME doc_problems_test COMMAND doc_problems_test)
set_tests_properties(doc_problems_test PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=120000"
  TIMEOUT 300)

# Printing, under the time limit that watches how long a very long line takes.
add_executable(doc_print_test doc_print_test.cpp)
target_link_libraries(doc_print_test PRIVATE oryx_doc Qt6::Test)
add_test(NAME doc_print_test COMMAND doc_print_test)
set_tests_properties(doc_print_test PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=30000"
  TIMEOUT 30)

if(ORYX_BUILD_BENCH AND NOT ORYX_SANITIZE)
  include(${PROJECT_SOURCE_DIR}/bench/doc.cmake)
endif()

# The document window and its report panel, driven headless.
foreach(test doc_test doc_report_test doc_find_test)
  add_executable(${test} ${test}.cpp)
  target_link_libraries(${test} PRIVATE oryx_doc Qt6::Test)
  add_test(NAME ${test} COMMAND ${test})
  set_tests_properties(${test} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=120000"
    TIMEOUT 300)
endforeach()

if(ORYX_BUILD_BENCH AND NOT ORYX_SANITIZE)
  include(${PROJECT_SOURCE_DIR}/bench/doc.cmake)
endif()

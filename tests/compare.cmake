add_executable(compare_test compare_test.cpp compare_cli_test.cpp)
target_link_libraries(compare_test PRIVATE oryx_compare GTest::gtest_main)
target_compile_definitions(compare_test PRIVATE ORYX_CLI_PATH="$<TARGET_FILE:oryx-cli>"
  ORYX_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples")
add_dependencies(compare_test oryx-cli)
gtest_discover_tests(compare_test NO_PRETTY_VALUES DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)

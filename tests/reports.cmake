find_package(nlohmann_json 3 REQUIRED)
add_executable(reports_test reports_test.cpp reports_fixed_test.cpp reports_custom_test.cpp reports_cli_test.cpp
  reports_many_files_test.cpp)
target_link_libraries(reports_test PRIVATE oryx_reports nlohmann_json::nlohmann_json GTest::gtest_main)
target_compile_definitions(reports_test PRIVATE ORYX_CLI_PATH="$<TARGET_FILE:oryx-cli>"
  ORYX_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples")
add_dependencies(reports_test oryx-cli)
gtest_discover_tests(reports_test NO_PRETTY_VALUES DISCOVERY_TIMEOUT 60 TEST_FILTER "-*LargeInput.*" PROPERTIES TIMEOUT 300)
# Inputs that once took minutes: their time limit is what they test.
gtest_discover_tests(reports_test NO_PRETTY_VALUES DISCOVERY_TIMEOUT 60 TEST_FILTER "*LargeInput.*" PROPERTIES TIMEOUT 30)

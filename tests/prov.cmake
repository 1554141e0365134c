add_executable(prov_test prov_test.cpp)
target_link_libraries(prov_test PRIVATE oryx_prov GTest::gtest_main)
gtest_discover_tests(prov_test NO_PRETTY_VALUES DISCOVERY_TIMEOUT 60 TEST_FILTER "-*LargeInput.*" PROPERTIES TIMEOUT 300)
# Inputs that once took minutes: their time limit is what they test.
gtest_discover_tests(prov_test NO_PRETTY_VALUES DISCOVERY_TIMEOUT 60 TEST_FILTER "*LargeInput.*" PROPERTIES TIMEOUT 30)


add_executable(cli_test cli_test.cpp)
target_link_libraries(cli_test PRIVATE oryx_prov GTest::gtest_main)
target_compile_definitions(cli_test PRIVATE ORYX_CLI_PATH="$<TARGET_FILE:oryx-cli>")
add_dependencies(cli_test oryx-cli)
gtest_discover_tests(cli_test NO_PRETTY_VALUES DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)

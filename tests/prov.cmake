add_executable(prov_test prov_test.cpp)
target_link_libraries(prov_test PRIVATE oryx_prov GTest::gtest_main)
gtest_discover_tests(prov_test DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)

add_test(NAME cli_test COMMAND ${CMAKE_COMMAND}
  -DCLI=$<TARGET_FILE:oryx-cli> -DEXAMPLES=${PROJECT_SOURCE_DIR}/examples
  -DWORK=${CMAKE_CURRENT_BINARY_DIR}/cli_work
  -P ${CMAKE_CURRENT_SOURCE_DIR}/cli_test.cmake)
set_tests_properties(cli_test PROPERTIES TIMEOUT 120)

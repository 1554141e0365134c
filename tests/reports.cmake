add_executable(reports_test reports_test.cpp reports_fixed_test.cpp reports_custom_test.cpp)
target_link_libraries(reports_test PRIVATE oryx_reports GTest::gtest_main)
gtest_discover_tests(reports_test DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)

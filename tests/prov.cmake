add_executable(prov_test prov_test.cpp)
target_link_libraries(prov_test PRIVATE oryx_prov GTest::gtest_main)
gtest_discover_tests(prov_test DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)


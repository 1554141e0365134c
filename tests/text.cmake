add_executable(text_test text_test.cpp)
target_link_libraries(text_test PRIVATE oryx_text GTest::gtest_main)
gtest_discover_tests(text_test NO_PRETTY_VALUES DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60)

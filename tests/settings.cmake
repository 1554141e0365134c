add_executable(settings_test settings_test.cpp)
target_link_libraries(settings_test PRIVATE oryx_settings GTest::gtest_main)
gtest_discover_tests(settings_test NO_PRETTY_VALUES DISCOVERY_TIMEOUT 60 TEST_FILTER "-*HeldLock.*:*.Large*" PROPERTIES TIMEOUT 120)
# What once took minutes: their time limit is what they test.
gtest_discover_tests(settings_test NO_PRETTY_VALUES DISCOVERY_TIMEOUT 60 TEST_FILTER "*HeldLock.*:*.Large*" PROPERTIES TIMEOUT 30)

# The layers include only what lies below them (tests/layering_check.cmake).
add_test(NAME layering COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}/src
  -P ${CMAKE_CURRENT_SOURCE_DIR}/layering_check.cmake)
set_tests_properties(layering PROPERTIES TIMEOUT 60)

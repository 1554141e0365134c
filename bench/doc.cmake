# The document window's benchmark. Included from the document window's test
# fragment because it needs the GUI libraries, which exist only in GUI builds.
add_executable(doc_bench ${CMAKE_CURRENT_LIST_DIR}/doc_bench.cpp)
target_link_libraries(doc_bench PRIVATE oryx_doc)
set_target_properties(doc_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)

# A shallow run keeps the program working; the figures come from a full run.
add_test(NAME doc_bench_smoke COMMAND doc_bench 20000)
set_tests_properties(doc_bench_smoke PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
  TIMEOUT 300)

# Printing a very long line, which once grew with its square.
add_executable(print_bench ${CMAKE_CURRENT_LIST_DIR}/print_bench.cpp)
target_link_libraries(print_bench PRIVATE oryx_doc)
set_target_properties(print_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)

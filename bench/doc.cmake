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
# The find bar's benchmark; bench/run.sh runs it on the generated node, and
# a run on an example file keeps it working.
add_executable(find_bench ${CMAKE_CURRENT_LIST_DIR}/find_bench.cpp)
target_link_libraries(find_bench PRIVATE oryx_doc)
set_target_properties(find_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)
add_test(NAME find_bench_smoke COMMAND find_bench ${PROJECT_SOURCE_DIR}/examples/node31-startprov.txt Nrp)
set_tests_properties(find_bench_smoke PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
  TIMEOUT 300)
# Following references in the window; bench/run.sh runs it on the generated node.
add_executable(refs_gui_bench ${CMAKE_CURRENT_LIST_DIR}/refs_gui_bench.cpp)
target_link_libraries(refs_gui_bench PRIVATE oryx_doc)
set_target_properties(refs_gui_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)
# The Problems list in the window; bench/run.sh runs it on the generated node
# with the example rules.
add_executable(problems_gui_bench ${CMAKE_CURRENT_LIST_DIR}/problems_gui_bench.cpp)
target_link_libraries(problems_gui_bench PRIVATE oryx_doc)
set_target_properties(problems_gui_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)

# The desktop windows' benchmark. Included from the shell's test fragment
# because it needs the GUI libraries, which exist only in GUI builds.
add_executable(gui_bench ${CMAKE_CURRENT_LIST_DIR}/gui_bench.cpp)
target_link_libraries(gui_bench PRIVATE oryx_shell)
target_compile_definitions(gui_bench PRIVATE ORYX_CLI_PATH="$<TARGET_FILE:oryx-cli>")
add_dependencies(gui_bench oryx-cli)
set_target_properties(gui_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)

# The compare window against oryx-cli diff on the same pair.
add_executable(compare_gui_bench ${CMAKE_CURRENT_LIST_DIR}/compare_gui_bench.cpp)
target_link_libraries(compare_gui_bench PRIVATE oryx_shell)
target_compile_definitions(compare_gui_bench PRIVATE ORYX_CLI_PATH="$<TARGET_FILE:oryx-cli>")
add_dependencies(compare_gui_bench oryx-cli)
set_target_properties(compare_gui_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)

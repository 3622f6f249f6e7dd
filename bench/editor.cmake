# The editor benchmark drives real widgets, so it brings its own main with a QApplication.
add_executable(bench_Editor ${CMAKE_CURRENT_LIST_DIR}/bench_Editor.cpp)
quorvel_target_defaults(bench_Editor)
target_link_libraries(bench_Editor PRIVATE quorvel_ui benchmark::benchmark)
set_target_properties(bench_Editor PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

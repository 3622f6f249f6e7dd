# The card viewer benchmark drives real widgets, so it brings its own main with a QApplication.
add_executable(bench_Show ${CMAKE_CURRENT_LIST_DIR}/bench_Show.cpp)
quorvel_target_defaults(bench_Show)
target_link_libraries(bench_Show PRIVATE quorvel_ui benchmark::benchmark)
set_target_properties(bench_Show PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

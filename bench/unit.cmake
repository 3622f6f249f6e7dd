quorvel_add_benchmark(bench_Unit SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_Unit.cpp LIBS quorvel_content)

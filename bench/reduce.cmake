quorvel_add_benchmark(bench_Reduce SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_Reduce.cpp LIBS quorvel_query)

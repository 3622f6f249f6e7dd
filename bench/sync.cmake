quorvel_add_benchmark(bench_Sync SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_Sync.cpp LIBS quorvel_sync)

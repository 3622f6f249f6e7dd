quorvel_add_benchmark(bench_Import SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_Import.cpp LIBS quorvel_exchange)

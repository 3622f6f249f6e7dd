quorvel_add_benchmark(bench_ReviewLog SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_ReviewLog.cpp LIBS quorvel_query)

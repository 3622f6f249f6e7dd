quorvel_add_benchmark(bench_Query SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_Query.cpp LIBS quorvel_users)

quorvel_add_benchmark(bench_Scan SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_Scan.cpp LIBS quorvel_content)

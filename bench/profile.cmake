quorvel_add_benchmark(bench_Profile SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_Profile.cpp LIBS quorvel_users quorvel_statistics)

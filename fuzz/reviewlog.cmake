quorvel_add_fuzzer(fuzz_reviewlog SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_reviewlog.cpp LIBS quorvel_query)

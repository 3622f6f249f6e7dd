quorvel_add_fuzzer(fuzz_update SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_update.cpp LIBS quorvel_update)

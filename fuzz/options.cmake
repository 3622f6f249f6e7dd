quorvel_add_fuzzer(fuzz_options SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_options.cpp LIBS quorvel_users)

quorvel_add_fuzzer(fuzz_steps SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_steps.cpp LIBS quorvel_query)

quorvel_add_fuzzer(fuzz_arrangement SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_arrangement.cpp LIBS quorvel_content)

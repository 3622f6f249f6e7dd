quorvel_add_fuzzer(fuzz_unit SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_unit.cpp LIBS quorvel_content)

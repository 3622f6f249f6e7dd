quorvel_add_fuzzer(fuzz_language SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_language.cpp LIBS quorvel_content)

quorvel_add_fuzzer(fuzz_user SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_user.cpp LIBS quorvel_users)

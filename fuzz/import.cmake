foreach(reader csv kvtml plaintext)
    quorvel_add_fuzzer(fuzz_import_${reader} SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_import_${reader}.cpp
                       LIBS quorvel_exchange)
endforeach()

# The start-up benchmark needs the program; a build without the screens has none.
if(TARGET quorvel)
    add_executable(startup_reference ${CMAKE_CURRENT_LIST_DIR}/startup_reference.cpp)
    target_link_libraries(startup_reference PRIVATE Qt6::Widgets)
    set_target_properties(startup_reference PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

    quorvel_add_benchmark(bench_Startup SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_Startup.cpp LIBS Qt6::Core)
    target_compile_definitions(bench_Startup PRIVATE QUORVEL_PROGRAM="$<TARGET_FILE:quorvel>"
                                                     QUORVEL_STARTUP_REFERENCE="$<TARGET_FILE:startup_reference>")
    add_dependencies(bench_Startup quorvel startup_reference)
endif()

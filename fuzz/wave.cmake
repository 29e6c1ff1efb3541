# fuzz-wave: the WAVE decoding core on arbitrary bytes.
add_executable(fuzz-wave ${CMAKE_CURRENT_SOURCE_DIR}/wave.cpp)
target_link_libraries(fuzz-wave PRIVATE vorn_engine)
target_compile_options(fuzz-wave PRIVATE ${VORN_WARNINGS})
target_link_options(fuzz-wave PRIVATE -fsanitize=fuzzer)

# fuzz-tiff: the TIFF decoding core, then preparation, on arbitrary bytes.
add_executable(fuzz-tiff ${CMAKE_CURRENT_SOURCE_DIR}/tiff.cpp)
target_link_libraries(fuzz-tiff PRIVATE vorn_engine)
target_compile_options(fuzz-tiff PRIVATE ${VORN_WARNINGS})
target_link_options(fuzz-tiff PRIVATE -fsanitize=fuzzer)

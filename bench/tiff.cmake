# tiff-bench: the engine's TIFF reader and loader against libtiff's TIFFReadRGBAImage on the same
# files. libtiff is linked here only, as the yardstick (and to write the files).
pkg_check_modules(VORN_BENCH_LIBTIFF REQUIRED IMPORTED_TARGET libtiff-4)
add_executable(tiff-bench ${CMAKE_CURRENT_SOURCE_DIR}/tiff_bench.cpp)
target_link_libraries(tiff-bench PRIVATE vorn_engine benchmark::benchmark
                                         PkgConfig::VORN_BENCH_LIBTIFF)
target_compile_options(tiff-bench PRIVATE ${VORN_WARNINGS})

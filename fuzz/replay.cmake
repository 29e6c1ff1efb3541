# fuzz-replay: the reader of recorded matches on arbitrary bytes.
add_executable(fuzz-replay ${CMAKE_CURRENT_SOURCE_DIR}/replay.cpp
                           ${CMAKE_SOURCE_DIR}/game/replay_format.cpp)
target_include_directories(fuzz-replay PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(fuzz-replay PRIVATE ${VORN_WARNINGS})
target_link_options(fuzz-replay PRIVATE -fsanitize=fuzzer)

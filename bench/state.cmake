# state-bench: what online play and replays do with the match every frame: copy it, checksum it,
# step it without drawing.
add_executable(state-bench ${CMAKE_CURRENT_SOURCE_DIR}/state_bench.cpp)
target_link_libraries(state-bench PRIVATE vorn_game benchmark::benchmark)
target_compile_options(state-bench PRIVATE ${VORN_WARNINGS})

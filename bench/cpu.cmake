# cpu-bench: the computer opponent's cost per frame (reading the screen and deciding its key).
add_executable(cpu-bench ${CMAKE_CURRENT_SOURCE_DIR}/cpu_bench.cpp)
target_link_libraries(cpu-bench PRIVATE vorn_game benchmark::benchmark)
target_compile_options(cpu-bench PRIVATE ${VORN_WARNINGS})

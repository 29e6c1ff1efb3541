# net-bench: the cost of going back eight frames and playing them again in a network match.
add_executable(net-bench ${CMAKE_CURRENT_SOURCE_DIR}/net_bench.cpp)
target_link_libraries(net-bench PRIVATE vorn_game vorn_online vorn_engine benchmark::benchmark)
target_compile_options(net-bench PRIVATE ${VORN_WARNINGS})

# net-match: a network match between two processes through a faulty relay.
file(GLOB VORN_NET_MATCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/net_match/*.cpp)
add_executable(net-match ${VORN_NET_MATCH_SOURCES})
target_link_libraries(net-match PRIVATE vorn_online vorn_game vorn_engine)
target_compile_options(net-match PRIVATE ${VORN_WARNINGS})

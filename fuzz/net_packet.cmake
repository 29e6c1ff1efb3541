# fuzz-net-packet: the network match's packet decoders on arbitrary bytes.
add_executable(fuzz-net-packet ${CMAKE_CURRENT_SOURCE_DIR}/net_packet.cpp
                               ${CMAKE_SOURCE_DIR}/game/online/protocol.cpp)
target_include_directories(fuzz-net-packet PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(fuzz-net-packet PRIVATE ${VORN_WARNINGS})
target_link_options(fuzz-net-packet PRIVATE -fsanitize=fuzzer)

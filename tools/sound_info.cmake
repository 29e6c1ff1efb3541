# sound-inspect: loads one WAVE file with the engine's reader and prints the clip.
add_executable(sound-inspect ${CMAKE_SOURCE_DIR}/tools/sound_info.cpp)
target_link_libraries(sound-inspect PRIVATE vorn_headless)
target_compile_options(sound-inspect PRIVATE ${VORN_WARNINGS})

# image-inspect: loads one TIFF file with the engine's loader on a headless display and prints
# the prepared image; optionally writes its 16-bit pixels and alpha bytes.
add_executable(image-inspect ${CMAKE_SOURCE_DIR}/tools/image_info.cpp)
target_link_libraries(image-inspect PRIVATE vorn_headless)
target_compile_options(image-inspect PRIVATE ${VORN_WARNINGS})

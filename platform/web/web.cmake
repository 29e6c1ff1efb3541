# The browser back end. Its plain parts (keys, beat, pixels, windows, display) are ordinary C++
# and build in every preset, so that the native tests check them; the parts that talk to the
# page build only with Emscripten.
set(VORN_WEB_PARTS web_beat web_display web_keys web_pixels web_windows)
list(TRANSFORM VORN_WEB_PARTS PREPEND ${CMAKE_SOURCE_DIR}/platform/web/)
list(TRANSFORM VORN_WEB_PARTS APPEND .cpp)
add_library(vorn_web_parts STATIC ${VORN_WEB_PARTS})
target_include_directories(vorn_web_parts PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(vorn_web_parts PRIVATE ${VORN_WARNINGS})

if(EMSCRIPTEN)
  add_library(vorn_web STATIC ${CMAKE_SOURCE_DIR}/platform/web/web_platform.cpp
                              ${CMAKE_SOURCE_DIR}/platform/web/web_sound.cpp)
  target_link_libraries(vorn_web PUBLIC vorn_web_parts vorn_engine)
  target_compile_options(vorn_web PRIVATE ${VORN_WARNINGS})
endif()

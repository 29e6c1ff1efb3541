# End-to-end runs of the desktop back end: a stand-in for the game under a real X server
# (Xvfb), driven by xdotool and checked with ImageMagick screenshots, and a start without any
# display.
if(NOT TARGET vorn_sdl)
  return()
endif()

add_executable(vorn-e2e ${CMAKE_CURRENT_SOURCE_DIR}/e2e/vorn_e2e.cpp)
target_link_libraries(vorn-e2e PRIVATE vorn_sdl vorn_engine)
target_compile_options(vorn-e2e PRIVATE ${VORN_WARNINGS})

# X and GL drivers keep allocations to the end of the process; only our own code is checked.
set(VORN_E2E_ENV "SDL_AUDIODRIVER=dummy;ASAN_OPTIONS=detect_leaks=0")

add_test(NAME sdl_e2e.window_keys_and_close
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/with_x_server.sh
                 ${CMAKE_CURRENT_SOURCE_DIR}/e2e/sdl_e2e.sh window $<TARGET_FILE:vorn-e2e>)
add_test(NAME sdl_e2e.frame_rate
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/with_x_server.sh
                 ${CMAKE_CURRENT_SOURCE_DIR}/e2e/sdl_e2e.sh rate $<TARGET_FILE:vorn-e2e>)
add_test(NAME sdl_e2e.no_display
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/sdl_e2e.sh nodisplay $<TARGET_FILE:vorn-e2e>)
foreach(mode scaling fullscreen)
  add_test(NAME sdl_e2e.${mode}
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/with_x_server.sh --screen 1920x1280x24
                   ${CMAKE_CURRENT_SOURCE_DIR}/e2e/sdl_e2e.sh ${mode} $<TARGET_FILE:vorn-e2e>)
endforeach()
set_tests_properties(sdl_e2e.window_keys_and_close sdl_e2e.frame_rate sdl_e2e.no_display
                     sdl_e2e.scaling sdl_e2e.fullscreen
                     PROPERTIES ENVIRONMENT "${VORN_E2E_ENV}" TIMEOUT 300 RUN_SERIAL TRUE)

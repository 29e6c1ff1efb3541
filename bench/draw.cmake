# draw-bench: our draw operations, tiling and rotated copies against SDL2's blitters and SDL2_gfx's
# rotozoom on the same pixels. SDL is linked here only, as the yardstick.
pkg_check_modules(SDL2_GFX IMPORTED_TARGET SDL2_gfx)
if(SDL2_GFX_FOUND)
  add_executable(draw-bench ${CMAKE_CURRENT_SOURCE_DIR}/draw_bench.cpp)
  target_link_libraries(draw-bench PRIVATE vorn_engine benchmark::benchmark PkgConfig::SDL2
                                           PkgConfig::SDL2_GFX)
  target_compile_options(draw-bench PRIVATE ${VORN_WARNINGS})
else()
  message(STATUS "SDL2_gfx not found: draw-bench is not built")
endif()

# match-sim: replays a match of the real game on the headless back end, with robot players and
# the data made by the asset generator; writes frames as PNG with zlib (a tool dependency).
find_package(ZLIB REQUIRED)
if(TARGET vorn_assets)
  file(GLOB VORN_MATCH_SIM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/match_sim/*.cpp)
  add_executable(match-sim ${VORN_MATCH_SIM_SOURCES})
  target_link_libraries(match-sim PRIVATE vorn_game vorn_headless vorn_assets ZLIB::ZLIB)
  target_compile_options(match-sim PRIVATE ${VORN_WARNINGS})
endif()

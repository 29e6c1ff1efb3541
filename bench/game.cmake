# game-bench: GameInit (start and every load) and GameRun (one frame) on the headless back end,
# with the data made by the asset generator.
if(TARGET vorn_assets)
  add_executable(game-bench ${CMAKE_CURRENT_SOURCE_DIR}/game_bench.cpp)
  target_link_libraries(game-bench PRIVATE vorn_game vorn_headless vorn_assets
                                           benchmark::benchmark)
  target_compile_options(game-bench PRIVATE ${VORN_WARNINGS})
endif()

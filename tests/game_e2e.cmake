# The game's own tests make the game's data in their working folder with the asset generator.
if(TARGET test_game AND TARGET vorn_assets)
  target_link_libraries(test_game PRIVATE vorn_assets)
endif()

# match-sim: a whole match to the end, the same output for the same seed, PNG frames, usage.
if(TARGET match-sim)
  set(VORN_SIM_CHECK ${CMAKE_CURRENT_SOURCE_DIR}/game/match_sim_check.sh)
  add_test(NAME match_sim.until_over
           COMMAND ${VORN_SIM_CHECK} over $<TARGET_FILE:match-sim> ${VORN_SIM_MS})
  add_test(NAME match_sim.same_seed_same_output
           COMMAND ${VORN_SIM_CHECK} same $<TARGET_FILE:match-sim>)
  add_test(NAME match_sim.png_frames COMMAND ${VORN_SIM_CHECK} png $<TARGET_FILE:match-sim>)
  add_test(NAME match_sim.usage COMMAND ${VORN_SIM_CHECK} usage $<TARGET_FILE:match-sim>)
  set_tests_properties(match_sim.until_over PROPERTIES TIMEOUT 900)
  set_tests_properties(match_sim.same_seed_same_output match_sim.png_frames match_sim.usage
                       PROPERTIES TIMEOUT 300)
endif()

# The game in a real window under Xvfb: D spins the left ring, close ends it with 0. Making the
# data and starting take close to two minutes on a machine shared by several builds.
if(TARGET vorn_sdl AND TARGET make-assets)
  add_test(NAME game_e2e.play
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/with_x_server.sh
                   ${CMAKE_CURRENT_SOURCE_DIR}/game/game_e2e.sh $<TARGET_FILE:vorn>
                   $<TARGET_FILE:make-assets>)
  set_tests_properties(game_e2e.play PROPERTIES
                       ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0" TIMEOUT 300 RUN_SERIAL TRUE)
endif()

# A virtual pad plays the game on the desktop back end (SDL's dummy drivers, no display).
if(TARGET test_game AND TARGET vorn_sdl)
  target_link_libraries(test_game PRIVATE vorn_backends)
endif()

# Recordings: the game's test leaves its recording as a seed for the replay fuzz target.
if(TARGET test_game)
  target_compile_definitions(test_game PRIVATE
    VORN_REPLAY_SEED_DIR="${CMAKE_BINARY_DIR}/fuzz-seeds/fuzz-replay")
endif()

# match-sim records a whole match and replays it; damaged copies are refused.
if(TARGET match-sim)
  add_test(NAME replay.match_sim
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/game/replay_check.sh sim
                   $<TARGET_FILE:match-sim> ${VORN_SIM_MS})
  set_tests_properties(replay.match_sim PROPERTIES TIMEOUT 300)
endif()

# The game records in a window under Xvfb and plays the recording back there.
if(TARGET vorn_sdl AND TARGET make-assets)
  add_test(NAME replay.window
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/with_x_server.sh
                   ${CMAKE_CURRENT_SOURCE_DIR}/game/replay_check.sh window $<TARGET_FILE:vorn>
                   $<TARGET_FILE:make-assets>)
  set_tests_properties(replay.window PROPERTIES
                       ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0" TIMEOUT 300 RUN_SERIAL TRUE)
endif()

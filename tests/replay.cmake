# Recordings: the game's test leaves its recording as a seed for the replay fuzz target.
if(TARGET test_game)
  target_compile_definitions(test_game PRIVATE
    VORN_REPLAY_SEED_DIR="${CMAKE_BINARY_DIR}/fuzz-seeds/fuzz-replay")
endif()

# The game's own tests make the game's data in their working folder with the asset generator.
if(TARGET test_game AND TARGET vorn_assets)
  target_link_libraries(test_game PRIVATE vorn_assets)
endif()

# The asset generator: its pictures and sounds load through the engine's own readers, and
# their art fits how the game draws them.
if(TARGET vorn_assets)
  file(GLOB VORN_ASSET_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/assets/*.cpp)
  add_executable(test_assets ${VORN_ASSET_TESTS})
  target_link_libraries(test_assets PRIVATE vorn_test_support vorn_assets vorn_game GTest::gtest
                                            GTest::gmock)
  target_compile_options(test_assets PRIVATE ${VORN_WARNINGS})
  gtest_discover_tests(test_assets DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)

  # The command line: a usage line without a folder, a failure when the folder cannot be made,
  # and the full run with a contact sheet.
  add_test(NAME make_assets_usage COMMAND make-assets)
  set_tests_properties(make_assets_usage PROPERTIES WILL_FAIL TRUE)
  add_test(NAME make_assets_unwritable COMMAND make-assets /proc/vorn-no-such-folder)
  set_tests_properties(make_assets_unwritable PROPERTIES WILL_FAIL TRUE)
  add_test(NAME make_assets_with_sheet
           COMMAND make-assets --sheet ${CMAKE_CURRENT_BINARY_DIR}/assets-sheet.png
                   ${CMAKE_CURRENT_BINARY_DIR}/assets-data)
  set_tests_properties(make_assets_with_sheet PROPERTIES
    PASS_REGULAR_EXPRESSION "156 pictures and 2 sounds" TIMEOUT 300)
endif()

# Online play: a lossy network match between two processes agrees with its offline replay, and
# two game windows play one match under an X server.
if(TARGET net-match)
  add_test(NAME net_match.lossy
           COMMAND net-match --seed 4 --frames 3000 --loss 5 --delay 40 --jitter 20 --duplicate 1
                   --fps 600)
  set_tests_properties(net_match.lossy PROPERTIES TIMEOUT 180)
endif()
if(TARGET vorn_sdl AND TARGET make-assets)
  add_test(NAME net_e2e.two_windows
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/with_x_server.sh
                   ${CMAKE_CURRENT_SOURCE_DIR}/game/net_e2e.sh $<TARGET_FILE:vorn>
                   $<TARGET_FILE:make-assets>)
  set_tests_properties(net_e2e.two_windows PROPERTIES
                       ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0" TIMEOUT 300)
endif()

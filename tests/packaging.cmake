# The Debian package: made from this build, listed, unpacked and started under an X server.
if(TARGET vorn_sdl AND TARGET make-assets)
  add_test(NAME packaging.deb_builds_unpacks_and_starts
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/with_x_server.sh
                   ${CMAKE_CURRENT_SOURCE_DIR}/packaging/package_check.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(packaging.deb_builds_unpacks_and_starts PROPERTIES
                       ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0" TIMEOUT 600)
endif()

# Installing the game: the launcher in games/, the program beside its other files in
# lib/games/vorn/, the generated pictures and sounds in share/vorn/, the desktop entry and the
# icon where desktops look for them. The data and the icon are made by the asset tool while
# installing, so they always match the tool that was built.
if(NOT TARGET make-assets)
  return()
endif()

install(PROGRAMS ${CMAKE_CURRENT_LIST_DIR}/vorn.sh DESTINATION games RENAME vorn)
install(TARGETS vorn RUNTIME DESTINATION lib/games/vorn)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/vorn.desktop DESTINATION share/applications)

set(VORN_ICON_SIZES 48 64 128 256)
install(CODE "
  set(root \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  message(STATUS \"Making the game's data in \${root}/share/vorn\")
  execute_process(COMMAND \"$<TARGET_FILE:make-assets>\" \"\${root}/share/vorn\"
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  foreach(size ${VORN_ICON_SIZES})
    set(folder \"\${root}/share/icons/hicolor/\${size}x\${size}/apps\")
    file(MAKE_DIRECTORY \"\${folder}\")
    execute_process(COMMAND \"$<TARGET_FILE:make-assets>\" --icon \${size} \"\${folder}/vorn.png\"
                    COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
")

# The Debian package: `cmake --build --preset default --target package`.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorn)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_CONTACT "Vorn developers <vorn@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "two-player arcade game of rings, halos and coloured tiles")
set(CPACK_PACKAGE_DESCRIPTION "Two players share one keyboard. Each spins a ring of 24 coloured \
tiles to steer a bouncing halo into them; the tiles it hits vote for the kind of the next round.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries the program links are found by dpkg-shlibdeps, with the versions it needs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

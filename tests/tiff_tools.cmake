# The image tests compare the engine's TIFF reader with libtiff (for comparison only: the engine
# never links it), keep their hand-built files as seeds for the TIFF fuzz target, and drive the
# image-inspect tool.
pkg_check_modules(VORN_LIBTIFF REQUIRED IMPORTED_TARGET libtiff-4)
if(TARGET test_images)
  target_link_libraries(test_images PRIVATE PkgConfig::VORN_LIBTIFF)
  target_compile_definitions(test_images PRIVATE
    VORN_TIFF_SEED_DIR="${CMAKE_BINARY_DIR}/fuzz-seeds/fuzz-tiff")
  if(TARGET image-inspect)
    add_dependencies(test_images image-inspect)
    target_compile_definitions(test_images PRIVATE
      VORN_IMAGE_INSPECT="$<TARGET_FILE:image-inspect>")
  endif()
endif()

# The image tests keep their hand-built files as seeds for the TIFF fuzz target, and drive the
# image-inspect tool.
if(TARGET test_images)
  target_compile_definitions(test_images PRIVATE
    VORN_TIFF_SEED_DIR="${CMAKE_BINARY_DIR}/fuzz-seeds/fuzz-tiff")
  if(TARGET image-inspect)
    add_dependencies(test_images image-inspect)
    target_compile_definitions(test_images PRIVATE
      VORN_IMAGE_INSPECT="$<TARGET_FILE:image-inspect>")
  endif()
endif()

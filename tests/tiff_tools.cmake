# The image tests keep their hand-built files as seeds for the TIFF fuzz target.
if(TARGET test_images)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz-seeds/fuzz-tiff)
  target_compile_definitions(test_images PRIVATE
    VORN_TIFF_SEED_DIR="${CMAKE_BINARY_DIR}/fuzz-seeds/fuzz-tiff")
endif()

if(TARGET image-inspect)
  set(image_inspect_dir ${CMAKE_CURRENT_BINARY_DIR}/image-inspect)
  file(MAKE_DIRECTORY ${image_inspect_dir})
  set(image_inspect $<TARGET_FILE:image-inspect>)

  # A file another program wrote: one orange 3 x 2 picture, prepared for plain drawing on 5-6-5.
  add_test(NAME ImageInspect.OrdinaryFile WORKING_DIRECTORY ${image_inspect_dir} COMMAND sh -c
    "convert -size 3x2 xc:'#C86432' -type TrueColor -depth 8 -compress none orange.tif && \
     ${image_inspect} --raw16 orange.raw orange.tif && od -An -tx1 orange.raw")
  set_tests_properties(ImageInspect.OrdinaryFile PROPERTIES PASS_REGULAR_EXPRESSION
    "^width=3 height=2 format=0x10 purpose=1\n 26 cb 26 cb 26 cb 26 cb 26 cb 26 cb\n$")

  # A missing file shows its box, and the empty picture is still prepared for its purpose.
  add_test(NAME ImageInspect.MissingFile WORKING_DIRECTORY ${image_inspect_dir} COMMAND sh -c
    "${image_inspect} --purpose masked missing.tif 2>/dev/null")
  set_tests_properties(ImageInspect.MissingFile PROPERTIES PASS_REGULAR_EXPRESSION
    "^width=0 height=0 format=0x10 purpose=2\n$")
endif()

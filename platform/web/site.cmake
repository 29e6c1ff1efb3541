# The static site in site/: the page, its script, the program (JavaScript and WebAssembly) and
# the game's data, packed and compressed. Ready to be copied to any static web host.
set(VORN_SITE ${CMAKE_BINARY_DIR}/site)
set_target_properties(vorn PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VORN_SITE} SUFFIX .js)
# The loop runs from the page's frames (no Asyncify); the file system is there for the data,
# which a packed file fills before the program starts. Memory grows for the pictures.
target_link_options(vorn PRIVATE
  -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1 -sFORCE_FILESYSTEM=1
  "-sEXPORTED_FUNCTIONS=_main,_vorn_test_steps" -sEXIT_RUNTIME=1)

# The page and its script are copied as they are.
foreach(page_file index.html page.js)
  add_custom_command(
    OUTPUT ${VORN_SITE}/${page_file}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/platform/web/page/${page_file}
            ${VORN_SITE}/${page_file}
    DEPENDS ${CMAKE_SOURCE_DIR}/platform/web/page/${page_file})
  list(APPEND VORN_SITE_FILES ${VORN_SITE}/${page_file})
endforeach()

# The data comes from the native asset generator (the default preset's, built first if need
# be), packed into one file with its loader and compressed.
add_custom_command(
  OUTPUT ${VORN_SITE}/vorn-data.bin ${VORN_SITE}/vorn-data.js
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/web-data.sh ${CMAKE_BINARY_DIR}/data ${VORN_SITE}
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/web-data.sh
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
  USES_TERMINAL)
list(APPEND VORN_SITE_FILES ${VORN_SITE}/vorn-data.bin ${VORN_SITE}/vorn-data.js)
add_custom_target(site ALL DEPENDS ${VORN_SITE_FILES})
add_dependencies(site vorn)

enable_testing()
include(${CMAKE_SOURCE_DIR}/tests/web/web.cmake)

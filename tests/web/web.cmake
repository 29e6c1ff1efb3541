# The page in headless Chromium, against the headless back end's frames from the default
# preset's match-sim (./test builds that preset first).
find_program(VORN_NODE node)
if(VORN_NODE)
  add_test(NAME web_browser
           COMMAND ${VORN_NODE} ${CMAKE_SOURCE_DIR}/tests/web/browser_test.js ${VORN_SITE}
                   ${CMAKE_SOURCE_DIR}/build/bin/match-sim ${CMAKE_BINARY_DIR}/data
                   ${CMAKE_BINARY_DIR}/browser-test)
  set_tests_properties(web_browser PROPERTIES TIMEOUT 300)
endif()

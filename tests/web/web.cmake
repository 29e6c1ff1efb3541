# The page in headless Chromium, against the headless back end's frames from the default
# preset's match-sim (./test builds that preset first).
find_program(VORN_NODE node)
if(VORN_NODE)
  # The browser driver, at the versions the lock file pins, installed once per change of the lock
  # file: the only step of the web tests that reaches the network. Install scripts stay off, so
  # no browser is ever downloaded; the test drives Debian's Chromium.
  find_program(VORN_NPM npm REQUIRED)
  set(VORN_WEB_TESTS ${CMAKE_SOURCE_DIR}/tests/web)
  add_custom_command(
    OUTPUT ${VORN_WEB_TESTS}/node_modules/.package-lock.json
    COMMAND ${VORN_NPM} ci --ignore-scripts --no-audit --no-fund --loglevel=error
    DEPENDS ${VORN_WEB_TESTS}/package.json ${VORN_WEB_TESTS}/package-lock.json
    WORKING_DIRECTORY ${VORN_WEB_TESTS}
    USES_TERMINAL)
  add_custom_target(browser_driver ALL DEPENDS ${VORN_WEB_TESTS}/node_modules/.package-lock.json)

  add_test(NAME web_browser
           COMMAND ${VORN_NODE} ${VORN_WEB_TESTS}/browser_test.js ${VORN_SITE}
                   ${CMAKE_SOURCE_DIR}/build/bin/match-sim ${CMAKE_BINARY_DIR}/data
                   ${CMAKE_BINARY_DIR}/browser-test)
  set_tests_properties(web_browser PROPERTIES TIMEOUT 300)
endif()

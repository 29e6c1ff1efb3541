# The headless back end's tests also cover the table of back ends.
if(TARGET test_headless)
  target_link_libraries(test_headless PRIVATE vorn_backends)
endif()

# The program refuses a back end it does not have, instead of starting without a display.
add_test(NAME vorn_unknown_back_end COMMAND vorn)
set_tests_properties(vorn_unknown_back_end PROPERTIES
  ENVIRONMENT "VORN_BACKEND=no-such-back-end"
  PASS_REGULAR_EXPRESSION "the back end \"no-such-back-end\" is not available")

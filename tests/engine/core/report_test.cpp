// The error table and the reporter: which texts a code shows, and the one log entry per report.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/core/vorn.h"
#include "log_file.h"
#include "support/headless_engine.h"

namespace {

using platform::headless::HeadlessPlatform;

TEST(ErrorTable, CodesWithoutAnEntryAreUnregistered) {
  for (int code : {2, 4, 6, 8, 10, 12, 14, 16, 18, 19, 20, 34, 100, -1, -19}) {
    const ErrorText error = LookUpError(code);
    EXPECT_STREQ(error.line, "Error: UNREGISTERED") << code;
    EXPECT_STREQ(error.advice, "Unregistered error with Vorn. Please report.") << code;
  }
}

TEST(ErrorTable, EveryErrorCodeHasItsOwnLine) {
  std::set<std::string> lines;
  for (int code :
       {0, 1, 3, 5, 7, 9, 11, 13, 15, 17, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33}) {
    const std::string line = LookUpError(code).line;
    EXPECT_EQ(line.rfind("Error: ", 0), 0u) << code;
    EXPECT_NE(line, "Error: UNREGISTERED") << code;
    lines.insert(line);
  }
  EXPECT_EQ(lines.size(), 23u);
}

TEST(Report, SetErrorStoresShowsAndLogsOnce) {
  struct {
    int code;
    const char* line;
  } const cases[] = {
      {19, "Error: UNREGISTERED"},
      {20, "Error: UNREGISTERED"},
      {-7, "Error: UNREGISTERED"},
      {33, "Error: IMAGEUSE_FAILED (Image used incorrectly)"},
      {25, "Error: SOUNDCREATE_FAILED (Unable to create Direct Sound buffer."},
  };
  for (const auto& c : cases) {
    HeadlessPlatform& headless = StartHeadlessEngine();
    const std::string log_after_start = ReadDebugLog();
    Vorn.SetError(c.code);
    EXPECT_EQ(Vorn.status, c.code);
    ASSERT_EQ(headless.MessageBoxes().size(), 1u) << c.code;
    EXPECT_EQ(headless.MessageBoxes()[0].caption, "Vorn");
    EXPECT_EQ(headless.MessageBoxes()[0].owner, nullptr);
    EXPECT_EQ(headless.MessageBoxes()[0].text, std::string("Unable to start Vorn.\n\n") + c.line +
                                                   "\n\n" + LookUpError(c.code).advice);
    EXPECT_EQ(ReadDebugLog(), log_after_start + "Vorn " + c.line + "\n  ") << c.code;
  }
}

}  // namespace

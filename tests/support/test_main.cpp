// Runs each test process in a fresh working folder of its own, so that the files the engine
// writes there ("debug.txt") never mix between tests that run side by side.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/work_dir.h"

namespace {
std::string g_source_dir;
}

const std::string& SourceDir() { return g_source_dir; }

// Tests of what the engine does when memory runs out ask for impossible sizes: under the address
// sanitizer such a request must come back empty, as it does from the real allocator, instead of
// ending the test process.
extern "C" const char* __asan_default_options() {
  return "allocator_may_return_null=1";
}

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  g_source_dir = VORN_SOURCE_DIR;
  char pattern[] = "/tmp/vorn-test-XXXXXX";
  if (mkdtemp(pattern) == nullptr || chdir(pattern) != 0) return 2;
  const std::string dir = pattern;
  const int result = RUN_ALL_TESTS();
  std::error_code ignored;
  if (result == 0) std::filesystem::remove_all(dir, ignored);
  return result;
}

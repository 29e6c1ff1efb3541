// Where a test process runs: a fresh temporary folder, made its working directory before any
// test starts. The source tree is still reachable for committed test data.
#pragma once

#include <string>

const std::string& SourceDir();

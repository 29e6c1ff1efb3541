// Reading the debug log back in tests.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

inline std::string ReadDebugLog() {
  std::ifstream in("debug.txt", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

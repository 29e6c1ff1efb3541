// The engine's plain-text trace, "debug.txt" in the working directory.
#pragma once

#include <cstdio>

class DebugLog {
 public:
  // Opens "debug.txt" and writes the header; the log is closed at program exit.
  DebugLog();
  ~DebugLog();
  DebugLog(const DebugLog&) = delete;
  DebugLog& operator=(const DebugLog&) = delete;

  // Closes any open stream and opens the named file anew, emptied.
  void Open(const char* name);
  // Writes "message  text" and flushes, so every entry is on disk when this returns.
  void Output(const char* message, const char* text);
  void Close();

 private:
  std::FILE* stream_ = nullptr;
};

extern DebugLog debug_log;

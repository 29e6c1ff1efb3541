#include "engine/files/debug_log.h"

DebugLog debug_log;

DebugLog::DebugLog() {
  Open("debug.txt");
  if (stream_ != nullptr) std::fputs("* Debugging Output *\n", stream_);
}

DebugLog::~DebugLog() { Close(); }

void DebugLog::Open(const char* name) {
  Close();
  stream_ = std::fopen(name, "w+");
  if (stream_ == nullptr) std::fputs("DEBUGGER ERROR: Unable to open debug log file.\n", stdout);
}

void DebugLog::Output(const char* message, const char* text) {
  if (stream_ == nullptr) return;
  // Written as they are: a '%' in either text has no special meaning.
  std::fputs(message, stream_);
  std::fputs("  ", stream_);
  std::fputs(text, stream_);
  std::fflush(stream_);
}

void DebugLog::Close() {
  if (stream_ == nullptr) return;
  std::fclose(stream_);
  stream_ = nullptr;
}

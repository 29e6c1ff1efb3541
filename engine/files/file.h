// Reading data files through a strictly validated flag word, with small result codes.
#pragma once

#include <cstdint>
#include <cstdio>

// Flag word values, one bit each.
constexpr int32_t FILE_NOTOPEN = 1;
constexpr int32_t RANDOM = 2;
constexpr int32_t SEQUENTIAL = 4;
constexpr int32_t FILE_READ = 8;
constexpr int32_t FILE_WRITE = 16;
constexpr int32_t FILE_APPEND = 32;
constexpr int32_t FILE_AUTOCREATE = 64;
constexpr int32_t FILE_LEAVEEOF = 128;

// Result codes.
enum FileResult : int32_t {
  FILE_OK = 0,
  FILE_EOF = 1,
  FILE_READERROR = 2,
  FILE_NOTREADABLE = 4,
  FILE_NOTEXIST = 6,
  FILE_EXISTS = 7,
};

// Seek positions; any other value is an absolute offset from the start.
constexpr int32_t FILE_TOSTART = -1;
constexpr int32_t FILE_TOEND = -2;

class File {
 public:
  File() = default;
  ~File() { Close(); }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  int32_t Open(const char* name, int32_t flags);
  void Close();
  int32_t Read(int32_t size, void* buffer);
  int32_t Read16(void* buffer) { return Read(2, buffer); }
  int32_t Read32(void* buffer) { return Read(4, buffer); }
  // Both give -1 on a File that is not open.
  int32_t Seek(int32_t position);
  int32_t Tell();
  int32_t Exists(const char* name);

  // What the file was opened with, for diagnostics and tests.
  int32_t Flags() const { return flags_; }
  const char* Name() const { return name_; }
  // The stream mode of the open file ("rb", "a+t", ...), empty while closed.
  const char* Mode() const { return mode_; }

 private:
  int32_t flags_ = FILE_NOTOPEN;
  char name_[100] = {};
  std::FILE* stream_ = nullptr;
  int32_t count_ = 0;
  char mode_[8] = {};
};

#include "engine/files/file.h"

#include <cstring>
#include <string>

#include "engine/core/exit.h"
#include "engine/files/debug_log.h"

namespace {

// The game names its files with "\" between folder and file; this system separates with "/".
std::string HostName(const char* name) {
  std::string host = name;
  for (char& c : host) {
    if (c == '\\') c = '/';
  }
  return host;
}

void Log(const char* message) {
  debug_log.Output(message, "");
}

// Misuse of the flags is a fault in the calling code, not in the data: stop at once.
[[noreturn]] void Fail(const char* message) {
  Log(message);
  VornExit(-1);
}

bool Has(int32_t flags, int32_t flag) {
  return (flags & flag) != 0;
}

}  // namespace

int32_t File::Exists(const char* name) {
  if (name == nullptr) return FILE_NOTEXIST;
  std::FILE* probe = std::fopen(HostName(name).c_str(), "r");
  if (probe == nullptr) return FILE_NOTEXIST;
  std::fclose(probe);
  return FILE_EXISTS;
}

int32_t File::Open(const char* name, int32_t flags) {
  // The stored copy of the name has room for 99 characters; a longer name would either overflow
  // it or be opened under a truncated name, which may be a different file.
  if (name == nullptr || std::strlen(name) >= sizeof(name_)) {
    Log("File::Open: File name missing or too long (99 characters at most).\n");
    return FILE_NOTEXIST;
  }

  char mode[8] = {};
  if (Has(flags, FILE_APPEND)) {
    if (Has(flags, FILE_READ))
      Fail("File::Open: Cannot open file in both APPEND and READ modes.\n");
    if (Has(flags, FILE_WRITE)) {
      Fail("File::Open: Cannot open file in both APPEND and WRITE modes.\n");
    }
    std::strcat(mode, "a");
    if (!Has(flags, FILE_AUTOCREATE) && Exists(name) == FILE_NOTEXIST) {
      Log("File::Open: File does not exist for append. (Use FILE_AUTOCREATE if desired)\n");
      return FILE_NOTEXIST;
    }
    if (!Has(flags, FILE_LEAVEEOF)) std::strcat(mode, "+");
  } else {
    if (Has(flags, FILE_LEAVEEOF)) {
      Log("File::Open: (Warning only) FILE_LEAVEEOF only has meaning with FILE_APPEND.\n");
    }
    if (Has(flags, FILE_READ) && Has(flags, FILE_WRITE)) {
      if (Has(flags, FILE_AUTOCREATE)) {
        std::strcat(mode, "w+");
      } else if (Exists(name) == FILE_NOTEXIST) {
        Log("File::Open: File does not exist for read/write. (Use FILE_AUTOCREATE if desired)\n");
        return FILE_NOTEXIST;
      } else {
        std::strcat(mode, "r+");
      }
    } else if (Has(flags, FILE_READ)) {
      if (Has(flags, FILE_AUTOCREATE)) {
        Log("File::Open: (Warning only) FILE_AUTOCREATE has no meaning when using FILE_READ "
            "without FILE_APPEND or FILE_WRITE.\n");
      }
      if (Exists(name) == FILE_NOTEXIST) {
        Log("File::Open: File does not exist for read.\n");
        return FILE_NOTEXIST;
      }
      std::strcat(mode, "r");
    } else if (Has(flags, FILE_WRITE)) {
      if (!Has(flags, FILE_AUTOCREATE) && Exists(name) == FILE_NOTEXIST) {
        Log("File::Open: File does not exist for write (Use FILE_AUTOCREATE is desired).\n");
        return FILE_NOTEXIST;
      }
      std::strcat(mode, "w");
    } else {
      Fail("File::Open: Must open file using FILE_APPEND, FILE_READ, or FILE_WRITE.\n");
    }
  }

  if (Has(flags, FILE_NOTOPEN))
    Fail("File::Open: Cannot open a file using FILE_NOTOPEN command!!\n");
  if (Has(flags, RANDOM) && Has(flags, SEQUENTIAL)) {
    Fail("File::Open: Cannot open in SEQUENTIAL and RANDOM access modes.\n");
  }
  if (Has(flags, RANDOM)) {
    std::strcat(mode, "b");
  } else if (Has(flags, SEQUENTIAL)) {
    std::strcat(mode, "t");
  } else {
    Fail("File::Open: Must open in SEQUENTIAL or RANDOM access mode.\n");
  }

  // Opening again must not leak the stream of the earlier open.
  Close();
  std::strcpy(name_, name);
  std::strcpy(mode_, mode);
  flags_ = flags;
  stream_ = std::fopen(HostName(name).c_str(), mode);
  if (stream_ == nullptr) Fail("File::Open: Unable to open file (reason unknown)\n");
  count_ = 0;
  return FILE_OK;
}

void File::Close() {
  if (!Has(flags_, FILE_NOTOPEN) && stream_ != nullptr) {
    std::fflush(stream_);
    std::fclose(stream_);
  }
  stream_ = nullptr;
  mode_[0] = '\0';
  flags_ = FILE_NOTOPEN;
}

int32_t File::Read(int32_t size, void* buffer) {
  if (stream_ == nullptr) return FILE_NOTREADABLE;
  // A negative size must not turn into a huge unsigned count: it reads nothing, like a size of 0.
  const std::size_t bytes = size > 0 ? static_cast<std::size_t>(size) : 0;
  const std::size_t items = std::fread(buffer, bytes, 1, stream_);
  if (!Has(flags_, FILE_READ)) return FILE_NOTREADABLE;
  if (items == 1) return FILE_OK;
  if (std::feof(stream_) != 0) return FILE_EOF;
  return FILE_READERROR;
}

int32_t File::Seek(int32_t position) {
  if (stream_ == nullptr) return -1;
  if (position == FILE_TOSTART) return std::fseek(stream_, 0, SEEK_SET);
  if (position == FILE_TOEND) return std::fseek(stream_, 0, SEEK_END);
  return std::fseek(stream_, position, SEEK_SET);
}

int32_t File::Tell() {
  if (stream_ == nullptr) return -1;
  return static_cast<int32_t>(std::ftell(stream_));
}

#include "engine/files/file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "engine/files/debug_log.h"
#include "support/sound_files.h"

namespace {

namespace fs = std::filesystem;

using sound_files::ReadFile;
using sound_files::WriteFile;

// Debug-log entries as the log writes them: the message, a newline, then two blanks.
std::string Entry(const std::string& message) {
  return "File::Open: " + message + "\n  ";
}

constexpr int32_t R = FILE_READ, W = FILE_WRITE, A = FILE_APPEND, C = FILE_AUTOCREATE,
                  E = FILE_LEAVEEOF, N = FILE_NOTOPEN, RND = RANDOM, SEQ = SEQUENTIAL;
constexpr int32_t kOk = FILE_OK, kMissing = FILE_NOTEXIST, kExits = -1;

TEST(File, OpenFollowsTheModeTableAndItsChecks) {
  const std::string not_for_read = Entry("File does not exist for read.");
  // Result kExits: the program ends after the log entry. Mode: empty when the open is refused.
  // Emptied: an existing file lost its contents. Log: the whole log the open writes.
  // clang-format off
  const struct { int32_t flags; bool exists; int32_t result; const char* mode; bool emptied; std::string log; const char* name = "data.bin"; } cases[] = {
      {R | RND, true, kOk, "rb", false, ""},
      {R | RND, false, kMissing, "", false, not_for_read},
      {R | C | RND, true, kOk, "rb", false, Entry("(Warning only) FILE_AUTOCREATE has no meaning when using FILE_READ without FILE_APPEND or FILE_WRITE.")},
      {R | E | RND, true, kOk, "rb", false, Entry("(Warning only) FILE_LEAVEEOF only has meaning with FILE_APPEND.")},
      {R | W | RND, true, kOk, "r+b", false, ""},
      {R | W | C | RND, true, kOk, "w+b", true, ""},
      {W | RND, true, kOk, "wb", true, ""},
      {W | C | SEQ, false, kOk, "wt", false, ""},
      {A | RND, true, kOk, "a+b", false, ""},
      {A | C | E | SEQ, false, kOk, "at", false, ""},
      // The existence test comes before the check of FILE_NOTOPEN.
      {R | N | RND, false, kMissing, "", false, not_for_read},
      // Misuse of the flags ends the program, after its log entry.
      {A | R | RND, false, kExits, "", false, Entry("Cannot open file in both APPEND and READ modes.")},
      {RND, true, kExits, "", false, Entry("Must open file using FILE_APPEND, FILE_READ, or FILE_WRITE.")},
      {R | N | RND, true, kExits, "", false, Entry("Cannot open a file using FILE_NOTOPEN command!!")},
      {R | RND | SEQ, true, kExits, "", false, Entry("Cannot open in SEQUENTIAL and RANDOM access modes.")},
      {R, true, kExits, "", false, Entry("Must open in SEQUENTIAL or RANDOM access mode.")},
      // Creating a file in a folder that does not exist passes every check and then fails.
      {W | C | RND, false, kExits, "", false, Entry("Unable to open file (reason unknown)"), "nowhere\\data.bin"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE("flags " + std::to_string(c.flags) + (c.exists ? " existing" : " missing"));
    debug_log.Open("debug.txt");
    fs::remove("data.bin");
    if (c.exists) WriteFile("data.bin", "abcdef");
    if (c.result == kExits) {
      EXPECT_EXIT(File().Open(c.name, c.flags), testing::ExitedWithCode(255), "");
    } else {
      File file;
      EXPECT_EQ(file.Open(c.name, c.flags), c.result);
      EXPECT_EQ(std::tuple(std::string(file.Mode()), file.Flags(), std::string(file.Name())),
                std::tuple(c.mode, c.result == kOk ? c.flags : N, c.result == kOk ? c.name : ""));
    }
    EXPECT_EQ(ReadFile("debug.txt"), c.log);
    // A refused open never creates the file; an accepted one leaves it in place.
    EXPECT_EQ(fs::exists("data.bin"), c.exists || c.result == kOk);
    EXPECT_EQ(ReadFile("data.bin"), !c.exists || c.emptied ? "" : "abcdef");
  }
}

// Backslashes separate folders; a name of 100 characters or more is refused, not truncated
// (truncated, it would open the 99-character file).
TEST(File, BackslashNamesOpenInTheirFolderAndOverlongNamesAreRefused) {
  fs::create_directories("Sounds/sub");
  WriteFile("Sounds/sub/ping.wav", "abcdef");
  const std::string longest(99, 'n'), too_long(100, 'n');
  WriteFile(longest, "abcdef");
  File file;
  EXPECT_EQ(file.Exists("Sounds\\sub\\ping.wav"), FILE_EXISTS);
  for (const std::string& name : {std::string("Sounds\\sub\\ping.wav"), longest}) {
    ASSERT_EQ(file.Open(name.c_str(), R | RND), FILE_OK);
    EXPECT_EQ(file.Name(), name);
    char buffer[6] = {};
    EXPECT_EQ(file.Read(6, buffer), FILE_OK);
    EXPECT_EQ(std::string(buffer, 6), "abcdef");
  }
  EXPECT_EQ(file.Open("Sounds\\new.wav", W | C | RND), FILE_OK);
  EXPECT_TRUE(fs::exists("Sounds/new.wav"));
  EXPECT_FALSE(fs::exists("Sounds\\new.wav"));
  file.Close();
  debug_log.Open("debug.txt");
  EXPECT_EQ(file.Open(too_long.c_str(), R | RND), FILE_NOTEXIST);
  EXPECT_EQ(file.Flags(), FILE_NOTOPEN);
  EXPECT_EQ(file.Open((too_long + "x").c_str(), W | C | RND), FILE_NOTEXIST);
  EXPECT_FALSE(fs::exists(too_long + "x"));
  const std::string refused = Entry("File name missing or too long (99 characters at most).");
  EXPECT_EQ(ReadFile("debug.txt"), refused + refused);
}

TEST(File, ReopeningClosesTheEarlierStream) {
  WriteFile("a.bin", "aaaa");
  WriteFile("b.bin", "bbbb");
  const auto descriptors = [] {
    return std::distance(fs::directory_iterator("/proc/self/fd"), {});
  };
  const auto before = descriptors();
  char c = 0;
  {
    File file;
    ASSERT_EQ(file.Open("a.bin", R | RND), FILE_OK);
    ASSERT_EQ(file.Open("b.bin", R | RND), FILE_OK);
    EXPECT_EQ(descriptors(), before + 1);
    // A refused open leaves the File as it was: still open on the earlier file.
    EXPECT_EQ(file.Open("missing.bin", R | RND), FILE_NOTEXIST);
    EXPECT_EQ(file.Read(1, &c), FILE_OK);
    EXPECT_EQ(std::pair(c, std::string(file.Name())), std::pair('b', std::string("b.bin")));
  }
  EXPECT_EQ(descriptors(), before);
}

TEST(File, ReadResultsAndBufferContents) {
  constexpr int32_t kEof = FILE_EOF, kErr = FILE_READERROR;
  // Each read: its size, its result and the first bytes of the buffer after it ('.' = untouched).
  using Steps = std::vector<std::tuple<int32_t, int32_t, std::string>>;
  const std::tuple<std::string, int32_t, Steps> cases[] = {
      {"ABCDEF", R | RND, {{4, kOk, "ABCD"}, {4, kEof, "EF.."}, {1, kEof, "."}}},
      {"AB", R | RND, {{0, kErr, "."}, {2, kOk, "AB"}, {0, kErr, "."}, {1, kEof, "."}}},
      // Without FILE_READ the read is still attempted, but it never counts as readable.
      {"ABCD", A | RND, {{2, FILE_NOTREADABLE, "AB"}}},
  };
  for (const auto& [contents, flags, steps] : cases) {
    SCOPED_TRACE("'" + contents + "' flags " + std::to_string(flags));
    WriteFile("data.bin", contents);
    File file;
    ASSERT_EQ(file.Open("data.bin", flags), FILE_OK);
    for (const auto& [size, result, bytes] : steps) {
      char buffer[8];
      std::memset(buffer, '.', sizeof(buffer));
      EXPECT_EQ(file.Read(size, buffer), result) << "size " << size;
      EXPECT_EQ(std::string(buffer, bytes.size()), bytes) << "size " << size;
    }
  }
}

}  // namespace

#include "engine/files/file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/files/debug_log.h"

namespace {

namespace fs = std::filesystem;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

int OpenDescriptors() {
  return static_cast<int>(std::distance(fs::directory_iterator("/proc/self/fd"), {}));
}

// Debug-log entries as the log writes them: the message, a newline, then two blanks.
std::string Entry(const std::string& message) {
  return "File::Open: " + message + "\n  ";
}

const std::string kNotForRead = Entry("File does not exist for read.");
const std::string kWarnEof =
    Entry("(Warning only) FILE_LEAVEEOF only has meaning with FILE_APPEND.");
const std::string kWarnCreate = Entry(
    "(Warning only) FILE_AUTOCREATE has no meaning when using FILE_READ without FILE_APPEND or "
    "FILE_WRITE.");
const std::string kAppendRead = Entry("Cannot open file in both APPEND and READ modes.");
const std::string kNoOperation =
    Entry("Must open file using FILE_APPEND, FILE_READ, or FILE_WRITE.");
const std::string kNotOpen = Entry("Cannot open a file using FILE_NOTOPEN command!!");
const std::string kBothAccess = Entry("Cannot open in SEQUENTIAL and RANDOM access modes.");
const std::string kNoAccess = Entry("Must open in SEQUENTIAL or RANDOM access mode.");

constexpr int32_t R = FILE_READ, W = FILE_WRITE, A = FILE_APPEND, C = FILE_AUTOCREATE,
                  E = FILE_LEAVEEOF, N = FILE_NOTOPEN, RND = RANDOM, SEQ = SEQUENTIAL;
constexpr int32_t kOk = FILE_OK, kMissing = FILE_NOTEXIST, kExits = -1;

class FileTest : public testing::Test {
 protected:
  // Each test starts with an empty log of its own in its working folder.
  void SetUp() override { debug_log.Open("debug.txt"); }
  std::string Log() const { return ReadText("debug.txt"); }
};

struct OpenCase {
  int32_t flags;
  bool exists;
  int32_t result;    // kExits: the program ends after the log entry
  const char* mode;  // empty when the open is refused
  bool emptied;      // an existing file lost its contents
  std::string log;   // the whole log the open writes
  const char* name = "data.bin";
};

TEST_F(FileTest, OpenFollowsTheModeTableAndItsChecks) {
  const OpenCase cases[] = {
      {R | RND, true, kOk, "rb", false, ""},
      {R | RND, false, kMissing, "", false, kNotForRead},
      {R | C | RND, true, kOk, "rb", false, kWarnCreate},
      {R | E | RND, true, kOk, "rb", false, kWarnEof},
      {R | W | RND, true, kOk, "r+b", false, ""},
      {R | W | C | RND, true, kOk, "w+b", true, ""},
      {W | RND, true, kOk, "wb", true, ""},
      {W | C | SEQ, false, kOk, "wt", false, ""},
      {A | RND, true, kOk, "a+b", false, ""},
      {A | E | RND, true, kOk, "ab", false, ""},
      {A | C | E | SEQ, false, kOk, "at", false, ""},
      // The existence test comes before the check of FILE_NOTOPEN.
      {R | N | RND, false, kMissing, "", false, kNotForRead},
      // Misuse of the flags ends the program, after its log entry.
      {A | R | RND, false, kExits, "", false, kAppendRead},
      {RND, true, kExits, "", false, kNoOperation},
      {R | N | RND, true, kExits, "", false, kNotOpen},
      {R | RND | SEQ, true, kExits, "", false, kBothAccess},
      {R, true, kExits, "", false, kNoAccess},
      // Creating a file in a folder that does not exist passes every check and then fails.
      {W | C | RND, false, kExits, "", false, Entry("Unable to open file (reason unknown)"),
       "nowhere\\data.bin"},
  };
  for (const OpenCase& c : cases) {
    SCOPED_TRACE("flags " + std::to_string(c.flags) + (c.exists ? " existing" : " missing"));
    debug_log.Open("debug.txt");
    fs::remove("data.bin");
    if (c.exists) WriteText("data.bin", "abcdef");
    if (c.result == kExits) {
      EXPECT_EXIT(File().Open(c.name, c.flags), testing::ExitedWithCode(255), "");
    } else {
      File file;
      EXPECT_EQ(file.Open(c.name, c.flags), c.result);
      EXPECT_STREQ(file.Mode(), c.mode);
      EXPECT_EQ(file.Flags(), c.result == kOk ? c.flags : FILE_NOTOPEN);
      EXPECT_STREQ(file.Name(), c.result == kOk ? "data.bin" : "");
    }
    EXPECT_EQ(Log(), c.log);
    // A refused open never creates the file; an accepted one leaves it in place.
    EXPECT_EQ(fs::exists("data.bin"), c.exists || c.result == kOk);
    if (c.exists) {
      EXPECT_EQ(ReadText("data.bin"), c.emptied ? "" : "abcdef");
    }
  }
}

TEST_F(FileTest, BackslashNamesOpenInTheirFolder) {
  fs::create_directories("Sounds/sub");
  WriteText("Sounds/sub/ping.wav", "abcdef");
  File file;
  EXPECT_EQ(file.Exists("Sounds\\sub\\ping.wav"), FILE_EXISTS);
  ASSERT_EQ(file.Open("Sounds\\sub\\ping.wav", R | RND), FILE_OK);
  EXPECT_STREQ(file.Name(), "Sounds\\sub\\ping.wav");
  char buffer[6] = {};
  EXPECT_EQ(file.Read(6, buffer), FILE_OK);
  EXPECT_EQ(std::string(buffer, 6), "abcdef");
  // Nothing is created under a name with a backslash in it.
  EXPECT_EQ(file.Open("Sounds\\new.wav", W | C | RND), FILE_OK);
  EXPECT_TRUE(fs::exists("Sounds/new.wav"));
  EXPECT_FALSE(fs::exists("Sounds\\new.wav"));
}

TEST_F(FileTest, OverlongOrMissingNamesAreRefused) {
  const std::string longest(99, 'n'), too_long(100, 'n');
  WriteText(longest, "abcdef");
  File file;
  ASSERT_EQ(file.Open(longest.c_str(), R | RND), FILE_OK);
  EXPECT_EQ(std::string(file.Name()), longest);
  file.Close();
  // Truncated, the long name would open the 99-character file above: it must not.
  debug_log.Open("debug.txt");
  EXPECT_EQ(file.Open(too_long.c_str(), R | RND), FILE_NOTEXIST);
  EXPECT_EQ(file.Flags(), FILE_NOTOPEN);
  EXPECT_EQ(file.Open((too_long + "x").c_str(), W | C | RND), FILE_NOTEXIST);
  EXPECT_FALSE(fs::exists(too_long + "x"));
  const std::string refused = Entry("File name missing or too long (99 characters at most).");
  EXPECT_EQ(Log(), refused + refused);
}

TEST_F(FileTest, ReopeningClosesTheEarlierStream) {
  WriteText("a.bin", "aaaa");
  WriteText("b.bin", "bbbb");
  const int before = OpenDescriptors();
  char c = 0;
  {
    File file;
    ASSERT_EQ(file.Open("a.bin", R | RND), FILE_OK);
    ASSERT_EQ(file.Open("b.bin", R | RND), FILE_OK);
    EXPECT_EQ(OpenDescriptors(), before + 1);
    EXPECT_EQ(file.Read(1, &c), FILE_OK);
    EXPECT_EQ(c, 'b');
    // A refused open leaves the File as it was: still open on the earlier file.
    EXPECT_EQ(file.Open("missing.bin", R | RND), FILE_NOTEXIST);
    EXPECT_STREQ(file.Name(), "b.bin");
    EXPECT_EQ(file.Read(1, &c), FILE_OK);
  }
  EXPECT_EQ(OpenDescriptors(), before);
}

struct ReadStep {
  int32_t size;
  int32_t result;
  std::string buffer;  // the first bytes of the buffer after the read ('.' = untouched)
};

struct ReadCase {
  std::string contents;
  int32_t flags;
  std::vector<ReadStep> steps;
};

TEST_F(FileTest, ReadResultsAndBufferContents) {
  constexpr int32_t kEof = FILE_EOF, kErr = FILE_READERROR, kNotReadable = FILE_NOTREADABLE;
  const ReadCase cases[] = {
      {"ABCDEF", R | RND, {{4, kOk, "ABCD"}, {4, kEof, "EF.."}, {1, kEof, "."}}},
      {"AB", R | RND, {{0, kErr, "."}, {2, kOk, "AB"}, {0, kErr, "."}, {1, kEof, "."}}},
      // Without FILE_READ the read is still attempted, but it never counts as readable.
      {"ABCD", A | RND, {{2, kNotReadable, "AB"}}},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE("'" + c.contents + "' flags " + std::to_string(c.flags));
    WriteText("data.bin", c.contents);
    File file;
    ASSERT_EQ(file.Open("data.bin", c.flags), FILE_OK);
    for (const ReadStep& step : c.steps) {
      char buffer[8];
      std::memset(buffer, '.', sizeof(buffer));
      EXPECT_EQ(file.Read(step.size, buffer), step.result) << "size " << step.size;
      EXPECT_EQ(std::string(buffer, step.buffer.size()), step.buffer) << "size " << step.size;
    }
  }
}

}  // namespace

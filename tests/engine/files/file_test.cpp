#include "engine/files/file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/files/debug_log.h"

namespace {

namespace fs = std::filesystem;

const std::string kContents = "abcdef";

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// One debug-log entry as the log writes it: the message, then two blanks.
std::string Entry(const std::string& message) {
  return message + "  ";
}

int OpenDescriptors() {
  return static_cast<int>(std::distance(fs::directory_iterator("/proc/self/fd"), {}));
}

class FileTest : public testing::Test {
 protected:
  // Each test starts with an empty log of its own in its working folder.
  void SetUp() override { debug_log.Open("debug.txt"); }
  std::string Log() const { return ReadText("debug.txt"); }
};

const std::string kNotForRead = "File::Open: File does not exist for read.\n";
const std::string kNotForReadWrite =
    "File::Open: File does not exist for read/write. (Use FILE_AUTOCREATE if desired)\n";
const std::string kNotForWrite =
    "File::Open: File does not exist for write (Use FILE_AUTOCREATE is desired).\n";
const std::string kNotForAppend =
    "File::Open: File does not exist for append. (Use FILE_AUTOCREATE if desired)\n";
const std::string kWarnLeaveEof =
    "File::Open: (Warning only) FILE_LEAVEEOF only has meaning with FILE_APPEND.\n";
const std::string kWarnAutoCreate =
    "File::Open: (Warning only) FILE_AUTOCREATE has no meaning when using FILE_READ without "
    "FILE_APPEND or FILE_WRITE.\n";

struct OpenCase {
  const char* label;
  int32_t flags;
  bool exists;
  int32_t result;
  const char* mode;  // empty when the open is refused
  bool emptied;      // an existing file lost its contents
  std::string log;   // the whole log the open writes
};

TEST_F(FileTest, OpenFollowsTheModeTableAndItsChecks) {
  const std::vector<OpenCase> cases = {
      {"read", FILE_READ | RANDOM, true, FILE_OK, "rb", false, ""},
      {"read missing", FILE_READ | RANDOM, false, FILE_NOTEXIST, "", false, Entry(kNotForRead)},
      {"read text", FILE_READ | SEQUENTIAL, true, FILE_OK, "rt", false, ""},
      {"read autocreate", FILE_READ | FILE_AUTOCREATE | RANDOM, true, FILE_OK, "rb", false,
       Entry(kWarnAutoCreate)},
      {"read autocreate missing", FILE_READ | FILE_AUTOCREATE | RANDOM, false, FILE_NOTEXIST, "",
       false, Entry(kWarnAutoCreate) + Entry(kNotForRead)},
      {"read leaveeof", FILE_READ | FILE_LEAVEEOF | RANDOM, true, FILE_OK, "rb", false,
       Entry(kWarnLeaveEof)},
      {"read/write", FILE_READ | FILE_WRITE | RANDOM, true, FILE_OK, "r+b", false, ""},
      {"read/write missing", FILE_READ | FILE_WRITE | RANDOM, false, FILE_NOTEXIST, "", false,
       Entry(kNotForReadWrite)},
      {"read/write autocreate", FILE_READ | FILE_WRITE | FILE_AUTOCREATE | RANDOM, true, FILE_OK,
       "w+b", true, ""},
      {"read/write autocreate missing", FILE_READ | FILE_WRITE | FILE_AUTOCREATE | RANDOM, false,
       FILE_OK, "w+b", false, ""},
      {"write", FILE_WRITE | RANDOM, true, FILE_OK, "wb", true, ""},
      {"write missing", FILE_WRITE | RANDOM, false, FILE_NOTEXIST, "", false, Entry(kNotForWrite)},
      {"write autocreate missing", FILE_WRITE | FILE_AUTOCREATE | SEQUENTIAL, false, FILE_OK, "wt",
       false, ""},
      {"append", FILE_APPEND | RANDOM, true, FILE_OK, "a+b", false, ""},
      {"append leaveeof", FILE_APPEND | FILE_LEAVEEOF | RANDOM, true, FILE_OK, "ab", false, ""},
      {"append missing", FILE_APPEND | RANDOM, false, FILE_NOTEXIST, "", false,
       Entry(kNotForAppend)},
      {"append autocreate missing", FILE_APPEND | FILE_AUTOCREATE | RANDOM, false, FILE_OK, "a+b",
       false, ""},
      {"append autocreate leaveeof missing",
       FILE_APPEND | FILE_AUTOCREATE | FILE_LEAVEEOF | SEQUENTIAL, false, FILE_OK, "at", false, ""},
      // The existence test comes before the checks of the access mode and of FILE_NOTOPEN.
      {"notopen missing", FILE_READ | FILE_NOTOPEN | RANDOM, false, FILE_NOTEXIST, "", false,
       Entry(kNotForRead)},
      {"both access modes missing", FILE_READ | RANDOM | SEQUENTIAL, false, FILE_NOTEXIST, "",
       false, Entry(kNotForRead)},
      {"no access mode missing", FILE_READ, false, FILE_NOTEXIST, "", false, Entry(kNotForRead)},
  };
  for (const OpenCase& c : cases) {
    SCOPED_TRACE(c.label);
    debug_log.Open("debug.txt");
    fs::remove("data.bin");
    if (c.exists) WriteText("data.bin", kContents);

    File file;
    EXPECT_EQ(file.Open("data.bin", c.flags), c.result);
    EXPECT_STREQ(file.Mode(), c.mode);
    if (c.result == FILE_OK) {
      EXPECT_EQ(file.Flags(), c.flags);
      EXPECT_STREQ(file.Name(), "data.bin");
    } else {
      EXPECT_EQ(file.Flags(), FILE_NOTOPEN);
    }
    file.Close();

    EXPECT_EQ(Log(), c.log);
    // A refused open never creates the file; an accepted one leaves it in place.
    EXPECT_EQ(fs::exists("data.bin"), c.exists || c.result == FILE_OK);
    if (c.exists) {
      EXPECT_EQ(ReadText("data.bin"), c.emptied ? "" : kContents);
    }
  }
}

struct MisuseCase {
  const char* label;
  int32_t flags;
  bool exists;
  std::string log;
};

void PrintTo(const MisuseCase& c, std::ostream* out) {
  *out << c.label;
}

class FileMisuseTest : public FileTest, public testing::WithParamInterface<MisuseCase> {};

TEST_P(FileMisuseTest, EndsTheProgramAfterItsLogEntry) {
  const MisuseCase& c = GetParam();
  fs::remove("data.bin");
  if (c.exists) WriteText("data.bin", kContents);
  EXPECT_EXIT(
      {
        File file;
        file.Open("data.bin", c.flags);
      },
      testing::ExitedWithCode(255), "");
  EXPECT_EQ(Log(), c.log);
  EXPECT_EQ(fs::exists("data.bin"), c.exists);
}

const std::string kAppendRead = "File::Open: Cannot open file in both APPEND and READ modes.\n";
const std::string kAppendWrite = "File::Open: Cannot open file in both APPEND and WRITE modes.\n";
const std::string kNoOperation =
    "File::Open: Must open file using FILE_APPEND, FILE_READ, or FILE_WRITE.\n";
const std::string kNotOpen = "File::Open: Cannot open a file using FILE_NOTOPEN command!!\n";
const std::string kBothAccess = "File::Open: Cannot open in SEQUENTIAL and RANDOM access modes.\n";
const std::string kNoAccess = "File::Open: Must open in SEQUENTIAL or RANDOM access mode.\n";

INSTANTIATE_TEST_SUITE_P(
    Flags, FileMisuseTest,
    testing::Values(
        MisuseCase{"AppendReadMissing", FILE_APPEND | FILE_READ | RANDOM, false,
                   Entry(kAppendRead)},
        MisuseCase{"AppendReadExisting", FILE_APPEND | FILE_READ | RANDOM, true,
                   Entry(kAppendRead)},
        MisuseCase{"AppendWriteMissing", FILE_APPEND | FILE_WRITE | FILE_AUTOCREATE | RANDOM, false,
                   Entry(kAppendWrite)},
        MisuseCase{"NoOperation", RANDOM, true, Entry(kNoOperation)},
        MisuseCase{"NoOperationMissing", FILE_AUTOCREATE | RANDOM, false, Entry(kNoOperation)},
        MisuseCase{"LeaveEofOnly", FILE_LEAVEEOF | RANDOM, true,
                   Entry(kWarnLeaveEof) + Entry(kNoOperation)},
        MisuseCase{"NotOpenAlone", FILE_NOTOPEN, true, Entry(kNoOperation)},
        MisuseCase{"NotOpenExisting", FILE_READ | FILE_NOTOPEN | RANDOM, true, Entry(kNotOpen)},
        MisuseCase{"NotOpenCreating", FILE_WRITE | FILE_AUTOCREATE | FILE_NOTOPEN | RANDOM, false,
                   Entry(kNotOpen)},
        MisuseCase{"BothAccessModes", FILE_READ | RANDOM | SEQUENTIAL, true, Entry(kBothAccess)},
        MisuseCase{"NoAccessMode", FILE_READ, true, Entry(kNoAccess)},
        MisuseCase{"NoAccessModeCreating", FILE_APPEND | FILE_AUTOCREATE, false, Entry(kNoAccess)}),
    [](const testing::TestParamInfo<MisuseCase>& param) { return std::string(param.param.label); });

TEST_F(FileTest, FailedPlatformOpenEndsTheProgram) {
  // Creating a file in a folder that does not exist passes every check and then fails.
  EXPECT_EXIT(
      {
        File file;
        file.Open("nowhere\\data.bin", FILE_WRITE | FILE_AUTOCREATE | RANDOM);
      },
      testing::ExitedWithCode(255), "");
  EXPECT_EQ(Log(), Entry("File::Open: Unable to open file (reason unknown)\n"));
}

TEST_F(FileTest, BackslashNamesOpenInTheirFolder) {
  fs::create_directories("Sounds/sub");
  WriteText("Sounds/sub/ping.wav", kContents);
  File file;
  EXPECT_EQ(file.Exists("Sounds\\sub\\ping.wav"), FILE_EXISTS);
  ASSERT_EQ(file.Open("Sounds\\sub\\ping.wav", FILE_READ | RANDOM), FILE_OK);
  EXPECT_STREQ(file.Name(), "Sounds\\sub\\ping.wav");
  char buffer[6] = {};
  EXPECT_EQ(file.Read(6, buffer), FILE_OK);
  EXPECT_EQ(std::string(buffer, 6), kContents);
  file.Close();

  // Messages keep the name as given; nothing is created under a name with a backslash in it.
  EXPECT_EQ(file.Open("Sounds\\new.wav", FILE_WRITE | FILE_AUTOCREATE | RANDOM), FILE_OK);
  file.Close();
  EXPECT_TRUE(fs::exists("Sounds/new.wav"));
  EXPECT_FALSE(fs::exists("Sounds\\new.wav"));
}

TEST_F(FileTest, OverlongOrMissingNamesAreRefused) {
  const std::string longest(99, 'n');
  const std::string too_long(100, 'n');
  WriteText(longest, kContents);
  WriteText(too_long.substr(0, 99), kContents);

  File file;
  ASSERT_EQ(file.Open(longest.c_str(), FILE_READ | RANDOM), FILE_OK);
  EXPECT_EQ(std::string(file.Name()), longest);
  file.Close();

  // Truncated, the long name would open the 99-character file above: it must not.
  const std::string refused =
      Entry("File::Open: File name missing or too long (99 characters at most).\n");
  debug_log.Open("debug.txt");
  EXPECT_EQ(file.Open(too_long.c_str(), FILE_READ | RANDOM), FILE_NOTEXIST);
  EXPECT_EQ(file.Flags(), FILE_NOTOPEN);
  EXPECT_EQ(file.Open((too_long + "x").c_str(), FILE_WRITE | FILE_AUTOCREATE | RANDOM),
            FILE_NOTEXIST);
  EXPECT_FALSE(fs::exists(too_long + "x"));
  EXPECT_EQ(file.Open(nullptr, FILE_READ | RANDOM), FILE_NOTEXIST);
  EXPECT_EQ(file.Exists(nullptr), FILE_NOTEXIST);
  EXPECT_EQ(Log(), refused + refused + refused);
}

TEST_F(FileTest, ReopeningClosesTheEarlierStream) {
  WriteText("a.bin", "aaaa");
  WriteText("b.bin", "bbbb");
  const int before = OpenDescriptors();
  {
    File file;
    ASSERT_EQ(file.Open("a.bin", FILE_READ | RANDOM), FILE_OK);
    ASSERT_EQ(file.Open("b.bin", FILE_READ | RANDOM), FILE_OK);
    EXPECT_EQ(OpenDescriptors(), before + 1);
    char c = 0;
    EXPECT_EQ(file.Read(1, &c), FILE_OK);
    EXPECT_EQ(c, 'b');

    // A refused open leaves the File as it was: still open on the earlier file.
    EXPECT_EQ(file.Open("missing.bin", FILE_READ | RANDOM), FILE_NOTEXIST);
    EXPECT_STREQ(file.Name(), "b.bin");
    EXPECT_EQ(file.Read(1, &c), FILE_OK);
  }
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST_F(FileTest, CloseIsSafeAnyNumberOfTimes) {
  WriteText("data.bin", kContents);
  File never_opened;
  never_opened.Close();
  never_opened.Close();
  EXPECT_EQ(never_opened.Flags(), FILE_NOTOPEN);

  File file;
  ASSERT_EQ(file.Open("data.bin", FILE_READ | RANDOM), FILE_OK);
  file.Close();
  file.Close();
  EXPECT_EQ(file.Flags(), FILE_NOTOPEN);
  char c = 'x';
  EXPECT_EQ(file.Read(1, &c), FILE_NOTREADABLE);
  EXPECT_EQ(c, 'x');
  EXPECT_EQ(file.Seek(FILE_TOSTART), -1);
  EXPECT_EQ(file.Tell(), -1);
}

}  // namespace

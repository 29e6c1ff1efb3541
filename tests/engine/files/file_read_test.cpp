#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "engine/files/byte_order.h"
#include "engine/files/file.h"

namespace {

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

struct ReadStep {
  int32_t size;
  int32_t result;
  std::string buffer;  // the first bytes of the buffer after the read ('.' = untouched)
};

struct ReadCase {
  const char* label;
  std::string contents;
  int32_t flags;
  std::vector<ReadStep> steps;
};

TEST(FileRead, ResultsAndBufferContents) {
  const std::vector<ReadCase> cases = {
      {"short read at the end",
       "ABCDEF",
       FILE_READ | RANDOM,
       {{4, FILE_OK, "ABCD"}, {4, FILE_EOF, "EF.."}, {1, FILE_EOF, "."}}},
      {"exactly the rest", "ABCD", FILE_READ | RANDOM, {{4, FILE_OK, "ABCD"}, {1, FILE_EOF, "."}}},
      {"zero bytes before and at the end",
       "AB",
       FILE_READ | RANDOM,
       {{0, FILE_READERROR, "."},
        {2, FILE_OK, "AB"},
        {0, FILE_READERROR, "."},
        {1, FILE_EOF, "."},
        {0, FILE_EOF, "."}}},
      {"negative size reads nothing",
       "AB",
       FILE_READ | RANDOM,
       {{-4, FILE_READERROR, "...."}, {2, FILE_OK, "AB"}}},
      {"empty file", "", FILE_READ | RANDOM, {{2, FILE_EOF, ".."}}},
      // Without FILE_READ the read is still attempted, but it never counts as readable.
      {"append mode reads yet reports not readable",
       "ABCD",
       FILE_APPEND | RANDOM,
       {{2, FILE_NOTREADABLE, "AB"}}},
      {"write mode", "ABCD", FILE_WRITE | RANDOM, {{2, FILE_NOTREADABLE, ".."}}},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.label);
    WriteBytes("data.bin", c.contents);
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

TEST(FileRead, SeekAndTell) {
  WriteBytes("data.bin", "0123456789");
  File file;
  ASSERT_EQ(file.Open("data.bin", FILE_READ | RANDOM), FILE_OK);
  char c = 0;

  EXPECT_EQ(file.Seek(FILE_TOEND), 0);
  EXPECT_EQ(file.Tell(), 10);
  EXPECT_EQ(file.Seek(FILE_TOSTART), 0);
  EXPECT_EQ(file.Tell(), 0);
  EXPECT_EQ(file.Read(1, &c), FILE_OK);
  EXPECT_EQ(c, '0');

  EXPECT_EQ(file.Seek(7), 0);
  EXPECT_EQ(file.Read(1, &c), FILE_OK);
  EXPECT_EQ(c, '7');
  EXPECT_EQ(file.Seek(0), 0);
  EXPECT_EQ(file.Read(1, &c), FILE_OK);
  EXPECT_EQ(c, '0');

  // A seek clears the end-of-file state, so reading resumes after it.
  EXPECT_EQ(file.Seek(FILE_TOEND), 0);
  EXPECT_EQ(file.Read(1, &c), FILE_EOF);
  EXPECT_EQ(file.Seek(9), 0);
  EXPECT_EQ(file.Read(1, &c), FILE_OK);
  EXPECT_EQ(c, '9');

  EXPECT_NE(file.Seek(-7), 0);
}

TEST(FileRead, SixteenAndThirtyTwoBitValuesInBothOrders) {
  WriteBytes("data.bin", std::string("\x01\x02\x01\x02\x03\x04", 6));
  File file;
  ASSERT_EQ(file.Open("data.bin", FILE_READ | RANDOM), FILE_OK);
  uint16_t s = 0;
  uint32_t l = 0;
  ASSERT_EQ(file.Read16(&s), FILE_OK);
  ASSERT_EQ(file.Read32(&l), FILE_OK);
  ByteOrder order;
  EXPECT_EQ(order.ReadUS(s), 513);
  EXPECT_EQ(order.ReadUL(l), 0x04030201u);
  order.Set(ORDER_MBF);
  EXPECT_EQ(order.ReadUS(s), 258);
  EXPECT_EQ(order.ReadUL(l), 0x01020304u);
  EXPECT_EQ(file.Read16(&s), FILE_EOF);
}

}  // namespace

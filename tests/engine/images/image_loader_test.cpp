// What loading shows the user: message boxes for missing and compressed files, lines on standard
// output and the end of the program for files that cannot be read, and the prepared image.
#include "engine/images/image_loader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "support/headless_engine.h"
#include "tiff_test_files.h"

namespace {

using tiff_files::Bytes;
using tiff_files::Picture;

constexpr const char* kCorrupt = "Load:Tiff: File is corrupted, or is not a \\.TIFF file\\.\n";
constexpr const char* kCompression =
    "TIF Load Error: LZW Compression not supported.\n\nVorn does not support LZW compressed TIF "
    "images. Save your TIF image again and be sure that the LZW compression option is turned "
    "off.\n";

std::string NotFound(const std::string& path) {
  return ".TIF File Not Found: " + path +
         "\n\nMake sure paths and names of TIF images are correct. If you started the game "
         "outside of Visual C++, make sure the executable is in the correct location to find "
         "images.";
}

uint16_t To565(const uint8_t* rgb) {
  return static_cast<uint16_t>(((rgb[0] >> 3) << 11) | ((rgb[1] >> 2) << 5) | (rgb[2] >> 3));
}

TEST(LoadMissing, ShowsTheBoxWithThePathAndPreparesTheImageAsItWas) {
  auto& headless = StartHeadlessEngine();
  Image empty;
  ImageLoader::Load("Images\\nothere.tif", &empty, DRAW_ALPHA);
  ASSERT_EQ(headless.MessageBoxes().size(), 1u);
  EXPECT_EQ(headless.MessageBoxes()[0].owner, nullptr);
  EXPECT_EQ(headless.MessageBoxes()[0].caption, "Vorn Error");
  EXPECT_EQ(headless.MessageBoxes()[0].text, NotFound("Images\\nothere.tif"));
  EXPECT_EQ(empty.data, nullptr);
  EXPECT_EQ(empty.width, 0);
  EXPECT_EQ(empty.format, IMAGE_RGB16 | IMAGE_ALPHA);
  EXPECT_EQ(empty.purpose, DRAW_ALPHA);

  // An image that holds a picture keeps it.
  const Picture picture = tiff_files::Pattern(3, 2, false);
  tiff_files::WriteFile("Images/tile00.tif", tiff_files::MakeTiff(picture, {}));
  Image image;
  ImageLoader::Load("Images\\tile00.tif", &image, DRAW_MASKED);
  ImageLoader::Load("Images\\tile01.tif", &image, DRAW_MASKED);
  EXPECT_EQ(headless.MessageBoxes().size(), 2u);
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.format, IMAGE_RGB16);
  EXPECT_EQ(image.pixels16()[5], To565(&picture.rgb[15]));
}

TEST(LoadCompressed, ShowsTheBoxAndReadsTheStripsAsTheyAre) {
  auto& headless = StartHeadlessEngine();
  const Picture picture = tiff_files::Pattern(4, 5, true);
  Bytes file = tiff_files::MakeTiff(picture, {.msb_first = true, .rows_per_strip = 2});
  tiff_files::SetEntry(file, 259, 5);
  tiff_files::WriteFile("Images/lzw.tif", file);
  Image image;
  testing::internal::CaptureStdout();
  ImageLoader::Load("Images\\lzw.tif", &image, DRAW_PLAIN);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  ASSERT_EQ(headless.MessageBoxes().size(), 1u);
  EXPECT_EQ(headless.MessageBoxes()[0].caption, "Vorn Error");
  EXPECT_EQ(headless.MessageBoxes()[0].text, kCompression);
  ASSERT_EQ(image.width, 4);
  for (int i = 0; i < 4 * 5; ++i) EXPECT_EQ(image.pixels16()[i], To565(&picture.rgb[i * 3])) << i;
}

TEST(LoadPath, NinetyNineCharactersLoad) {
  auto& headless = StartHeadlessEngine();
  const std::string name = std::string(95, 'n') + ".tif";
  ASSERT_EQ(name.size(), 99u);
  tiff_files::WriteFile(name, tiff_files::MakeTiff(tiff_files::Pattern(2, 2, false), {}));
  Image image;
  ImageLoader::Load(name.c_str(), &image, DRAW_PLAIN);
  EXPECT_TRUE(headless.MessageBoxes().empty());
  EXPECT_EQ(image.width, 2);
}

// Files the reader refuses end the program with status -1 after their line on standard output
// (sent to standard error here, where the death test can see it).
struct Refusal {
  std::string name;
  std::function<void(Bytes&)> change;
  std::string line;
};

class LoadRefused : public testing::TestWithParam<Refusal> {};

TEST_P(LoadRefused, PrintsItsLineAndEnds) {
  StartHeadlessEngine();
  Bytes file = tiff_files::MakeTiff(tiff_files::Pattern(5, 5, false), {.rows_per_strip = 2});
  GetParam().change(file);
  tiff_files::WriteFile("Images/bad.tif", file);
  Image image;
  EXPECT_EXIT(
      {
        dup2(STDERR_FILENO, STDOUT_FILENO);
        ImageLoader::Load("Images\\bad.tif", &image, DRAW_MASKED);
      },
      testing::ExitedWithCode(255), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadRefused,
    testing::Values(
        Refusal{"NotTiff",
                [](Bytes& f) {
                  f.assign({'G', 'I', 'F', '8', '9', 'a', 0, 0});
                },
                kCorrupt},
        Refusal{"RowTooLong", [](Bytes& f) { tiff_files::SetEntry(f, 256, 4000); }, kCorrupt},
        Refusal{"DirectoryPastEnd", [](Bytes& f) { tiff_files::Put32(f, 4, 1u << 20); }, kCorrupt},
        Refusal{"StripPastEnd",
                [](Bytes& f) { tiff_files::SetEntry(f, 273, static_cast<uint32_t>(f.size())); },
                kCorrupt},
        Refusal{"BitsCountFive",
                [](Bytes& f) { tiff_files::Put32(f, tiff_files::EntryAt(f, 258) + 4, 5); },
                "Load:Tiff: Unknown TIFF mode\\.\n"}),
    [](const testing::TestParamInfo<Refusal>& param) { return param.param.name; });

TEST(LoadRefusedPath, AHundredCharactersEndTheProgram) {
  StartHeadlessEngine();
  const std::string name = std::string(96, 'n') + ".tif";
  tiff_files::WriteFile(name, tiff_files::MakeTiff(tiff_files::Pattern(2, 2, false), {}));
  Image image;
  EXPECT_EXIT(
      {
        dup2(STDERR_FILENO, STDOUT_FILENO);
        ImageLoader::Load(name.c_str(), &image, DRAW_PLAIN);
      },
      testing::ExitedWithCode(255), kCorrupt);
}

// The compression box comes up while the directory is read, before the picture is refused.
TEST(LoadRefusedAfterBox, TheBoxComesFirst) {
  platform::headless::Config config;
  config.echo_message_boxes = true;
  UseFreshHeadless(config);
  Bytes file = tiff_files::MakeTiff(tiff_files::Pattern(5, 5, false), {});
  tiff_files::SetEntry(file, 259, 32773);
  tiff_files::SetEntry(file, 257, 0);
  tiff_files::WriteFile("Images/bad.tif", file);
  Image image;
  EXPECT_EXIT(
      {
        dup2(STDERR_FILENO, STDOUT_FILENO);
        ImageLoader::Load("Images\\bad.tif", &image, DRAW_MASKED);
      },
      testing::ExitedWithCode(255),
      "Vorn Error: TIF Load Error: LZW Compression not supported\\.(.|\n)*"
      "Load:Tiff: File is corrupted");
}

}  // namespace

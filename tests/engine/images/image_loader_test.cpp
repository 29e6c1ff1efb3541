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

using namespace tiff_files;

uint16_t To565(const uint8_t* rgb) {
  return static_cast<uint16_t>(((rgb[0] >> 3) << 11) | ((rgb[1] >> 2) << 5) | (rgb[2] >> 3));
}

TEST(ImageLoader, MissingFileShowsTheBoxAndTheImageIsPreparedAsItWas) {
  auto& headless = StartHeadlessEngine();
  Image empty;
  ImageLoader::Load("Images\\nothere.tif", &empty, DRAW_ALPHA);
  ASSERT_EQ(headless.MessageBoxes().size(), 1u);
  EXPECT_EQ(headless.MessageBoxes()[0].owner, nullptr);
  EXPECT_EQ(headless.MessageBoxes()[0].caption, "Vorn Error");
  EXPECT_EQ(headless.MessageBoxes()[0].text,
            ".TIF File Not Found: Images\\nothere.tif\n\nMake sure paths and names of TIF images "
            "are correct. If you started the game outside of Visual C++, make sure the executable "
            "is in the correct location to find images.");
  EXPECT_EQ(empty.data, nullptr);
  EXPECT_EQ(empty.width, 0);
  EXPECT_EQ(empty.format, IMAGE_RGB16 | IMAGE_ALPHA);
  EXPECT_EQ(empty.purpose, DRAW_ALPHA);

  // An image that holds a picture keeps it; a name of 99 characters loads.
  const Picture picture = Pattern(3, 2, false);
  const std::string name = std::string(95, 'n') + ".tif";
  WriteFile(name, MakeTiff(picture, {}));
  Image image;
  ImageLoader::Load(name.c_str(), &image, DRAW_MASKED);
  ImageLoader::Load("Images\\tile01.tif", &image, DRAW_MASKED);
  EXPECT_EQ(headless.MessageBoxes().size(), 2u);
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.format, IMAGE_RGB16);
  EXPECT_EQ(image.pixels16()[5], To565(&picture.rgb[15]));
}

TEST(ImageLoader, CompressedFileShowsTheBoxAndReadsTheStripsAsTheyAre) {
  auto& headless = StartHeadlessEngine();
  const Picture picture = Pattern(4, 5, true);
  Bytes file = MakeTiff(picture, {.msb_first = true, .rows_per_strip = 2});
  SetEntry(file, 259, 5);
  WriteFile("Images/lzw.tif", file);
  Image image;
  testing::internal::CaptureStdout();
  ImageLoader::Load("Images\\lzw.tif", &image, DRAW_PLAIN);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  ASSERT_EQ(headless.MessageBoxes().size(), 1u);
  EXPECT_EQ(headless.MessageBoxes()[0].caption, "Vorn Error");
  EXPECT_EQ(headless.MessageBoxes()[0].text,
            "TIF Load Error: LZW Compression not supported.\n\nVorn does not support LZW "
            "compressed TIF images. Save your TIF image again and be sure that the LZW "
            "compression option is turned off.\n");
  ASSERT_EQ(image.width, 4);
  for (int i = 0; i < 4 * 5; ++i) EXPECT_EQ(image.pixels16()[i], To565(&picture.rgb[i * 3])) << i;
}

// Files the reader refuses end the program with status -1 after their line on standard output
// (sent to standard error here, where the death test can see it).
TEST(ImageLoader, RefusedFilesPrintTheirLineAndEnd) {
  const std::string corrupt = "Load:Tiff: File is corrupted, or is not a \\.TIFF file\\.\n";
  const struct {
    std::string name;
    std::function<void(Bytes&)> change;
    std::string line;
  } cases[] = {
      {"Images\\bad.tif",
       [](Bytes& f) {
         f.assign({'G', 'I', 'F', '8', '9', 'a', 0, 0});
       },
       corrupt},
      {"Images\\bad.tif", [](Bytes& f) { SetEntry(f, 256, 4000); }, corrupt},
      {"Images\\bad.tif", [](Bytes& f) { Put(f, EntryAt(f, 258) + 4, 5); },
       "Load:Tiff: Unknown TIFF mode\\.\n"},
      // The path does not fit the reader's name field.
      {std::string(96, 'n') + ".tif", [](Bytes&) {}, corrupt},
      // The compression box comes up while the directory is read, before the picture is refused.
      {"Images\\bad.tif", [](Bytes& f) { SetEntry(f, 259, 32773), SetEntry(f, 257, 0); },
       "Vorn Error: TIF Load Error: LZW Compression not supported\\.(.|\n)*" + corrupt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    platform::headless::Config config;
    config.echo_message_boxes = true;
    UseFreshHeadless(config);
    Bytes file = MakeTiff(Pattern(5, 5, false), {.rows_per_strip = 2});
    c.change(file);
    std::string path = c.name;
    if (path.starts_with("Images\\")) path.replace(6, 1, "/");
    WriteFile(path, file);
    Image image;
    EXPECT_EXIT(
        {
          dup2(STDERR_FILENO, STDOUT_FILENO);
          ImageLoader::Load(c.name.c_str(), &image, DRAW_MASKED);
        },
        testing::ExitedWithCode(255), c.line);
  }
}

}  // namespace

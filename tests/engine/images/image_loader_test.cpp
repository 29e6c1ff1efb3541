// What loading shows the user: message boxes for missing and compressed files, lines on standard
// output and the end of the program for files that cannot be read, and the prepared image.
#include "engine/images/image_loader.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/headless_engine.h"
#include "tiff_test_files.h"

namespace {

using namespace tiff_files;

TEST(ImageLoader, MissingFileShowsTheBoxAndTheImageIsPreparedAsItWas) {
  auto& headless = StartHeadlessEngine();
  Image empty;
  ImageLoader::Load("Images\\nothere.tif", &empty, DRAW_ALPHA);
  ASSERT_EQ(headless.MessageBoxes().size(), 1u);
  const auto& box = headless.MessageBoxes()[0];
  EXPECT_EQ(
      std::tuple(box.owner, box.caption, box.text),
      std::tuple(
          nullptr, "Vorn Error",
          ".TIF File Not Found: Images\\nothere.tif\n\nMake sure paths and names of TIF images "
          "are correct. If you started the game outside of Visual C++, make sure the executable "
          "is in the correct location to find images."));
  EXPECT_EQ(std::tuple(empty.data, empty.width, empty.format, empty.purpose),
            std::tuple(nullptr, 0, IMAGE_RGB16 | IMAGE_ALPHA, DRAW_ALPHA));

  // An image that holds a picture keeps it; a name of 99 characters loads. A name that does not
  // fit the 99-character field cannot be opened: it is reported as missing.
  const Picture picture = Pattern(3, 2, false);
  const std::string name = std::string(95, 'n') + ".tif", long_name = "n" + name;
  WriteFile(name, MakeTiff(picture, {}));
  WriteFile(long_name, MakeTiff(Pattern(5, 5, false), {}));
  Image image;
  ImageLoader::Load(name.c_str(), &image, DRAW_MASKED);
  ImageLoader::Load("Images\\tile01.tif", &image, DRAW_MASKED);
  ImageLoader::Load(long_name.c_str(), &image, DRAW_MASKED);
  ASSERT_EQ(headless.MessageBoxes().size(), 3u);
  EXPECT_EQ(headless.MessageBoxes()[2].text.substr(0, 21 + long_name.size()),
            ".TIF File Not Found: " + long_name);
  const uint8_t* rgb = &picture.rgb[15];
  EXPECT_EQ(std::tuple(image.width, image.format, image.pixels16()[5]),
            std::tuple(3, IMAGE_RGB16, (rgb[0] >> 3) << 11 | (rgb[1] >> 2) << 5 | rgb[2] >> 3));
}

// A file the reader refuses (a row wider than its buffer) ends the program with status -1 after
// its line on standard output (sent to standard error here, where the death test can see it).
TEST(ImageLoader, RefusedFilesPrintTheirLineAndEnd) {
  UseFreshHeadless({});
  Bytes file = MakeTiff(Pattern(5, 5, false), {.rows_per_strip = 2});
  SetEntry(file, 256, 4000);
  std::filesystem::create_directory("Images");
  WriteFile("Images/bad.tif", file);
  Image image;
  EXPECT_EXIT(
      {
        dup2(STDERR_FILENO, STDOUT_FILENO);
        ImageLoader::Load("Images\\bad.tif", &image, DRAW_MASKED);
      },
      testing::ExitedWithCode(255), "Load:Tiff: File is corrupted, or is not a \\.TIFF file\\.\n");
}

long MaxResidentKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// The most memory one loaded picture can take (the README's bound): 16,777,216 pixels of two
// bytes and an alpha byte each, 48 MiB, plus the reader's window and row. A file of a few hundred
// bytes claims it: 4-bit samples the reader leaves zero, and an alpha preparation that writes
// every byte. A child process measures its own peak.
TEST(ImageLoader, APictureAtThePixelCapStaysWithinItsMemoryBound) {
  StartHeadlessEngine();
  Bytes file = MakeTiff(Pattern(1, 1, true), {});
  SetEntry(file, 256, 4096), SetEntry(file, 257, 4096), SetSizes(file, 4, 4);
  WriteFile("cap.tif", file);
  const pid_t child = fork();
  if (child == 0) {
    const long before = MaxResidentKiB();
    Image image;
    ImageLoader::Load("cap.tif", &image, DRAW_ALPHA);
    const bool loaded = image.width == 4096 && image.alpha != nullptr;
    _exit(loaded ? static_cast<int>((MaxResidentKiB() - before) / 1024) : 255);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  const int grown_mib = WEXITSTATUS(status);
#ifdef __SANITIZE_ADDRESS__
  constexpr int kBound = 49 + 49 / 8 + 2;  // the address checker's shadow adds an eighth
#else
  constexpr int kBound = 49;
#endif
  EXPECT_GE(grown_mib, 40);  // the pixels were really written
  EXPECT_LE(grown_mib, kBound);
}

}  // namespace

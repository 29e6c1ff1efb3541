// Loading a character's worth of pictures (61 frames of 272 x 220, 8-bit RGB with alpha): the
// engine's reader alone, the engine's full load (read and prepare for masked drawing, as the
// game loads them), and libtiff's TIFFReadRGBAImage, on the same files in one run. Each
// iteration reads all 61 files. At the end the ratios ours / libtiff are printed. On a busy
// machine, run with --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <tiffio.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/pixel_format.h"
#include "engine/files/file.h"
#include "engine/images/image_loader.h"
#include "engine/images/tiff_reader.h"

namespace {

constexpr int kFiles = 61;
constexpr int kWidth = 272;
constexpr int kHeight = 220;

std::string Path(int i, char separator) {
  char name[64];
  std::snprintf(name, sizeof name, "Images%cframe%02d.tif", separator, i);
  return name;
}

// A figure-like frame: a soft-edged disc on a transparent ground, different in every frame.
void WriteFrames() {
  std::filesystem::create_directories("Images");
  std::vector<uint8_t> row(kWidth * 4);
  for (int i = 0; i < kFiles; ++i) {
    TIFF* tif = TIFFOpen(Path(i, '/').c_str(), "w");
    if (tif == nullptr) std::abort();
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kWidth);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kHeight);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 4);
    const uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
    TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, extra);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const int dx = x - kWidth / 2 - i;
        const int dy = y - kHeight / 2;
        const int d = dx * dx + dy * dy;
        uint8_t* p = &row[static_cast<size_t>(x) * 4];
        p[0] = static_cast<uint8_t>(x + i * 3);
        p[1] = static_cast<uint8_t>(y * 2);
        p[2] = static_cast<uint8_t>((x ^ y) + i);
        p[3] = d < 80 * 80 ? 255 : d < 90 * 90 ? static_cast<uint8_t>((90 * 90 - d) / 7) : 0;
      }
      if (TIFFWriteScanline(tif, row.data(), static_cast<uint32_t>(y), 0) != 1) std::abort();
    }
    TIFFClose(tif);
    // On disk before any timing starts, so that no run pays for writing them back.
    const int fd = open(Path(i, '/').c_str(), O_RDONLY);
    if (fd < 0 || fsync(fd) != 0 || close(fd) != 0) std::abort();
  }
}

void UseLayout565() {
  SetScreenFormat(0xF800, 0x07E0, 0x001F);
}

void OursReadOnly(benchmark::State& state) {
  std::vector<std::string> paths;
  for (int i = 0; i < kFiles; ++i) paths.push_back(Path(i, '\\'));
  for (auto _ : state) {
    for (const std::string& path : paths) {
      Image image;
      File file;
      file.Open(path.c_str(), FILE_READ | RANDOM);
      TiffReader reader;
      if (reader.Read(file, image).status != TIFF_OK) state.SkipWithError("read failed");
      benchmark::DoNotOptimize(image.data);
    }
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
}

void OursLoadMasked(benchmark::State& state) {
  UseLayout565();
  std::vector<std::string> paths;
  for (int i = 0; i < kFiles; ++i) paths.push_back(Path(i, '\\'));
  for (auto _ : state) {
    for (const std::string& path : paths) {
      Image image;
      ImageLoader::Load(path.c_str(), &image, DRAW_MASKED);
      benchmark::DoNotOptimize(image.data);
    }
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
}

void LibtiffReadRGBAImage(benchmark::State& state) {
  TIFFSetWarningHandler(nullptr);
  std::vector<std::string> paths;
  for (int i = 0; i < kFiles; ++i) paths.push_back(Path(i, '/'));
  for (auto _ : state) {
    for (const std::string& path : paths) {
      // Every frame gets a picture of its own, as each of ours gets its own Image.
      std::unique_ptr<uint32_t[]> raster(new uint32_t[static_cast<size_t>(kWidth) * kHeight]);
      TIFF* tif = TIFFOpen(path.c_str(), "r");
      if (tif == nullptr ||
          !TIFFReadRGBAImageOriented(tif, kWidth, kHeight, raster.get(), ORIENTATION_TOPLEFT, 0)) {
        state.SkipWithError("libtiff failed");
      }
      if (tif != nullptr) TIFFClose(tif);
      benchmark::DoNotOptimize(raster.get());
    }
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
}

// Prints the table as usual and then the ratios of our times to libtiff's, from the median of
// repetitions when there are any, else from the single run. CPU time is the steadier of the two
// on a busy machine; both are shown.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      const std::string& name = run.run_name.function_name;
      if (median || (run.run_type == Run::RT_Iteration && !medians_.count(name))) {
        times_[name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        if (median) medians_[name] = true;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    const auto theirs = times_.find("LibtiffReadRGBAImage");
    if (theirs == times_.end()) return;
    for (const char* ours : {"OursReadOnly", "OursLoadMasked"}) {
      const auto it = times_.find(ours);
      if (it == times_.end()) continue;
      std::printf("ratio %s / LibtiffReadRGBAImage: real time %.3f, CPU time %.3f\n", ours,
                  it->second.first / theirs->second.first,
                  it->second.second / theirs->second.second);
    }
  }

 private:
  std::map<std::string, std::pair<double, double>> times_;
  std::map<std::string, bool> medians_;
};

}  // namespace

BENCHMARK(OursReadOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(OursLoadMasked)->Unit(benchmark::kMillisecond);
BENCHMARK(LibtiffReadRGBAImage)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  // The frames are written once into a folder of their own, removed at the end.
  char folder[] = "/tmp/vorn-tiff-bench-XXXXXX";
  if (mkdtemp(folder) == nullptr || chdir(folder) != 0) return 1;
  WriteFrames();

  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  if (chdir("/") == 0) std::filesystem::remove_all(folder);
  return 0;
}

#include "tools/make_assets/tiff_out.h"

#include <tiffio.h>

#include <cstdio>
#include <vector>

namespace assets {

bool WriteTiff(const std::string& path, const Picture& picture) {
  TIFF* tif = TIFFOpen(path.c_str(), "w");
  if (tif == nullptr) {
    std::fprintf(stderr, "make-assets: cannot write %s\n", path.c_str());
    return false;
  }
  const uint16_t samples = picture.has_alpha ? 4 : 3;
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(picture.width));
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(picture.height));
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, static_cast<uint16_t>(8));
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  // One strip: the reader takes rows in file order and needs no strip table.
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(picture.height));
  if (picture.has_alpha) {
    const uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
    TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, extra);
  }

  std::vector<uint8_t> row(static_cast<size_t>(picture.width) * samples);
  bool ok = true;
  for (int y = 0; y < picture.height && ok; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const uint8_t* p = picture.At(x, y);
      for (int s = 0; s < samples; ++s) row[static_cast<size_t>(x) * samples + s] = p[s];
    }
    ok = TIFFWriteScanline(tif, row.data(), static_cast<uint32_t>(y), 0) == 1;
  }
  TIFFClose(tif);
  if (!ok) std::fprintf(stderr, "make-assets: cannot write %s\n", path.c_str());
  return ok;
}

}  // namespace assets

// The component model of the JPEG-2000 family class: what its codecs (OpenJPEG for JP2 and code
// streams, our own for PGX, PNM and Sun raster) read into and write from. N planes of int
// samples, each with its own size, precision and signedness, and the colour family they form.
#pragma once

#include <cstdint>
#include <vector>

struct IxJasComponent {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t prec = 8;  // bits per sample, 1..16 (up to 31 from OpenJPEG)
  bool sgnd = false;
  // What a JP2 channel definition (or the layout of a bare code stream) says the plane is:
  // 0 colour, 1 opacity, 2 opacity the colour was multiplied by.
  uint8_t alpha = 0;
  std::vector<int32_t> data;  // rows top first
};

enum class IxJasFamily { kGrey, kRgb, kYcc, kOther };

struct IxJasImage {
  std::vector<IxJasComponent> comps;
  IxJasFamily family = IxJasFamily::kGrey;
};

// The largest number of samples the codecs hold for one picture: as many as the image object may
// hold pixels at 8 bits, spread over every component.
constexpr uint64_t IX_JAS_MAX_SAMPLES = 1024ull * 1024 * 1024;

// libjpeg's source and destination managers over the image library's byte streams: JPEG data is
// read and written through an IxFile in 64 KB steps (big enough for libjpeg to keep to its fast
// Huffman paths, which need several KB of data or room in hand); a stream held in memory is read
// in place. A stream that ends early reads as an end-of-image marker, so a truncated picture
// decodes up to the cut.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

// libjpeg's headers need <cstdio> (FILE, size_t) first.
// clang-format off
#include <jpeglib.h>
// clang-format on

#include "imagelib/IxImageJPG.h"

class IxImageJPG::IxFileJpg : public jpeg_destination_mgr, public jpeg_source_mgr {
 public:
  static constexpr size_t kBufferSize = 65536;

  explicit IxFileJpg(IxFile* stream);
  IxFileJpg(const IxFileJpg&) = delete;
  IxFileJpg& operator=(const IxFileJpg&) = delete;

  // Procedures handed to libjpeg. Errors leave through libjpeg's error exit, so they hold no
  // objects that would need destroying.
  static void InitSource(j_decompress_ptr cinfo);
  static boolean FillInputBuffer(j_decompress_ptr cinfo);
  static void SkipInputData(j_decompress_ptr cinfo, long count);
  static void TermSource(j_decompress_ptr cinfo);
  static void InitDestination(j_compress_ptr cinfo);
  static boolean EmptyOutputBuffer(j_compress_ptr cinfo);
  static void TermDestination(j_compress_ptr cinfo);

 private:
  IxFile* m_pFile;
  std::unique_ptr<uint8_t[]> m_pBuffer;
  bool m_bStartOfFile;
};

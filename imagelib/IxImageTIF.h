// The TIFF format class: the image object over libtiff through client I/O procedures on an
// IxFile. Reads one page of any TIFF libtiff can read (palette, grey and grey-alpha at 1, 4, 8
// and 16 bits, RGB and RGBA at 8 and 16 bits and 8-bit CIELab directly, everything else through
// libtiff's RGBA reader) in its stored orientation turned upright, with associated alpha divided
// out of the colour; refuses sample layouts neither path reads with a message naming them; writes
// single pages or, with the append flag, multipage files on one object.
#pragma once

#include "imagelib/IxImage.h"

struct tiff;

// Opens a libtiff handle over `stream` ("r", "w" or "a"), silent: libtiff's own messages are never
// shown. The stream stays open when the handle is closed.
struct tiff* TiffOpenOverIxFile(IxFile* stream, const char* mode);

class IxImageTIF : public IxImage {
 public:
  IxImageTIF() : IxImage(IXIMAGE_FORMAT_TIF) {}
  ~IxImageTIF() override;

  bool Decode(IxFile* hFile);
  bool Encode(IxFile* hFile, bool bAppend = false);

 private:
  // `premultiplied`: the colour the reader gives is multiplied by its alpha.
  bool DecodeRGBA(struct tiff* tif, bool premultiplied);
  bool DecodeStrips(struct tiff* tif, uint32_t samples, uint32_t bitsPerSample, uint32_t photometric,
                    uint32_t rowsPerStrip, bool premultiplied);
  void PutStripLine(const uint8_t* src, int64_t row, uint32_t samples, uint32_t bitsPerSample, bool lab,
                    bool premultiplied);
  bool EncodeBody(struct tiff* tif);

  struct tiff* m_tif = nullptr;  // open between the pages of a multipage write
  bool m_multipage = false;
  int32_t m_pages = 0;
};

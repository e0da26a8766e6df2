// Which class handles each format id, for the loading and saving dispatch. A format class plugs
// in from its own header: the build defines IX_HAS_<FMT> for IxFormatTable.cpp when
// imagelib/IxImage<FMT>.h exists (imagelib/CMakeLists.txt), so adding a format class needs no
// edit elsewhere. Ids whose class is not built yet have no entry,
// and the dispatch refuses them like an unknown format.
//
// What the dispatch expects of a format class F (deriving from IxImage):
//   - a default constructor starting the object with its own format id;
//   - bool Decode(IxFile*) and bool Encode(IxFile*), or, for the JPEG-2000 family class,
//     bool Decode(IxFile*, uint32_t format) and bool Encode(IxFile*, uint32_t format);
//   - the TIFF class's encoder is bool Encode(IxFile*, bool append).
// A decoder Creates its picture in its own object and leaves its reason in its own last error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class IxImage;
class IxFile;

struct IxFormatCodec {
  std::unique_ptr<IxImage> (*make)();
  bool (*decode)(IxImage& object, IxFile* stream, uint32_t format);
  bool (*encode)(IxImage& object, IxFile* stream, uint32_t format);
};

// The codec of a format id 1..15, or null when no class for it is built (or the id is unknown).
// Detection reaches the JPEG-2000 family class through any of its ids and hands it id 0.
const IxFormatCodec* IxFindFormatCodec(uint32_t format);

// The format whose signature the first `n` bytes of a stream carry, or 0. Detection uses it only
// to name the reason when every decoder refuses: the decoder of the format the file claims to be
// says what is wrong with it. Formats with no signature of their own (TGA, WBMP) are never named.
uint32_t IxClaimedFormat(const uint8_t* head, size_t n);

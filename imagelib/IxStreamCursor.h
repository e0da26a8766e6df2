// A read cursor over an IxFile for the decoders of BMP and the small formats (ICO, TGA, PCX, WBMP, the
// metafile header, PGX, PNM, Sun raster): it knows where the stream ends, checks every length
// against that before reading, and keeps a small read-ahead so byte-wise decoding stays cheap.
// A damaged or hostile file can make a read fail but never make a decoder read past the data or
// allocate more than the data can justify.
#pragma once

#include <cstddef>
#include <cstdint>

class IxFile;

class IxStreamCursor {
 public:
  // Starts at the stream's current position; positions below are counted from there.
  explicit IxStreamCursor(IxFile* file);
  IxStreamCursor(const IxStreamCursor&) = delete;
  IxStreamCursor& operator=(const IxStreamCursor&) = delete;

  uint64_t Position() const { return position_; }
  // Bytes left before the end of the stream (a stream of unknown size counts as endless: its
  // reads still stop at its real end).
  uint64_t Remaining() const;
  bool AtEnd() { return Remaining() == 0 || Peek() < 0; }

  // Copies `count` bytes; false when fewer are left (what was there is consumed).
  bool Read(uint8_t* out, uint64_t count);
  // Copies what there is of the next `count` bytes, stopping at the end of the stream, and
  // answers how many were copied: for data that may be cut short and is kept as far as it goes.
  uint64_t ReadSome(uint8_t* out, uint64_t count);
  // The next byte as 0..255, or -1 at the end.
  int ReadByte();
  int Peek();
  bool ReadLE16(uint16_t& v);
  bool ReadLE32(uint32_t& v);
  bool ReadBE32(uint32_t& v);
  bool Skip(uint64_t count);
  // Moves to an offset from the starting position; false (and nothing moved) past the end.
  bool SeekTo(uint64_t offset);

  // Whether a picture whose decoded pixels take `decodedBytes` can come from what is left of the
  // stream when one stored byte yields at most `maxExpansion` decoded bytes. Small pictures
  // always pass, so short test files with generous headers still decode.
  bool CanYield(uint64_t decodedBytes, uint64_t maxExpansion) const;

  static uint16_t LE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
  static uint32_t LE32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
  }
  static uint32_t BE32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
  }

 private:
  bool Fill();

  IxFile* file_;
  int64_t start_;  // stream position of offset 0
  int64_t size_;   // bytes from start_ to the stream's end, or -1 when unknown
  uint64_t position_ = 0;
  uint8_t buffer_[4096];
  size_t bufferPos_ = 0;
  size_t bufferLen_ = 0;
};

// The GIF format class (format id 2). Decoding reads GIF87a and GIF89a files with several
// frames, local colour tables, transparency, interlacing, a comment and a loop count; it
// composites frames up to the one asked for onto a screen-sized picture, clipping frames to it and
// honouring the disposal methods (keep, restore to background, restore to previous). While every
// frame uses one colour table the picture stays indexed; a frame with a different table turns it
// into a 24-bit picture (with an alpha plane when it has transparency), so that every pixel keeps
// the colour it was drawn with. A damaged code stream keeps the pixels decoded before the damage
// and the load succeeds with the damage named in the last error. A file of small frames
// with their own tables and no global table (as EncodeRGB writes 24-bit pictures) reads back as
// one 24-bit picture. Encoding writes GIF89a with one of three code-stream coders, chosen by the
// GIF codec option word: 0 LZW, 1 literal codes only, 2 run-length.
#pragma once

#include <cstdint>
#include <vector>

#include "imagelib/IxGifBlockReader.h"
#include "imagelib/IxImage.h"

class IxFile;
class IxGifLzwDecoder;

class IxImageGIF : public IxImage {
 public:
  IxImageGIF();

  bool Decode(IxFile* hFile);
  bool Encode(IxFile* hFile);
  // For pictures of more than 8 bits per pixel: a mosaic of 17 x 15 tiles with local tables.
  bool EncodeRGB(IxFile* hFile);

  // Code-stream coders: write this picture's pixels, top row first, as data sub-blocks (without
  // the terminator). `initBits` is the minimum code size plus one. False on a write error.
  bool CompressLZW(int initBits, IxFile* hFile);
  bool CompressNone(int initBits, IxFile* hFile);
  bool CompressRLE(int initBits, IxFile* hFile);

  const char* GetComment() const { return comment_; }
  // At most 255 characters are kept.
  void SetComment(const char* text);
  uint16_t GetLoops() const { return loops_; }
  uint8_t GetDisposalMethod() const { return disposal_; }
  void SetDisposalMethod(uint8_t method) { disposal_ = method & 7; }

 private:
  enum class Coder { kLzw, kNone, kRle };

  // The picture's palette indices, one per byte, top row first.
  std::vector<uint8_t> IndicesTopDown() const;
  void AppendCodeStream(std::vector<uint8_t>& out, int initBits, Coder coder) const;
  bool WriteCodeStream(int initBits, IxFile* hFile, Coder coder);
  void AppendGraphicControl(std::vector<uint8_t>& out) const;
  void AppendComment(std::vector<uint8_t>& out) const;
  bool WriteAll(IxFile* hFile, const std::vector<uint8_t>& bytes);

  // An area of the screen in rows from the top, already clipped to it.
  struct Area {
    int left = 0, top = 0, width = 0, height = 0;
    uint64_t Pixels() const { return static_cast<uint64_t>(width) * static_cast<uint64_t>(height); }
  };
  static Area ClipToScreen(int left, int top, int width, int height, int screenWidth, int screenHeight);
  // Sets an area of the indexed picture to one index.
  void RestoreBackground(const Area& area, uint8_t value);
  // Sets an area of the 24-bit picture to one colour and, with an alpha plane, its alpha.
  void FillArea(const Area& area, IxRGBQuad colour);
  // The pixels of an area as they are now (indices, or blue, green, red and alpha), and back.
  std::vector<uint8_t> SaveArea(const Area& area) const;
  void RestoreArea(const Area& area, const std::vector<uint8_t>& saved);
  // Turns the indexed screen into a 24-bit one with the colours its palette gives; with
  // `transIndex` >= 0 an alpha plane makes that index's pixels transparent.
  bool ToColourScreen(int transIndex);
  // Moves another picture's pixels into this object, keeping this object's information block.
  bool AdoptPixels(IxImage& from);

  // Decoding in steps: the screen, the counting pass, then the frames one by one.
  struct Screen {
    int width = 0, height = 0;
    uint8_t flags = 0;
    bool globalTable = false;
    int tableSize = 0;
    uint8_t table[256 * 3] = {};
    uint64_t blocksStart = 0;  // where the blocks after the global table begin
  };
  struct FrameCount {
    int frames = 0, framesOnScreen = 0, images = 0;
    bool firstFrameSmaller = false;
  };
  struct Composition;
  bool ReadScreen(IxFile* hFile, std::vector<uint8_t>& data, Screen& screen, bool& headerOnly);
  bool CountFrames(IxMemoryCursor& in, const Screen& screen, FrameCount& count);
  bool DecodeFrame(const IxGifBlockReader::Block& b, const std::vector<uint8_t>& data, Composition& c,
                   IxGifLzwDecoder& decoder);

  // Graphic-control record of the frame being read or written.
  uint8_t controlFlags_ = 0;
  uint16_t controlDelay_ = 0;
  uint8_t controlTransIndex_ = 0;
  char comment_[256];
  uint16_t loops_ = 0;
  uint8_t disposal_ = 0;
};

// IxImageGIF: the class and its decoder. The whole file is read into memory once and walked
// with a bounded cursor; a first pass counts the frames that can be decoded, a second composites
// frames onto the screen-sized picture up to the frame asked for.
#include "imagelib/IxImageGIF.h"

#include <cstring>
#include <memory>

#include "imagelib/IxFile.h"
#include "imagelib/IxGifBlockReader.h"
#include "imagelib/IxGifCursor.h"
#include "imagelib/IxGifFrameSink.h"
#include "imagelib/IxGifLzwDecoder.h"

namespace {

// A GIF screen can be 65535 x 65535, which Create accepts at 8 bits per pixel; a few bytes of
// file must not be able to demand gigabytes, so screens above 32 megapixels are refused.
constexpr uint64_t kMaxScreenPixels = uint64_t{1} << 25;
// Below the cap a screen still costs its whole area (allocated and cleared) whatever the file
// holds, so a large one must come with data in some proportion to it, as for BMP: a picture of
// more than 16 MiB needs at least 1/256 of its size in the file. Real large GIFs carry far more;
// a mosaic of tiles carries more than the picture itself, a table for every 255 pixels.
constexpr uint64_t kUncheckedPictureBytes = uint64_t{16} << 20;
constexpr uint64_t kMaxExpansion = 256;
// Restoring frames to the background costs their area, not their bytes: a few bytes per frame
// could otherwise keep the decoder clearing screens for hours. Composition stops past this many
// cleared pixels (a thousand full-screen restores of a megapixel animation).
constexpr uint64_t kMaxRestoredPixels = uint64_t{1} << 30;
constexpr size_t kReadChunk = size_t{1} << 16;

// Bits per pixel of a frame whose colour table has `entries` entries.
int BppForTable(int entries) { return entries > 16 ? 8 : (entries > 2 ? 4 : 1); }

bool FitsScreen(const IxGifBlockReader::Block& b, int screenWidth, int screenHeight) {
  // A frame of no pixels has nothing to decode; one that reaches outside the screen is left out
  // on purpose (it is neither counted nor drawn).
  return b.width > 0 && b.height > 0 && b.left + b.width <= screenWidth && b.top + b.height <= screenHeight;
}

void ReadToEnd(IxFile* file, std::vector<uint8_t>& data) {
  // The stream's size is only a hint (it may be wrong or unknown); reading goes on to the end.
  const int64_t size = file->Size();
  const int64_t position = file->Tell();
  if (size > position && position >= 0 && size - position <= (int64_t{1} << 28)) {
    const size_t have = data.size();
    data.resize(have + static_cast<size_t>(size - position));
    const size_t got = file->Read(data.data() + have, 1, static_cast<size_t>(size - position));
    data.resize(have + got);
  }
  for (;;) {
    const size_t have = data.size();
    data.resize(have + kReadChunk);
    const size_t got = file->Read(data.data() + have, 1, kReadChunk);
    data.resize(have + got);
    if (got == 0) return;
  }
}

}  // namespace

IxImageGIF::IxImageGIF() : IxImage(IXIMAGE_FORMAT_GIF) { comment_[0] = '\0'; }

void IxImageGIF::SetComment(const char* text) {
  if (text == nullptr) text = "";
  strncpy(comment_, text, sizeof(comment_) - 1);
  comment_[sizeof(comment_) - 1] = '\0';
}

bool IxImageGIF::AdoptPixels(IxImage& from) {
  IxImageInfo keep = info;
  const IxBitmapInfoHeader old = head;
  if (!Transfer(from)) return false;
  keep.dwEffWidth = info.dwEffWidth;
  keep.pImage = info.pImage;
  keep.pGhost = nullptr;
  keep.last_c_isvalid = 0;
  info = keep;
  head.biXPelsPerMeter = old.biXPelsPerMeter;
  head.biYPelsPerMeter = old.biYPelsPerMeter;
  return true;
}

void IxImageGIF::RestoreBackground(int left, int top, int width, int height, uint8_t value) {
  // Whole bytes of a row are filled in one go, pixels that share a byte with their neighbours
  // one by one. At 1 bit per pixel any value sets the bit.
  const int bpp = GetBpp();
  const int perByte = 8 / bpp;
  const uint8_t v = bpp == 1 ? (value ? 1 : 0) : static_cast<uint8_t>(value & ((1 << bpp) - 1));
  const uint8_t fill = bpp == 8 ? v : (bpp == 4 ? static_cast<uint8_t>(v * 17) : (v ? 0xFF : 0));
  const int end = left + width;
  const int firstByte = (left + perByte - 1) / perByte;
  const int lastByte = end / perByte;  // exclusive
  const int screenHeight = static_cast<int>(GetHeight());
  for (int r = 0; r < height; ++r) {
    const int y = screenHeight - 1 - (top + r);
    uint8_t* row = GetBits(y);
    if (row == nullptr) continue;
    if (firstByte >= lastByte) {
      for (int x = left; x < end; ++x) SetPixelIndex(x, y, v);
      continue;
    }
    for (int x = left; x < firstByte * perByte; ++x) SetPixelIndex(x, y, v);
    memset(row + firstByte, fill, static_cast<size_t>(lastByte - firstByte));
    for (int x = lastByte * perByte; x < end; ++x) SetPixelIndex(x, y, v);
  }
}

bool IxImageGIF::Decode(IxFile* hFile) {
  if (hFile == nullptr) return false;
  const int64_t start = hFile->Tell();
  std::vector<uint8_t> data(13);
  if (hFile->Read(data.data(), 1, 13) != 13) return false;
  if (memcmp(data.data(), "GIF8", 4) != 0) return false;
  const int screenWidth = data[6] | (data[7] << 8);
  const int screenHeight = data[8] | (data[9] << 8);
  const uint8_t screenFlags = data[10];

  if (info.nEscape == -1) {
    head.biWidth = screenWidth;
    head.biHeight = screenHeight;
    return true;
  }

  ReadToEnd(hFile, data);
  IxGifCursor in(data.data(), data.size());
  in.SeekTo(13);

  // The current colour table: the global one, replaced by each local table met.
  uint8_t table[256 * 3] = {};
  int tableSize = IxGifBlockReader::TableSize(screenFlags);
  const bool globalTable = (screenFlags & 0x80) != 0;
  if (globalTable && !in.Read(table, static_cast<size_t>(tableSize) * 3)) in.SeekTo(data.size());
  const size_t blocksStart = in.Position();

  // Counting pass: which frames can be decoded, and whether this is a mosaic of tiles (no global
  // table, several frames, the first one smaller than the screen in either direction).
  int frames = 0;
  bool firstFrameSmaller = false;
  {
    IxGifBlockReader reader(in);
    for (;;) {
      if (info.nEscape > 0) return false;
      const IxGifBlockReader::Block b = reader.Next();
      if (b.kind == IxGifBlockReader::Kind::kEnd || b.kind == IxGifBlockReader::Kind::kTrailer) break;
      if (b.kind == IxGifBlockReader::Kind::kComment) SetComment(b.comment.c_str());
      if (b.kind == IxGifBlockReader::Kind::kApplication && b.hasLoopCount) loops_ = b.loopCount;
      if (b.kind != IxGifBlockReader::Kind::kImage || !FitsScreen(b, screenWidth, screenHeight)) continue;
      if (frames == 0) firstFrameSmaller = b.width != screenWidth || b.height != screenHeight;
      ++frames;
    }
  }
  info.nNumFrames = frames;
  if (info.nFrame < 0 || info.nFrame >= frames) return false;
  const bool trueColour = frames > 1 && !globalTable && firstFrameSmaller;
  const int frameToLoad = trueColour ? frames - 1 : info.nFrame;

  const uint64_t screenPixels = static_cast<uint64_t>(screenWidth) * static_cast<uint64_t>(screenHeight);
  if (screenPixels > kMaxScreenPixels) {
    SetLastError("IXIMAGE_MAX_MEMORY exceeded");
    return false;
  }
  // The picture made: 24 bits per pixel for the mosaic, at most 8 for frames composed by index.
  const uint64_t pictureBytes = screenPixels * (trueColour ? 3 : 1);
  if (pictureBytes > kUncheckedPictureBytes && pictureBytes / kMaxExpansion > data.size()) {
    SetLastError("GIF screen too large for the data in the file");
    return false;
  }

  // Decoding pass. A graphic-control record applies to the one image that follows it.
  controlFlags_ = 0;
  controlDelay_ = 0;
  controlTransIndex_ = 0;
  info.nBkgndIndex = -1;
  in.SeekTo(blocksStart);
  IxGifBlockReader reader(in);
  auto decoder = std::make_unique<IxGifLzwDecoder>();
  IxRGBQuad colours[256];
  int frame = 0;
  int firstTransIndex = -1;
  uint8_t clearValue = 0;
  uint8_t previousDisposal = 0;
  IxGifBlockReader::Block previous;
  uint8_t frameFlags = 0;
  int frameTransIndex = -1;
  uint16_t frameDelay = 0;
  bool haveTable = globalTable;
  uint64_t restoredPixels = 0;

  for (;;) {
    if (info.nEscape > 0) return false;
    const IxGifBlockReader::Block b = reader.Next();
    if (b.kind == IxGifBlockReader::Kind::kEnd || b.kind == IxGifBlockReader::Kind::kTrailer) break;
    if (b.kind == IxGifBlockReader::Kind::kGraphicControl && b.controlValid) {
      controlFlags_ = b.controlFlags;
      controlDelay_ = b.delay;
      controlTransIndex_ = b.transIndex;
      info.nBkgndIndex = (b.controlFlags & 1) ? b.transIndex : -1;
      continue;
    }
    if (b.kind != IxGifBlockReader::Kind::kImage) continue;
    if (!FitsScreen(b, screenWidth, screenHeight)) {
      controlFlags_ = 0;
      controlDelay_ = 0;
      controlTransIndex_ = 0;
      info.nBkgndIndex = -1;
      continue;
    }

    if (b.localTableSize > 0) {
      tableSize = b.localTableSize;
      memcpy(table, data.data() + b.localTableOffset, static_cast<size_t>(tableSize) * 3);
      haveTable = true;
    }
    const int bpp = BppForTable(tableSize);
    frameTransIndex = info.nBkgndIndex;
    for (int k = 0; k < 256; ++k) {
      IxRGBQuad& c = colours[k];
      c.rgbReserved = 0;
      if (haveTable && k < tableSize) {
        c.rgbRed = table[k * 3];
        c.rgbGreen = table[k * 3 + 1];
        c.rgbBlue = table[k * 3 + 2];
      } else {
        const uint8_t v = haveTable && frameTransIndex >= 0 ? 255 : 0;
        c.rgbRed = c.rgbGreen = c.rgbBlue = v;
      }
    }

    IxGifFrameSink::Frame place;
    place.left = b.left;
    place.top = b.top;
    place.width = b.width;
    place.height = b.height;
    place.interlaced = (b.imageFlags & 0x40) != 0;
    place.bpp = bpp;
    place.transIndex = frameTransIndex;

    if (trueColour) {
      if (!IsValid()) {
        if (Create(screenWidth, screenHeight, 24, IXIMAGE_FORMAT_GIF) == nullptr) {
          SetLastError("Can't allocate memory");
          return false;
        }
        Clear(0);
      }
    } else if (frame == 0) {
      if (Create(screenWidth, screenHeight, static_cast<uint32_t>(bpp), IXIMAGE_FORMAT_GIF) == nullptr) {
        SetLastError("Can't allocate memory");
        return false;
      }
      clearValue = controlTransIndex_;
      Clear(clearValue);
      firstTransIndex = frameTransIndex;
    } else {
      if (previousDisposal == 2) {
        restoredPixels += static_cast<uint64_t>(previous.width) * static_cast<uint64_t>(previous.height);
        if (restoredPixels > kMaxRestoredPixels) {
          SetLastError("Too many GIF frames to compose");
          return false;
        }
        RestoreBackground(previous.left, previous.top, previous.width, previous.height, clearValue);
      }
      if (bpp > GetBpp()) {
        // A deeper local table than the picture holds: widen the picture, keeping its indices.
        IxImage wider;
        if (wider.Create(screenWidth, screenHeight, static_cast<uint32_t>(bpp), IXIMAGE_FORMAT_GIF) ==
            nullptr) {
          SetLastError("Can't allocate memory");
          return false;
        }
        for (int y = 0; y < screenHeight; ++y)
          for (int x = 0; x < screenWidth; ++x) wider.SetPixelIndex(x, y, BlindGetPixelIndex(x, y));
        if (!AdoptPixels(wider)) return false;
      }
    }

    IxGifFrameSink sink(*this, place, trueColour ? colours : nullptr);
    IxGifCursor codes(data.data(), data.size());
    codes.SeekTo(b.codeStreamOffset);
    int badCodes = 0;
    decoder->Decode(codes, b.width, sink, badCodes);
    if (info.nEscape != 0) return false;
    if (!trueColour) SetPalette(colours, 256);

    frameFlags = controlFlags_;
    frameDelay = controlDelay_;
    previousDisposal = static_cast<uint8_t>((controlFlags_ >> 2) & 7);
    disposal_ = previousDisposal;
    previous = b;
    controlFlags_ = 0;
    controlDelay_ = 0;
    controlTransIndex_ = 0;
    info.nBkgndIndex = -1;
    if (frame == frameToLoad) break;
    ++frame;
  }
  if (!IsValid()) return false;

  if (trueColour) {
    if ((frameFlags & 1) && frameTransIndex >= 0) {
      SetTransColor(colours[frameTransIndex & 0xFF]);
      info.nBkgndIndex = 0;
    } else {
      info.nBkgndIndex = -1;
    }
  } else {
    info.nBkgndIndex = firstTransIndex;
  }
  controlFlags_ = frameFlags;
  controlDelay_ = frameDelay;
  info.dwFrameDelay = frameDelay;
  hFile->Seek(start + static_cast<int64_t>(in.Position()), SEEK_SET);
  return true;
}

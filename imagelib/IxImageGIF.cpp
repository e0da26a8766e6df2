// IxImageGIF: the class and its decoder. The whole file is read into memory once and walked
// with a bounded cursor; a first pass counts the frames that can be decoded, a second composites
// frames onto the screen-sized picture up to the frame asked for.
#include "imagelib/IxImageGIF.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "imagelib/IxFile.h"
#include "imagelib/IxGifBlockReader.h"
#include "imagelib/IxGifFrameSink.h"
#include "imagelib/IxGifLzwDecoder.h"
#include "imagelib/IxMemoryCursor.h"

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

bool SameColours(const IxRGBQuad* a, const IxRGBQuad* b, int count) {
  for (int k = 0; k < count; ++k) {
    if (a[k].rgbRed != b[k].rgbRed || a[k].rgbGreen != b[k].rgbGreen || a[k].rgbBlue != b[k].rgbBlue)
      return false;
  }
  return true;
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

IxImageGIF::Area IxImageGIF::ClipToScreen(int left, int top, int width, int height, int screenWidth,
                                          int screenHeight) {
  Area a;
  if (width <= 0 || height <= 0 || left >= screenWidth || top >= screenHeight) return a;
  a.left = left;
  a.top = top;
  a.width = std::min(width, screenWidth - left);
  a.height = std::min(height, screenHeight - top);
  return a;
}

void IxImageGIF::RestoreBackground(const Area& area, uint8_t value) {
  // Whole bytes of a row are filled in one go, pixels that share a byte with their neighbours
  // one by one. At 1 bit per pixel any value sets the bit.
  const int bpp = GetBpp();
  const int perByte = 8 / bpp;
  const uint8_t v = bpp == 1 ? (value ? 1 : 0) : static_cast<uint8_t>(value & ((1 << bpp) - 1));
  const uint8_t fill = bpp == 8 ? v : (bpp == 4 ? static_cast<uint8_t>(v * 17) : (v ? 0xFF : 0));
  const int left = area.left;
  const int end = area.left + area.width;
  const int firstByte = (left + perByte - 1) / perByte;
  const int lastByte = end / perByte;  // exclusive
  const int screenHeight = static_cast<int>(GetHeight());
  for (int r = 0; r < area.height; ++r) {
    const int y = screenHeight - 1 - (area.top + r);
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

void IxImageGIF::FillArea(const Area& area, IxRGBQuad colour) {
  const int screenHeight = static_cast<int>(GetHeight());
  for (int r = 0; r < area.height; ++r) {
    const int y = screenHeight - 1 - (area.top + r);
    for (int x = area.left; x < area.left + area.width; ++x) {
      uint8_t* p = BlindGetPixelPointer(x, y);
      if (p == nullptr) continue;
      p[0] = colour.rgbBlue;
      p[1] = colour.rgbGreen;
      p[2] = colour.rgbRed;
      AlphaSet(x, y, colour.rgbReserved);
    }
  }
}

std::vector<uint8_t> IxImageGIF::SaveArea(const Area& area) const {
  const bool colour = GetBpp() == 24;
  std::vector<uint8_t> saved;
  saved.reserve(static_cast<size_t>(area.Pixels()) * (colour ? 4 : 1));
  const int screenHeight = static_cast<int>(GetHeight());
  for (int r = 0; r < area.height; ++r) {
    const int y = screenHeight - 1 - (area.top + r);
    for (int x = area.left; x < area.left + area.width; ++x) {
      if (!colour) {
        saved.push_back(BlindGetPixelIndex(x, y));
        continue;
      }
      const uint8_t* p = BlindGetPixelPointer(x, y);
      saved.insert(saved.end(), {p[0], p[1], p[2], AlphaIsValid() ? BlindAlphaGet(x, y) : uint8_t{255}});
    }
  }
  return saved;
}

void IxImageGIF::RestoreArea(const Area& area, const std::vector<uint8_t>& saved) {
  const bool colour = GetBpp() == 24;
  if (saved.size() != static_cast<size_t>(area.Pixels()) * (colour ? 4 : 1)) return;
  const int screenHeight = static_cast<int>(GetHeight());
  size_t at = 0;
  for (int r = 0; r < area.height; ++r) {
    const int y = screenHeight - 1 - (area.top + r);
    for (int x = area.left; x < area.left + area.width; ++x) {
      if (!colour) {
        SetPixelIndex(x, y, saved[at++]);
        continue;
      }
      uint8_t* p = BlindGetPixelPointer(x, y);
      p[0] = saved[at];
      p[1] = saved[at + 1];
      p[2] = saved[at + 2];
      AlphaSet(x, y, saved[at + 3]);
      at += 4;
    }
  }
}

bool IxImageGIF::ToColourScreen(int transIndex) {
  const int width = static_cast<int>(GetWidth());
  const int height = static_cast<int>(GetHeight());
  IxImage colour;
  if (colour.Create(width, height, 24, IXIMAGE_FORMAT_GIF) == nullptr) return false;
  if (transIndex >= 0) {
    colour.AlphaCreate();
    if (!colour.AlphaIsValid()) return false;
  }
  for (int y = 0; y < height; ++y) {
    uint8_t* row = colour.GetBits(y);
    for (int x = 0; x < width; ++x) {
      const uint8_t index = BlindGetPixelIndex(x, y);
      const IxRGBQuad c = GetPaletteColor(index);
      row[3 * x] = c.rgbBlue;
      row[3 * x + 1] = c.rgbGreen;
      row[3 * x + 2] = c.rgbRed;
      if (index == transIndex) colour.AlphaSet(x, y, 0);
    }
  }
  return AdoptPixels(colour);
}

// The logical screen: the file's header, read to the end of the data. False for a file that is
// no GIF (with no error) and for a refused screen; `headerOnly` when only the size was asked for.
bool IxImageGIF::ReadScreen(IxFile* hFile, std::vector<uint8_t>& data, Screen& screen, bool& headerOnly) {
  data.resize(13);
  const size_t got = hFile->Read(data.data(), 1, 13);
  if (got < 4 || memcmp(data.data(), "GIF8", 4) != 0) return false;
  if (got != 13) return Fail("GIF header cut short");
  // From here the file is a GIF: every refusal says why, and a success leaves the last error
  // empty unless a frame was damaged.
  SetLastError("");
  screen.width = data[6] | (data[7] << 8);
  screen.height = data[8] | (data[9] << 8);
  screen.flags = data[10];

  if (info.nEscape == -1) {
    head.biWidth = screen.width;
    head.biHeight = screen.height;
    headerOnly = true;
    return true;
  }
  if (screen.width == 0 || screen.height == 0) return Fail("GIF screen has no pixels (zero width or height)");

  ReadToEnd(hFile, data);
  IxMemoryCursor in(data.data(), data.size());
  in.SeekTo(13);
  screen.tableSize = IxGifBlockReader::TableSize(screen.flags);
  screen.globalTable = (screen.flags & 0x80) != 0;
  if (screen.globalTable && !in.Read(screen.table, static_cast<size_t>(screen.tableSize) * 3))
    in.SeekTo(data.size());
  screen.blocksStart = in.Position();
  return true;
}

// Counting pass: every image of at least one pixel is a frame, also one that lies outside the
// screen (it draws nothing); whether this is a mosaic of tiles (no global table, several
// frames, the first one smaller than the screen in either direction).
bool IxImageGIF::CountFrames(IxMemoryCursor& in, const Screen& screen, FrameCount& count) {
  IxGifBlockReader reader(in);
  for (;;) {
    if (info.nEscape > 0) return Fail("Cancelled");
    const IxGifBlockReader::Block b = reader.Next();
    if (b.kind == IxGifBlockReader::Kind::kEnd || b.kind == IxGifBlockReader::Kind::kTrailer) break;
    if (b.kind == IxGifBlockReader::Kind::kComment) SetComment(b.comment.c_str());
    if (b.kind == IxGifBlockReader::Kind::kApplication && b.hasLoopCount) loops_ = b.loopCount;
    if (b.kind != IxGifBlockReader::Kind::kImage) continue;
    ++count.images;
    if (b.width <= 0 || b.height <= 0) continue;
    if (count.frames == 0) count.firstFrameSmaller = b.width != screen.width || b.height != screen.height;
    ++count.frames;
    if (ClipToScreen(b.left, b.top, b.width, b.height, screen.width, screen.height).Pixels() > 0)
      ++count.framesOnScreen;
  }
  return true;
}

// Everything the decoding pass carries from one frame to the next.
struct IxImageGIF::Composition {
  Composition(const Screen& s, bool mosaic, int toLoad)
      : screen(s), tableSize(s.tableSize), haveTable(s.globalTable), trueColour(mosaic), frameToLoad(toLoad) {
    memcpy(table, s.table, sizeof(table));
  }
  const Screen& screen;
  // The current colour table: the global one, replaced by each local table met.
  uint8_t table[256 * 3] = {};
  int tableSize;
  bool haveTable;
  const bool trueColour;  // a mosaic of tiles, composed at 24 bits
  const int frameToLoad;
  IxRGBQuad colours[256];
  // The colours the indexed screen's pixels mean, and how many of them come from a table.
  IxRGBQuad screenColours[256] = {};
  int screenTableSize = 0;
  bool colourScreen = false;  // composing into 24 bits since a frame's table differed
  IxRGBQuad background{0, 0, 0, 255};
  int frame = 0;
  int firstTransIndex = -1;
  uint8_t clearValue = 0;
  uint8_t previousDisposal = 0;
  Area previous;
  std::vector<uint8_t> savedArea;  // what the previous frame covered, for disposal 3
  uint8_t frameFlags = 0;
  int frameTransIndex = -1;
  uint16_t frameDelay = 0;
  uint64_t restoredPixels = 0;
  std::string damage;
};

// One frame of at least one pixel: its colours, the previous frame's disposal, then its pixels
// drawn onto the screen. False when the picture cannot go on.
bool IxImageGIF::DecodeFrame(const IxGifBlockReader::Block& b, const std::vector<uint8_t>& data,
                             Composition& c, IxGifLzwDecoder& decoder) {
  const Area area = ClipToScreen(b.left, b.top, b.width, b.height, c.screen.width, c.screen.height);

  if (b.localTableSize > 0) {
    c.tableSize = b.localTableSize;
    memcpy(c.table, data.data() + b.localTableOffset, static_cast<size_t>(c.tableSize) * 3);
    c.haveTable = true;
  }
  const int bpp = BppForTable(c.tableSize);
  const int frameTableSize = c.haveTable ? c.tableSize : 0;
  c.frameTransIndex = info.nBkgndIndex;
  for (int k = 0; k < 256; ++k) {
    IxRGBQuad& q = c.colours[k];
    q.rgbReserved = 0;
    if (c.haveTable && k < c.tableSize) {
      q.rgbRed = c.table[k * 3];
      q.rgbGreen = c.table[k * 3 + 1];
      q.rgbBlue = c.table[k * 3 + 2];
    } else {
      const uint8_t v = c.haveTable && c.frameTransIndex >= 0 ? 255 : 0;
      q.rgbRed = q.rgbGreen = q.rgbBlue = v;
    }
  }

  IxGifFrameSink::Frame place;
  place.left = b.left;
  place.top = b.top;
  place.width = b.width;
  place.height = b.height;
  place.interlaced = (b.imageFlags & 0x40) != 0;
  place.bpp = bpp;
  place.transIndex = c.frameTransIndex;

  if (c.trueColour) {
    if (!IsValid()) {
      if (Create(c.screen.width, c.screen.height, 24, IXIMAGE_FORMAT_GIF) == nullptr)
        return Fail("Can't allocate memory");
      Clear(0);
    }
  } else if (c.frame == 0) {
    if (Create(c.screen.width, c.screen.height, static_cast<uint32_t>(bpp), IXIMAGE_FORMAT_GIF) == nullptr) {
      return Fail("Can't allocate memory");
    }
    c.clearValue = controlTransIndex_;
    Clear(c.clearValue);
    c.firstTransIndex = c.frameTransIndex;
    memcpy(c.screenColours, c.colours, sizeof(c.colours));
    c.screenTableSize = frameTableSize;
  } else {
    // The previous frame's disposal, in the mode it was drawn in.
    if (c.previousDisposal == 2 || (c.previousDisposal == 3 && !c.savedArea.empty())) {
      c.restoredPixels += c.previous.Pixels();
      if (c.restoredPixels > kMaxRestoredPixels) return Fail("Too many GIF frames to compose");
      if (c.previousDisposal == 3)
        RestoreArea(c.previous, c.savedArea);
      else if (c.colourScreen)
        FillArea(c.previous, c.background);
      else
        RestoreBackground(c.previous, c.clearValue);
    }
    c.savedArea.clear();
    const int shared = std::min(frameTableSize, c.screenTableSize);
    if (!c.colourScreen && !SameColours(c.colours, c.screenColours, shared)) {
      // A table of other colours: from here on every pixel keeps the colour it is drawn with.
      c.background = c.screenColours[c.clearValue];
      c.background.rgbReserved = c.clearValue == c.firstTransIndex ? 0 : 255;
      if (!ToColourScreen(c.firstTransIndex)) return Fail("Can't allocate memory");
      c.colourScreen = true;
    } else if (!c.colourScreen && bpp > GetBpp()) {
      // A deeper local table than the picture holds: widen the picture, keeping its indices.
      IxImage wider;
      if (wider.Create(c.screen.width, c.screen.height, static_cast<uint32_t>(bpp), IXIMAGE_FORMAT_GIF) ==
          nullptr) {
        return Fail("Can't allocate memory");
      }
      for (int y = 0; y < c.screen.height; ++y)
        for (int x = 0; x < c.screen.width; ++x) wider.SetPixelIndex(x, y, BlindGetPixelIndex(x, y));
      if (!AdoptPixels(wider)) return Fail("Can't allocate memory");
    }
    if (!c.colourScreen && frameTableSize >= c.screenTableSize) {
      memcpy(c.screenColours, c.colours, sizeof(c.colours));
      c.screenTableSize = frameTableSize;
    }
  }

  const uint8_t disposal = static_cast<uint8_t>((controlFlags_ >> 2) & 7);
  if (disposal == 3 && !c.trueColour && c.frame != c.frameToLoad && area.Pixels() > 0) {
    c.restoredPixels += area.Pixels();
    if (c.restoredPixels > kMaxRestoredPixels) return Fail("Too many GIF frames to compose");
    c.savedArea = SaveArea(area);
  }

  if (area.Pixels() > 0) {
    place.colourSkipsTransparent = c.colourScreen;
    IxGifFrameSink sink(*this, place, c.trueColour || c.colourScreen ? c.colours : nullptr);
    IxMemoryCursor codes(data.data(), data.size());
    codes.SeekTo(b.codeStreamOffset);
    int badCodes = 0;
    const IxGifLzwDecoder::Status status = decoder.Decode(codes, b.width, sink, badCodes);
    if (info.nEscape != 0) return Fail("Cancelled");
    const std::string name = "GIF frame " + std::to_string(c.frame);
    if (decoder.PixelsDecoded() == 0) {
      const std::string why = status == IxGifLzwDecoder::Status::kBadCodeSize
                                  ? name + ": minimum code size outside 2 to 11"
                                  : name + " holds no decodable pixels";
      if (c.frame == c.frameToLoad) return Fail(why);
      if (c.damage.empty()) c.damage = why;
    } else if (c.damage.empty() && IxGifLzwDecoder::IsDamage(status, badCodes)) {
      c.damage = name + (badCodes > 0 || status == IxGifLzwDecoder::Status::kBadString
                             ? " is damaged: its code stream holds invalid codes"
                             : " is damaged: its code stream ends early");
    } else if (c.damage.empty() &&
               decoder.PixelsDecoded() < static_cast<uint64_t>(b.width) * static_cast<uint64_t>(b.height)) {
      c.damage = name + " is damaged: its code stream ends early";
    }
  }
  if (!c.trueColour && !c.colourScreen) SetPalette(c.screenColours, 256);

  c.frameFlags = controlFlags_;
  c.frameDelay = controlDelay_;
  c.previousDisposal = disposal;
  disposal_ = disposal;
  c.previous = area;
  controlFlags_ = 0;
  controlDelay_ = 0;
  controlTransIndex_ = 0;
  info.nBkgndIndex = -1;
  return true;
}

bool IxImageGIF::Decode(IxFile* hFile) {
  if (hFile == nullptr) return false;
  const int64_t start = hFile->Tell();
  std::vector<uint8_t> data;
  Screen screen;
  bool headerOnly = false;
  if (!ReadScreen(hFile, data, screen, headerOnly)) return false;
  if (headerOnly) return true;
  IxMemoryCursor in(data.data(), data.size());
  in.SeekTo(screen.blocksStart);

  FrameCount count;
  if (!CountFrames(in, screen, count)) return false;
  info.nNumFrames = count.frames;
  if (count.images == 0) return Fail("GIF file holds no image data");
  if (count.frames == 0) return Fail("GIF file holds only images of zero width or height");
  if (count.framesOnScreen == 0) return Fail("No GIF frame lies on the screen");
  if (info.nFrame < 0 || info.nFrame >= count.frames) {
    return Fail("GIF frame " + std::to_string(info.nFrame) + " asked for; the file has " +
                std::to_string(count.frames));
  }
  const bool trueColour = count.frames > 1 && !screen.globalTable && count.firstFrameSmaller;
  const int frameToLoad = trueColour ? count.frames - 1 : info.nFrame;

  const uint64_t screenPixels = static_cast<uint64_t>(screen.width) * static_cast<uint64_t>(screen.height);
  if (screenPixels > kMaxScreenPixels) return Fail("IXIMAGE_MAX_MEMORY exceeded");
  // The picture made: 24 bits per pixel for the mosaic, at most 8 for frames composed by index.
  const uint64_t pictureBytes = screenPixels * (trueColour ? 3 : 1);
  if (pictureBytes > kUncheckedPictureBytes && pictureBytes / kMaxExpansion > data.size()) {
    return Fail("GIF screen too large for the data in the file");
  }

  // Decoding pass. A graphic-control record applies to the one image that follows it.
  controlFlags_ = 0;
  controlDelay_ = 0;
  controlTransIndex_ = 0;
  info.nBkgndIndex = -1;
  in.SeekTo(screen.blocksStart);
  IxGifBlockReader reader(in);
  auto decoder = std::make_unique<IxGifLzwDecoder>();
  Composition c(screen, trueColour, frameToLoad);
  for (;;) {
    if (info.nEscape > 0) return Fail("Cancelled");
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
    if (b.width <= 0 || b.height <= 0) {
      controlFlags_ = 0;
      controlDelay_ = 0;
      controlTransIndex_ = 0;
      info.nBkgndIndex = -1;
      continue;
    }
    if (!DecodeFrame(b, data, c, *decoder)) return false;
    if (c.frame == frameToLoad) break;
    ++c.frame;
  }
  if (!IsValid()) return Fail("GIF file holds no image data");

  if (trueColour) {
    if ((c.frameFlags & 1) && c.frameTransIndex >= 0) {
      SetTransColor(c.colours[c.frameTransIndex & 0xFF]);
      info.nBkgndIndex = 0;
    } else {
      info.nBkgndIndex = -1;
    }
  } else {
    // A colour screen carries its transparency in the alpha plane.
    info.nBkgndIndex = c.colourScreen ? -1 : c.firstTransIndex;
  }
  controlFlags_ = c.frameFlags;
  controlDelay_ = c.frameDelay;
  info.dwFrameDelay = c.frameDelay;
  SetLastError(c.damage.c_str());
  hFile->Seek(start + static_cast<int64_t>(in.Position()), SEEK_SET);
  return true;
}

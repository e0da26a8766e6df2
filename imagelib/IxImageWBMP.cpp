#include "imagelib/IxImageWBMP.h"

#include <vector>

#include "imagelib/IxFile.h"
#include "imagelib/IxStreamCursor.h"

namespace {

// Sizes are written 7 bits a byte, most significant group first, with the top bit set on every
// byte but the last. Four groups reach far beyond any picture the image object can hold.
bool ReadMultiByte(IxStreamCursor& in, uint32_t& value) {
  value = 0;
  for (int n = 0; n < 4; ++n) {
    const int c = in.ReadByte();
    if (c < 0) return false;
    value = (value << 7) | static_cast<uint32_t>(c & 0x7F);
    if ((c & 0x80) == 0) return true;
  }
  return false;
}

void PutMultiByte(std::vector<uint8_t>& out, uint32_t value) {
  uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = static_cast<uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (n-- > 0) out.push_back(static_cast<uint8_t>(groups[n] | (n > 0 ? 0x80 : 0)));
}

}  // namespace

bool IxImageWBMP::Decode(IxFile* hFile) {
  if (hFile == nullptr) return false;
  IxStreamCursor in(hFile);
  const int type = in.ReadByte();
  const int fixedHeader = in.ReadByte();
  uint32_t width = 0, height = 0;
  if (type < 0 || fixedHeader < 0 || !ReadMultiByte(in, width) || !ReadMultiByte(in, height)) {
    SetLastError("Not a WBMP");
    return false;
  }
  if (type != 0) {
    SetLastError("Unsupported WBMP type");
    return false;
  }
  const uint64_t rowBytes = (uint64_t{width} + 7) / 8;
  // The format has no signature: a picture whose rows are not all there is taken for another
  // kind of file rather than shown half made.
  if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX ||
      rowBytes * height > in.Remaining()) {
    SetLastError("Corrupted WBMP");
    return false;
  }
  if (Create(static_cast<int32_t>(width), static_cast<int32_t>(height), 1, IXIMAGE_FORMAT_WBMP) == nullptr) {
    SetLastError("WBMP Create failed");
    return false;
  }
  SetGrayPalette();
  for (uint64_t top = 0; top < height; ++top) {
    if (!in.Read(GetBits(0) + (height - 1 - top) * GetEffWidth(), rowBytes)) {
      SetLastError("Corrupted WBMP");
      return false;
    }
  }
  return true;
}

bool IxImageWBMP::Encode(IxFile* hFile) {
  if (EncodeSafeCheck(hFile)) return false;
  if (GetBpp() != 1) {
    SetLastError("Can't save this image as WBMP");
    return false;
  }
  std::vector<uint8_t> header{0, 0};
  PutMultiByte(header, GetWidth());
  PutMultiByte(header, GetHeight());
  bool ok = hFile->Write(header.data(), 1, header.size()) == header.size();
  const size_t rowBytes = (static_cast<size_t>(GetWidth()) + 7) / 8;
  for (uint64_t top = 0; ok && top < GetHeight(); ++top) {
    ok = hFile->Write(GetBits(0) + (GetHeight() - 1 - top) * GetEffWidth(), 1, rowBytes) == rowBytes;
  }
  if (!ok) SetLastError("Write Error");
  return ok;
}

#include "platform/forms/TJPEGImage.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <limits>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TMemoryStream.h"

namespace {

// libjpeg reports errors by longjmp back to the call below it; nothing is thrown through the
// library's frames. The functions that call setjmp hold no objects with destructors.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
  auto* err = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, err->message);
  std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr, int) {}

struct Decoded {
  int width = 0, height = 0, components = 0;
  std::uint8_t* pixels = nullptr;  // malloc'd, rows of width * components; colour in B, G, R order
};

constexpr std::int64_t kMaxPixels = std::int64_t(1) << 28;

// Returns 0 on success, else fills `message`.
int Decode(const std::uint8_t* data, unsigned long size, bool gray, Decoded* out, char* message) {
  jpeg_decompress_struct info;
  ErrorManager err;
  info.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  err.pub.emit_message = OnMessage;
  if (setjmp(err.jump)) {
    std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
    jpeg_destroy_decompress(&info);
    std::free(out->pixels);
    out->pixels = nullptr;
    return 1;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, size);
  jpeg_read_header(&info, TRUE);
  if (gray || info.jpeg_color_space == JCS_GRAYSCALE)
    info.out_color_space = JCS_GRAYSCALE;
  else if (info.jpeg_color_space != JCS_CMYK && info.jpeg_color_space != JCS_YCCK)
    info.out_color_space = JCS_EXT_BGR;  // the order of a 24-bit bitmap's bytes: no swap afterwards
  jpeg_start_decompress(&info);
  if (static_cast<std::int64_t>(info.output_width) * info.output_height > kMaxPixels) {
    std::strcpy(message, "picture too large");
    jpeg_destroy_decompress(&info);
    return 1;
  }
  out->width = static_cast<int>(info.output_width);
  out->height = static_cast<int>(info.output_height);
  out->components = info.output_components;
  std::size_t row = static_cast<std::size_t>(out->width) * static_cast<std::size_t>(out->components);
  out->pixels = static_cast<std::uint8_t*>(std::malloc(row * static_cast<std::size_t>(out->height)));
  if (!out->pixels) {
    std::strcpy(message, "out of memory");
    jpeg_destroy_decompress(&info);
    return 1;
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW p = out->pixels + row * info.output_scanline;
    jpeg_read_scanlines(&info, &p, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return 0;
}

// `rows` holds top-down RGB (components 3) or grey (1) rows. Returns 0 on success.
int Encode(const std::uint8_t* rows, int width, int height, int components, int quality, unsigned char** out,
           unsigned long* outSize, char* message) {
  jpeg_compress_struct info;
  ErrorManager err;
  info.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  err.pub.emit_message = OnMessage;
  if (setjmp(err.jump)) {
    std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
    jpeg_destroy_compress(&info);
    return 1;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, out, outSize);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.write_JFIF_header = TRUE;
  jpeg_start_compress(&info, TRUE);
  std::size_t stride = static_cast<std::size_t>(width) * static_cast<std::size_t>(components);
  while (info.next_scanline < info.image_height) {
    JSAMPROW p = const_cast<JSAMPROW>(rows + stride * info.next_scanline);
    jpeg_write_scanlines(&info, &p, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return 0;
}

bool ReadDimensions(const std::vector<std::uint8_t>& data, int& w, int& h) {
  // Scan the markers for the first start-of-frame; bounded by the data's size.
  std::size_t i = 2;
  if (data.size() < 4 || data[0] != 0xFF || data[1] != 0xD8) return false;
  while (i + 4 <= data.size()) {
    if (data[i] != 0xFF) return false;
    std::uint8_t marker = data[i + 1];
    if (marker == 0xFF) {
      ++i;
      continue;
    }
    std::size_t len = (std::size_t(data[i + 2]) << 8) | data[i + 3];
    if (len < 2) return false;
    bool sof = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (sof) {
      if (i + 9 > data.size()) return false;
      h = (data[i + 5] << 8) | data[i + 6];
      w = (data[i + 7] << 8) | data[i + 8];
      return w > 0 && h > 0;
    }
    i += 2 + len;
  }
  return false;
}

}  // namespace

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

bool TJPEGImage::GetEmpty() const { return data_.empty() && !bitmap_; }
int TJPEGImage::GetWidth() const { return bitmap_ ? bitmap_->Width() : width_; }
int TJPEGImage::GetHeight() const { return bitmap_ ? bitmap_->Height() : height_; }

void TJPEGImage::LoadFromStream(TStream* stream) {
  std::int64_t size = stream->Size() - stream->Position();
  if (size <= 0 || size > std::numeric_limits<int>::max()) throw EJPEG("JPEG error #42");
  std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
  stream->ReadBuffer(data.data(), static_cast<int>(size));
  int w = 0, h = 0;
  if (!ReadDimensions(data, w, h)) throw EJPEG("JPEG error #42");
  // Decode now, so corrupt data raises here and not while painting.
  Decoded decoded;
  char message[JMSG_LENGTH_MAX] = {0};
  if (Decode(data.data(), static_cast<unsigned long>(data.size()), Grayscale, &decoded, message) != 0)
    throw EJPEG(AnsiString(message));
  auto bitmap = std::make_unique<TBitmap>();
  TDibImage dib;
  dib.Width = decoded.width;
  dib.Height = decoded.height;
  dib.BitCount = decoded.components == 1 ? 8 : 24;
  if (dib.BitCount == 8)
    for (int i = 0; i < 256; ++i) dib.Table.push_back(RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0});
  std::size_t stride = static_cast<std::size_t>(dib.Stride());
  dib.Bits.assign(stride * static_cast<std::size_t>(dib.Height), 0);
  for (int y = 0; y < dib.Height; ++y) {
    const std::uint8_t* src = decoded.pixels + static_cast<std::size_t>(y) * dib.Width * decoded.components;
    std::uint8_t* dst = dib.Bits.data() + stride * static_cast<std::size_t>(y);
    if (decoded.components != 4) {
      std::memcpy(dst, src, static_cast<std::size_t>(dib.Width) * decoded.components);
      continue;
    }
    for (int x = 0; x < dib.Width; ++x) {  // CMYK as libjpeg gives it (Adobe files store it inverted)
      const std::uint8_t* p = src + 4 * x;
      dst[3 * x] = static_cast<std::uint8_t>(p[2] * p[3] / 255);
      dst[3 * x + 1] = static_cast<std::uint8_t>(p[1] * p[3] / 255);
      dst[3 * x + 2] = static_cast<std::uint8_t>(p[0] * p[3] / 255);
    }
  }
  std::free(decoded.pixels);
  bitmap->FromDibImage(dib);
  data_ = std::move(data);
  bitmap_ = std::move(bitmap);
  width_ = bitmap_->Width();
  height_ = bitmap_->Height();
  PixelFormat = dib.BitCount == 8 ? jf8Bit : jf24Bit;
  Changed(this);
}

void TJPEGImage::DIBNeeded() {
  // Loading decodes at once and keeps the pixels, so there is nothing left to decode here.
}

TBitmap* TJPEGImage::Bitmap() {
  DIBNeeded();
  return bitmap_.get();
}

void TJPEGImage::Compress() {
  if (!data_.empty() || !bitmap_ || bitmap_->Empty()) return;
  int w = bitmap_->Width(), h = bitmap_->Height();
  bool gray = Grayscale || PixelFormat == jf8Bit;
  int components = gray ? 1 : 3;
  // Through a 24-bit copy, whatever the bitmap's own format.
  TBitmap rgb;
  rgb.Assign(bitmap_.get());
  rgb.SetPixelFormat(pf24bit);
  std::vector<std::uint8_t> rows(static_cast<std::size_t>(w) * h * components);
  for (int y = 0; y < h; ++y) {
    const auto* src = static_cast<const std::uint8_t*>(rgb.ScanLine(y));
    std::uint8_t* dst = rows.data() + static_cast<std::size_t>(y) * w * components;
    for (int x = 0; x < w; ++x) {
      std::uint8_t b = src[3 * x], g = src[3 * x + 1], r = src[3 * x + 2];
      if (gray) {
        dst[x] = static_cast<std::uint8_t>((r * 299 + g * 587 + b * 114 + 500) / 1000);
      } else {
        dst[3 * x] = r;
        dst[3 * x + 1] = g;
        dst[3 * x + 2] = b;
      }
    }
  }
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  char message[JMSG_LENGTH_MAX] = {0};
  int quality = CompressionQuality < 1 ? 1 : CompressionQuality > 100 ? 100 : CompressionQuality;
  int failed = Encode(rows.data(), w, h, components, quality, &out, &outSize, message);
  if (!failed && out) data_.assign(out, out + outSize);
  std::free(out);
  if (failed) throw EJPEG(AnsiString(message));
}

void TJPEGImage::SaveToStream(TStream* stream) {
  Compress();
  if (data_.empty()) return;
  stream->WriteBuffer(data_.data(), static_cast<int>(data_.size()));
}

void TJPEGImage::Draw(TCanvas* canvas, const RECT& rect) {
  if (TBitmap* b = Bitmap()) canvas->StretchDraw(rect, b);
}

void TJPEGImage::Assign(TPersistent* source) {
  if (auto* jpeg = dynamic_cast<TJPEGImage*>(source)) {
    data_ = jpeg->data_;
    bitmap_.reset();
    if (jpeg->bitmap_) {
      bitmap_ = std::make_unique<TBitmap>();
      bitmap_->Assign(jpeg->bitmap_.get());
    }
    width_ = jpeg->width_;
    height_ = jpeg->height_;
    CompressionQuality = jpeg->CompressionQuality;
    PixelFormat = jpeg->PixelFormat;
    Grayscale = jpeg->Grayscale;
    Changed(this);
    return;
  }
  if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
    data_.clear();
    bitmap_ = std::make_unique<TBitmap>();
    bitmap_->Assign(bitmap);
    width_ = bitmap_->Width();
    height_ = bitmap_->Height();
    Changed(this);
    return;
  }
  TGraphic::Assign(source);
}

void TJPEGImage::AssignTo(TPersistent* dest) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
    if (TBitmap* b = Bitmap())
      bitmap->Assign(b);
    else
      bitmap->Assign(nullptr);
    return;
  }
  TGraphic::AssignTo(dest);
}

void TJPEGImage::ReadData(TStream* stream) { ReadSizedData(stream); }

void TJPEGImage::WriteData(TStream* stream) { WriteSizedData(stream); }

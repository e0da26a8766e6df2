// TGIFSubImage: one frame of a GIF picture: its extensions, its place and size on the logical
// screen, its local colour table and its pixels (one colour index a pixel, rows top-down). It
// reads and writes itself as a piece of a GIF stream, renders its indices into an 8-bit bitmap
// with a monochrome mask (bit 1: transparent), draws itself scaled, tiled or transparent
// (always clipped to the rectangle it is drawn into), and is built from other pictures.
// Bitmap, mask and palette are caches over the pixels and tables, made on first use.
// SetBoundsRect takes right and bottom as inclusive (a rectangle (0, 0, 9, 9) makes a 10 x 10
// frame) while GetBoundsRect gives them exclusive, as the frame's callers have always had them.
#pragma once

#include <memory>
#include <vector>

#include "pictures/gif/TGIFExtensionList.h"
#include "pictures/gif/TGIFItem.h"
#include "pictures/gif/TGIFLocalColorMap.h"
#include "platform/gdi/GdiTypes.h"

class TBitmap;
class TCanvas;
class TGIFColorMap;
class TGIFGraphicControlExtension;
class TGIFLoadContext;

class TGIFSubImage : public TGIFItem {
 public:
  explicit TGIFSubImage(TGIFImage* image);
  // Leaves the picture's frame list.
  ~TGIFSubImage() override;

  void Clear();
  // From another frame: an independent copy of its place, pixels, table and extensions. From a
  // TBitmap of 1, 4 or 8 bits: its pixels with its colours (a transparent bitmap gives a
  // transparent frame); a TPicture: its graphic; other graphics through a 24-bit bitmap.
  void Assign(TPersistent* source) override;
  bool GetEmpty() const;
  // The bitmap of the frame, for a TBitmap; others as the base class.
  void AssignTo(TPersistent* dest) override;
  // Zeroed pixels for the frame's size; a frame above GIFMaximumImagePixels is refused.
  void NewImage();
  void FreeImage();
  void NeedImage();
  BYTE* GetScanline(int y);
  BYTE GetPixel(int x, int y);
  bool GetInterlaced() const { return (descriptor_.PackedFields & 0x40) != 0; }
  void SetInterlaced(bool value);
  int GetColorResolution() const { return colorMap_->GetBitsPerPixel() - 1; }
  int GetBitsPerPixel() const { return colorMap_->GetBitsPerPixel(); }
  // The local table when it has colours or the picture has no global ones; else the global.
  TGIFColorMap* GetActiveColorMap() const;
  TGIFVersion GetVersion() override;
  void Prepare();
  // Read on its own: a frame without a size takes its picture's screen.
  void LoadFromStream(TStream* stream) override;
  // Reads extensions, descriptor, local table and pixels; a frame that gives no size takes the
  // context's screen, and its pixels are claimed from the context's budget. Nothing is rendered.
  void LoadFromStream(TStream* stream, TGIFLoadContext& context);
  void SaveToStream(TStream* stream) override;
  void Decompress(TStream* stream);
  // A transparent frame shrinks to the rectangle of its opaque pixels; one without any is cleared.
  void Crop();
  // Pixels that show exactly what `previous` shows there become transparent (see Optimize).
  void Merge(TGIFSubImage* previous);
  void Compress(TStream* stream);
  // Kept by the frame: the web palette when the picture dithers, else one of the local table;
  // without a local table the picture's palette (not kept).
  HPALETTE GetPalette();
  void SetPalette(HPALETTE palette);

  // The rendered frame (8 bits with the frame's colours), made on first use; null for an empty
  // frame or when a progress handler aborted the rendering.
  TBitmap* GetBitmap();
  // Frees the bitmap, then takes a copy of `bitmap` when there is one.
  void SetBitmap(TBitmap* bitmap);
  bool GetHasBitmap() const { return bitmap_ != nullptr; }
  void SetHasBitmap(bool value);
  void NewBitmap();
  void FreeBitmap();
  void FreeMask();
  // Renders again when a transparent frame has not decided about its mask yet.
  bool HasMask();
  HBITMAP Mask() const { return mask_; }
  // Draws the frame where it lands when the logical screen is drawn into `rect` (or, tiled, in
  // cells of its own size from rect's top-left corner); nothing outside `rect` changes.
  void Draw(TCanvas* canvas, const RECT& rect, bool transparent, bool tile);
  // Draws the frame stretched into `rect` (or tiled there); nothing outside `rect` changes.
  void StretchDraw(TCanvas* canvas, const RECT& rect, bool transparent, bool tile);

  // 1 left, 2 top, 3 width, 4 height; other indices read 0 and change nothing.
  int GetBounds(int index) const;
  void SetBounds(int index, int value);
  // A new size gives new zeroed pixels; a frame reaching past the logical screen grows it, with
  // warnings when the screen had a size.
  void DoSetBounds(int left, int top, int width, int height);
  RECT GetBoundsRect() const;
  void SetBoundsRect(const RECT& rect);
  RECT GetClientRect() const;
  // Where the frame lands when the logical screen is drawn into `rect`; empty when the screen
  // has no size.
  RECT ScaleRect(const RECT& rect) const;

  int Left() const { return descriptor_.Left; }
  int Top() const { return descriptor_.Top; }
  int Width() const { return descriptor_.Width; }
  int Height() const { return descriptor_.Height; }
  const TImageDescriptor& Descriptor() const { return descriptor_; }
  const std::vector<BYTE>& Pixels() const { return pixels_; }
  // Renumbers the pixels (and the transparent index) below the map's size.
  void MapPixels(const std::vector<int>& map);
  TGIFLocalColorMap* ColorMap() const { return colorMap_.get(); }
  TGIFExtensionList* Extensions() const { return extensions_.get(); }
  bool Transparent() const { return transparent_; }
  void SetTransparentFlag(bool value) { transparent_ = value; }
  TGIFGraphicControlExtension* GraphicControlExtension() const { return graphicControlExtension_; }
  void SetGraphicControlExtension(TGIFGraphicControlExtension* extension) {
    graphicControlExtension_ = extension;
  }

 private:
  void AssignFrame(TGIFSubImage* frame);
  void AssignBitmap(TBitmap* source);
  void AssignGraphic(class TGraphic* source);
  // Reads the rows of the frame's own bitmap copy into pixels and table.
  void ImportBitmapRows();
  // Marks the pixels whose mask byte is set with a new transparent index.
  void ImportMask(HBITMAP mask);
  TBitmap* Render();
  // Plainly, or through the 216-colour ditherer when the picture dithers.
  void RenderPlain(TBitmap* bitmap, bool dither);
  void Paint(TCanvas* canvas, const RECT& target, const RECT& clip, bool transparent, bool tile);

  std::unique_ptr<TBitmap> bitmap_;
  HBITMAP mask_ = nullptr;
  bool needMask_ = true;
  std::vector<BYTE> pixels_;
  std::unique_ptr<TGIFLocalColorMap> colorMap_;
  TImageDescriptor descriptor_;
  std::unique_ptr<TGIFExtensionList> extensions_;
  bool transparent_ = false;
  TGIFGraphicControlExtension* graphicControlExtension_ = nullptr;
  HPALETTE palette_ = nullptr;
};

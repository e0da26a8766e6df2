// TFont: face, size, style and colour of a canvas's or control's text. Size is in points at 96
// pixels per inch (Size = -Height x 72 / 96); the default is DefFontData.
#pragma once

#include "platform/forms/TColor.h"
#include "platform/forms/TGraphicsObject.h"
#include "platform/gdi/OwnedGdiObject.h"

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = unsigned;  // bits 1 << TFontStyle
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = BYTE;

struct TFontData {
  int Height;
  TFontPitch Pitch;
  TFontStyles Style;
  TFontCharset Charset;
  AnsiString Name;  // at most 31 characters
};
extern TFontData DefFontData;

class TFont : public TGraphicsObject {
 public:
  TFont();
  ~TFont() override;
  const AnsiString& Name() const { return name_; }
  void SetName(const AnsiString& value);
  int Height() const { return height_; }
  void SetHeight(int value);
  int Size() const;
  void SetSize(int points);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset value);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch value);
  HFONT Handle();
  void Assign(TPersistent* source) override;

 private:
  void Change();
  AnsiString name_;
  int height_;
  TFontStyles style_;
  TColor color_ = clWindowText;
  TFontCharset charset_;
  TFontPitch pitch_;
  OwnedGdiObject<HFONT> handle_;
};

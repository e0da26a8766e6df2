#include "platform/forms/TFont.h"

#include <cstring>
#include <utility>

#include "platform/gdi/Gdi.h"

TFontData DefFontData{-11, fpDefault, 0, DEFAULT_CHARSET, "sans-serif"};

TFont::TFont()
    : name_(DefFontData.Name),
      height_(DefFontData.Height),
      style_(DefFontData.Style),
      charset_(DefFontData.Charset),
      pitch_(DefFontData.Pitch) {}

TFont::~TFont() = default;

void TFont::Change() {
  // The canvas selects a new handle when told of the change; only then is the replaced one free
  // to be deleted (a selected object is not).
  OwnedGdiObject<HFONT> replaced(std::move(handle_));
  Changed();
}

void TFont::SetName(const AnsiString& value) {
  AnsiString name = value.Length() > LF_FACESIZE - 1 ? value.SubString(1, LF_FACESIZE - 1) : value;
  if (name.IsEmpty() || name == name_) return;
  name_ = name;
  Change();
}
void TFont::SetHeight(int value) {
  if (height_ == value) return;
  height_ = value;
  Change();
}
int TFont::Size() const { return -MulDiv(height_, 72, 96); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, 96, 72)); }
void TFont::SetStyle(TFontStyles value) {
  if (style_ == value) return;
  style_ = value;
  Change();
}
void TFont::SetColor(TColor value) {
  if (color_ == value) return;
  color_ = value;
  Changed();  // the colour is the canvas's text colour, not part of the handle
}
void TFont::SetCharset(TFontCharset value) {
  if (charset_ == value) return;
  charset_ = value;
  Change();
}
void TFont::SetPitch(TFontPitch value) {
  if (pitch_ == value) return;
  pitch_ = value;
  Change();
}

HFONT TFont::Handle() {
  if (!handle_) {
    LOGFONTA lf{};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & (1u << fsBold)) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & (1u << fsItalic)) ? 1 : 0;
    lf.lfUnderline = (style_ & (1u << fsUnderline)) ? 1 : 0;
    lf.lfStrikeOut = (style_ & (1u << fsStrikeOut)) ? 1 : 0;
    lf.lfCharSet = charset_;
    lf.lfPitchAndFamily = pitch_ == fpFixed      ? FIXED_PITCH
                          : pitch_ == fpVariable ? VARIABLE_PITCH
                                                 : DEFAULT_PITCH;
    std::strncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
    handle_.Reset(CreateFontIndirectA(&lf));
  }
  return handle_;
}

void TFont::Assign(TPersistent* source) {
  if (auto* font = dynamic_cast<TFont*>(source)) {
    name_ = font->name_;
    height_ = font->height_;
    style_ = font->style_;
    color_ = font->color_;
    charset_ = font->charset_;
    pitch_ = font->pitch_;
    Change();
    return;
  }
  TPersistent::Assign(source);
}

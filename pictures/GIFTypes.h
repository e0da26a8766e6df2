// The enumerations, records and colour type of the GIF picture classes: what a GIF stream holds
// (logical screen, image descriptor, control and text records), how the picture is drawn, and
// where its warnings go.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/forms/TColor.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Types.h"

enum TGIFVersion { gvUnknown, gv87a, gv89a };
enum TGIFSeverity { gsInfo, gsWarning, gsError };

enum TGIFDrawOption {
  goAsync,
  goTransparent,
  goAnimate,
  goLoop,
  goLoopContinously,
  goValidateCanvas,
  goDirectDraw,
  goClearOnLoop,
  goTile,
  goDither,
  goAutoDither
};
// A set of draw options: bit n stands for option n.
using TGIFDrawOptions = std::uint16_t;
constexpr TGIFDrawOptions GIFDrawOption(TGIFDrawOption option) { return TGIFDrawOptions(1u << option); }
constexpr bool HasGIFDrawOption(TGIFDrawOptions options, TGIFDrawOption option) {
  return (options & GIFDrawOption(option)) != 0;
}

enum TGIFCompression { gcLZW, gcRLE };
enum TColorReduction {
  rmNone,
  rmWindows20,
  rmWindows256,
  rmWindowsGray,
  rmMonochrome,
  rmGrayScale,
  rmNetscape,
  rmQuantize,
  rmQuantizeWindows,
  rmPalette
};
enum class TDitherMode { dmNearest, dmFloydSteinberg, dmStucki, dmSierra, dmJaJuNI, dmSteveArche, dmBurkes };
enum class TDisposalMethod { dmNone, dmNoDisposal, dmBackground, dmPrevious };
enum TGIFOptimizeOption { ooCrop, ooMerge, ooCleanup, ooColorMap, ooReduceColors };
using TGIFOptimizeOptions = std::uint8_t;

// One colour table entry, in the file's order.
struct TGIFColor {
  BYTE Red = 0;
  BYTE Green = 0;
  BYTE Blue = 0;
  bool operator==(const TGIFColor&) const = default;
};

inline TColor GIFColorToColor(const TGIFColor& c) { return TColor(c.Red | (c.Green << 8) | (c.Blue << 16)); }
inline TGIFColor ColorToGIFColor(TColor c) {
  return TGIFColor{BYTE(c & 0xFF), BYTE((c >> 8) & 0xFF), BYTE((c >> 16) & 0xFF)};
}

// The logical screen descriptor, 7 bytes in the stream after the signature.
struct TLogicalScreenDescriptor {
  WORD ScreenWidth = 0;
  WORD ScreenHeight = 0;
  BYTE PackedFields = 0;
  BYTE BackgroundColorIndex = 0;
  BYTE AspectRatio = 0;
};

// The image descriptor, 10 bytes in the stream, starting with the separator 0x2C.
struct TImageDescriptor {
  BYTE Separator = 0x2C;
  WORD Left = 0;
  WORD Top = 0;
  WORD Width = 0;
  WORD Height = 0;
  BYTE PackedFields = 0;
};

// The graphic control record as stored after 0x21 0xF9.
struct TGIFGCERec {
  BYTE BlockSize = 4;
  BYTE PackedFields = 0;
  WORD Delay = 0;
  BYTE TransparentColorIndex = 0;
  BYTE Terminator = 0;
};

// The plain text record as stored after 0x21 0x01.
struct TGIFPlainTextExtensionRec {
  BYTE BlockSize = 12;
  WORD Left = 0;
  WORD Top = 0;
  WORD Width = 0;
  WORD Height = 0;
  BYTE CellWidth = 0;
  BYTE CellHeight = 0;
  BYTE TextFGColorIndex = 0;
  BYTE TextBGColorIndex = 0;
};

using TGIFIdentifierCode = char[8];
using TGIFAuthenticationCode = char[3];

// The application extension header: identifier and authentication code.
struct TGIFApplicationRec {
  TGIFIdentifierCode Identifier = {};
  TGIFAuthenticationCode Authentication = {};
};

// Little-endian words in the stream's records.
inline WORD GIFWord(const BYTE* p) { return WORD(p[0] | (p[1] << 8)); }
inline void PutGIFWord(BYTE* p, WORD v) {
  p[0] = BYTE(v & 0xFF);
  p[1] = BYTE(v >> 8);
}

// Where the picture classes report what they read past or mended.
using TGIFWarning = std::function<void(TObject* Sender, TGIFSeverity Severity, const AnsiString& Message)>;

// The JPEG format class: decodes and encodes baseline, progressive and arithmetic-coded JPEG
// through libjpeg over the library's byte streams (IxFileJpg), reading the file's EXIF block
// first (IxExifInfo) for the picture's resolution, and writing that block back when the same
// object re-encodes a picture it decoded.
#pragma once

#include <cstdint>
#include <memory>

#include "imagelib/IxExifInfoBlock.h"
#include "imagelib/IxImage.h"

class IxFile;
struct jpeg_compress_struct;
struct jpeg_decompress_struct;
struct IxJpegErrorMgr;

class IxImageJPG : public IxImage {
 public:
  class IxExifInfo;  // IxExifInfo.h
  class IxFileJpg;   // IxFileJpg.h

  // Bits of the codec option word of the JPEG format, read by the decoder...
  static constexpr uint32_t DECODE_GRAYSCALE = 0x80;
  static constexpr uint32_t DECODE_QUANTIZE = 0x100;  // colours wanted = the JPEG quality byte
  static constexpr uint32_t DECODE_DITHER = 0x200;
  static constexpr uint32_t DECODE_NOTWOPASS = 0x400;
  static constexpr uint32_t DECODE_NOFANCYUPSAMPLING = 0x800;
  // ...and by the encoder.
  static constexpr uint32_t ENCODE_BASELINE = 0x1;
  static constexpr uint32_t ENCODE_ARITHMETIC = 0x2;
  static constexpr uint32_t ENCODE_GRAYSCALE = 0x4;
  static constexpr uint32_t ENCODE_OPTIMIZE = 0x8;
  static constexpr uint32_t ENCODE_PROGRESSIVE = 0x10;
  static constexpr uint32_t ENCODE_SMOOTHING = 0x40;

  // A hostile progressive file can hold thousands of tiny scans, each of which walks the whole
  // picture; real files have a dozen or so.
  static constexpr int kMaxScans = 1000;
  // Upper bound for libjpeg's whole-picture buffers (progressive and multi-pass decoding).
  static constexpr long kMaxLibraryMemory = 1024L * 1024 * 1024;

  IxImageJPG();
  ~IxImageJPG() override;

  bool Decode(IxFile* hFile);
  bool Encode(IxFile* hFile);
  // Reads the stream's marker sections for EXIF data and seeks back; returns whether EXIF was found.
  bool DecodeExif(IxFile* hFile);

  // What the last decode found in the EXIF block; the reader that found it, or null before a decode.
  const IxExifInfoBlock& GetExifInfo() const { return m_exifinfo; }
  IxExifInfo* GetExifReader() const { return m_exif.get(); }

 private:
  bool DecodeWithLibrary(jpeg_decompress_struct* cinfo, IxJpegErrorMgr* jerr, IxFileJpg* src, bool isExif);
  bool EncodeWithLibrary(jpeg_compress_struct* cinfo, IxJpegErrorMgr* jerr, IxFileJpg* dest, bool gray);
  void SetResolution(const jpeg_decompress_struct* cinfo, bool isExif);
  // Clears the first `rows` rows of the picture's block: those a decode that stopped early never wrote.
  void ClearRows(int32_t rows);

  std::unique_ptr<IxExifInfo> m_exif;
  IxExifInfoBlock m_exifinfo;
  int32_t m_nSmoothing;  // used by ENCODE_SMOOTHING
  int32_t m_nDither;     // libjpeg dither mode, used by DECODE_DITHER
};

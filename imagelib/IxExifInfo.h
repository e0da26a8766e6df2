// The EXIF reader and writer of the JPEG format class: walks the marker sections of a JPEG
// stream, keeps copies of them, takes camera and picture data out of the EXIF section, and
// writes a JPEG stream again from the kept sections so that a re-encoded picture keeps its EXIF
// block. Its messages go to its own error text; it never fails a picture decode.
#pragma once

#include <cstdint>
#include <vector>

#include "imagelib/IxExifInfoBlock.h"
#include "imagelib/IxImageJPG.h"
#include "imagelib/IxMemoryCursor.h"

class IxFile;

class IxImageJPG::IxExifInfo {
 public:
  static constexpr int kMaxSections = 20;
  // Mode bits of ReadJpegSections.
  static constexpr int kReadExif = 1;
  static constexpr int kReadImage = 2;
  // Marker code given to the section that holds everything after the start of scan.
  static constexpr int kImageData = 0x123;
  // How deep directory links are followed; real files need three (IFD0, EXIF, interoperability).
  static constexpr int kMaxDirDepth = 8;

  // Fills the given block, or a zeroed block of its own when given none.
  explicit IxExifInfo(IxExifInfoBlock* info = nullptr);
  ~IxExifInfo();
  IxExifInfo(const IxExifInfo&) = delete;
  IxExifInfo& operator=(const IxExifInfo&) = delete;

  // Reads the marker sections from the stream's position (mode: kReadExif, kReadImage).
  bool ReadJpegSections(IxFile* stream, int mode);
  // Walks one directory of the EXIF data at `dirOffset` and the directories it links to.
  // `thumbnailDir` is set for the directories after the first, which describe the thumbnail.
  bool ProcessExifDir(const IxMemoryCursor& data, uint64_t dirOffset, int depth, bool thumbnailDir = false);
  // Writes a whole JPEG stream from the kept sections; needs the image data read (kReadImage).
  bool EncodeExif(IxFile* stream);
  // Keeps the first EXIF section and the first comment section, in that order.
  void DiscardAllButExif();

  const char* GetLastError() const { return m_szLastError; }
  const IxExifInfoBlock& Info() const { return *m_exifinfo; }
  int GetSectionCount() const { return static_cast<int>(m_sections.size()); }
  int GetSectionMarker(int index) const;

 private:
  // The JPEG markers the reader and the writer name.
  static constexpr int kMarkerSos = 0xDA;
  static constexpr int kMarkerEoi = 0xD9;
  static constexpr int kMarkerJfif = 0xE0;
  static constexpr int kMarkerExif = 0xE1;
  static constexpr int kMarkerCom = 0xFE;

  struct Section {
    std::vector<uint8_t> data;  // the two length bytes first, except for the image data
    int type;
  };

  bool ProcessExif(const uint8_t* data, uint64_t length);
  void ProcessComment(const uint8_t* data, uint64_t length);
  void ProcessFrameHeader(const std::vector<uint8_t>& data, int marker);
  void ReadTag(const IxMemoryCursor& data, int tag, int format, uint64_t valueOffset, uint64_t byteCount,
               bool thumbnailDir);
  void SetError(const char* text);
  bool Fail(const char* text);

  IxExifInfoBlock* m_exifinfo;
  char m_szLastError[256];
  int32_t m_exifImageWidth;  // largest pixel dimension found in the directories
  bool m_motorolaOrder;
  std::vector<Section> m_sections;
  std::vector<uint64_t> m_visitedDirs;
  bool m_freeInfo;
};

// EXIF writer of the JPEG format class: a whole JPEG stream again from the kept sections, so a
// re-encoded picture keeps its EXIF block.
#include <utility>

#include "imagelib/IxExifInfo.h"
#include "imagelib/IxFile.h"

namespace {

bool WriteAll(IxFile* stream, const void* bytes, size_t count) {
  return count == 0 || stream->Write(bytes, 1, count) == count;
}

}  // namespace

void IxImageJPG::IxExifInfo::DiscardAllButExif() {
  std::vector<Section> kept;
  for (int wanted : {kMarkerExif, kMarkerCom}) {
    for (Section& s : m_sections) {
      if (s.type == wanted) {
        kept.push_back(std::move(s));
        break;
      }
    }
  }
  m_sections = std::move(kept);  // moving keeps the section bytes where the thumbnail points
}

bool IxImageJPG::IxExifInfo::EncodeExif(IxFile* stream) {
  if (!stream) return false;
  // The last section must be the image data read after a start of scan; otherwise the output
  // would be a header without its picture.
  bool haveScan = false;
  for (int i = 0; i + 1 < GetSectionCount(); ++i)
    haveScan |= m_sections[static_cast<size_t>(i)].type == kMarkerSos;
  if (!haveScan || m_sections.back().type != kImageData) return Fail("Can't write exif : didn't read all");

  static const uint8_t kSoi[2] = {0xFF, 0xD8};
  static const uint8_t kJfif[18] = {0xFF, 0xE0, 0x00, 0x10, 'J',  'F',  'I',  'F',  0x00,
                                    0x01, 0x01, 0x01, 0x01, 0x2C, 0x01, 0x2C, 0x00, 0x00};
  bool ok = WriteAll(stream, kSoi, sizeof kSoi);
  int firstType = m_sections.front().type;
  if (ok && firstType != kMarkerExif && firstType != kMarkerJfif) ok = WriteAll(stream, kJfif, sizeof kJfif);
  for (size_t i = 0; ok && i + 1 < m_sections.size(); ++i) {
    const uint8_t marker[2] = {0xFF, static_cast<uint8_t>(m_sections[i].type)};
    ok =
        WriteAll(stream, marker, 2) && WriteAll(stream, m_sections[i].data.data(), m_sections[i].data.size());
  }
  if (ok) ok = WriteAll(stream, m_sections.back().data.data(), m_sections.back().data.size());
  if (!ok) return Fail("Can't write exif : write error");
  return true;
}

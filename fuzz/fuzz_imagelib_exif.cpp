// Feeds arbitrary bytes to the EXIF reader and writer. Input that starts like a JPEG file is read
// as one; anything else becomes the EXIF data of a small JPEG, so that the directory walk sees
// the bytes directly.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imagelib/IxExifInfo.h"
#include "imagelib/IxMemFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> file;
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xD8) {
    file.assign(data, data + size);
  } else {
    const size_t payload = size > 65000 ? 65000 : size;
    const size_t length = payload + 8;
    file = {0xFF, 0xD8, 0xFF, 0xE1, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length), 'E', 'x',
            'i',  'f',  0,    0};
    file.insert(file.end(), data, data + payload);
    const uint8_t scan[] = {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00, 0x12, 0xFF, 0xD9};
    file.insert(file.end(), scan, scan + sizeof scan);
  }
  IxImageJPG::IxExifInfo reader;
  IxMemFile in(file.data(), file.size());
  if (reader.ReadJpegSections(&in, IxImageJPG::IxExifInfo::kReadExif | IxImageJPG::IxExifInfo::kReadImage)) {
    IxMemFile out;
    out.Open();
    reader.EncodeExif(&out);
    reader.DiscardAllButExif();
  }
  return 0;
}

// Bytes from anywhere loaded as a text file by the wide string list (whatever mark they start
// with), and read as delimited text. The loaded lines must survive their own text, and
// delimited text must read back as the same list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/rtl/TMemoryStream.h"
#include "unicode/TUcStringList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TMemoryStream stream;
  stream.Write(data, static_cast<int>(size));
  stream.SetPosition(0);
  TUcStringList list;
  list.LoadFromStream(&stream);
  TUcStringList again;
  again.SetText(list.Text());
  if (!again.Equals(&list)) std::abort();

  std::u16string units(size / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  TUcStringList delimited;
  if (size % 3 == 1) delimited.SetDelimiter(u';');
  delimited.SetDelimitedText(WideString(units));
  TUcStringList back;
  back.SetDelimiter(delimited.Delimiter());
  back.SetDelimitedText(delimited.DelimitedText());
  bool oneEmpty = delimited.Count() == 1 && delimited.Strings(0).IsEmpty();
  if (!oneEmpty && !back.Equals(&delimited)) std::abort();
  return 0;
}

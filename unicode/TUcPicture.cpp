#include "unicode/TUcPicture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/StringRoutines.h"
#include "unicode/CodePageConversion.h"
#include "unicode/WideFileNames.h"

namespace {

// The file system takes 8-bit names as UTF-8, whatever the system code page.
AnsiString PathOf(const WideString& fileName) { return WideStringToUTF8(fileName); }

WideString ExtensionOf(const WideString& fileName) {
  for (int i = fileName.Length(); i >= 1; --i) {
    if (fileName[i] == u'.') return fileName.SubString(i, fileName.Length() - i + 1);
    if (fileName[i] == u'/' || fileName[i] == u'\\') break;
  }
  return WideString();
}

WideString FolderOf(const WideString& fileName) {
  for (int i = fileName.Length(); i >= 1; --i)
    if (fileName[i] == u'/' || fileName[i] == u'\\') return fileName.SubString(1, i);
  return WideString();
}

}  // namespace

void TUcPicture::LoadFromFile(const WideString& fileName) {
  // No short names here: the loader gets the full name, also for ".jpeg" files.
  TPicture::LoadFromFile(PathOf(fileName));
}

void TUcPicture::SaveToFile(const WideString& fileName) {
  if (!Graphic()) return;
  std::random_device seed;
  std::mt19937 random(seed());
  std::uniform_int_distribution<int> draw(0, 0x7FFFFFFE);
  const WideString folder = FolderOf(fileName), extension = ExtensionOf(fileName);
  AnsiString temporary;
  for (;;) {
    temporary = PathOf(folder + WideString(AnsiString(draw(random))) + extension);
    // Created here and nowhere else: a name someone else holds is drawn again.
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      break;
    }
    if (errno != EEXIST) RaiseLastOSError(DWORD(errno));
  }
  {
    // A save that fails leaves no temporary file behind.
    platform::ScopeExit discard([&temporary] { ::unlink(temporary.c_str()); });
    Graphic()->SaveToFile(temporary);
    discard.Release();
  }
  if (::rename(temporary.c_str(), PathOf(fileName).c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    RaiseLastOSError(DWORD(error));
  }
}

#include "editor/EditorAppFolder.h"

#include <cstdlib>

#include "platform/rtl/Program.h"
#include "platform/rtl/SysUtils.h"

AnsiString EditorAppFolder() {
  const char* folder = std::getenv("MMSEDITOR_APP_DIR");
  if (folder && *folder) return IncludeTrailingPathDelimiter(AnsiString(folder));
  return ExtractFilePath(ParamStr(0));
}

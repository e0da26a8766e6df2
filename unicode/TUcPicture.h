// A picture that loads and saves files under UTF-16 names, with the form library's registry of
// picture formats.
#pragma once

#include "platform/forms/TPicture.h"
#include "platform/rtl/WideString.h"

class TUcPicture : public TPicture {
 public:
  TUcPicture() = default;
  void LoadFromFile(const WideString& fileName);
  // Writes a temporary file beside the target and puts it in the target's place; on any
  // failure the target stays as it was and the temporary file goes. An empty picture writes
  // nothing.
  void SaveToFile(const WideString& fileName);
};

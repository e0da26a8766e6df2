// TGIFApplicationExtension: the base of application blocks (an 8-character identifier and a
// 3-byte authentication code, then data sub-blocks), with the registry that finds the class for
// an identifier.
#pragma once

#include <string>

#include "pictures/gif/TGIFExtension.h"

class TGIFApplicationExtension : public TGIFExtension {
 public:
  explicit TGIFApplicationExtension(TGIFSubImage* subImage) : TGIFExtension(subImage) {}
  // The class standing for every application block: which one follows is told by its header.
  static TGIFExtensionClass ClassRef();

  BYTE GetExtensionType() override { return 0xFF; }
  void SaveToStream(TStream* stream) override;
  void LoadFromStream(TStream* stream) override;
  virtual void SaveData(TStream* stream) = 0;
  virtual void LoadData(TStream* stream) = 0;

  AnsiString GetIdentifier() const;
  void SetIdentifier(const AnsiString& text);
  AnsiString GetAuthentication() const;
  void SetAuthentication(const AnsiString& text);

  // `identifier` is the 8 identifier characters and the 3 authentication bytes.
  static void RegisterExtension(const TGIFApplicationRec& identifier, TGIFExtensionClass extensionClass);
  // Drops the host's registrations: the built-in classes stay.
  static void FreeExtensions();
  // Reads the header ahead: size 11 goes through the registry (else the unknown application
  // class), 10 is the unknown application class, any other size (or a cut header) is kept as a
  // raw extension. The stream stays where it was.
  static TGIFExtensionClass FindSubExtension(TStream* stream);

 protected:
  TGIFApplicationRec application_;
};

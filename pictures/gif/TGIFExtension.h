// TGIFExtension: the base of the extension blocks (0x21, a label, data) that stand before a
// frame's image, with the registry that finds the class for a label.
#pragma once

#include "pictures/gif/TGIFItem.h"

class TGIFExtension;
class TGIFSubImage;

// What a reader needs of an extension class: how to make one, and, for classes that stand for
// several kinds, which of them the bytes ahead are.
struct TGIFExtensionClassRec {
  TGIFExtension* (*Create)(TGIFSubImage* subImage);
  // Null: the class answers for itself. Leaves the stream where it was.
  const TGIFExtensionClassRec* (*FindSubExtension)(TStream* stream);
};
using TGIFExtensionClass = const TGIFExtensionClassRec*;

class TGIFExtension : public TGIFItem {
 public:
  explicit TGIFExtension(TGIFSubImage* subImage);
  // Unlinks itself from its frame's extension list.
  ~TGIFExtension() override;

  virtual BYTE GetExtensionType() = 0;
  TGIFVersion GetVersion() override { return gv89a; }
  // Writes the introducer and the label.
  void SaveToStream(TStream* stream) override;
  // Reads the introducer and the label; another label than this class's raises.
  void LoadFromStream(TStream* stream) override;

  // Later registrations of a label win.
  static void RegisterExtension(BYTE label, TGIFExtensionClass extensionClass);
  // Drops the host's registrations: the built-in classes stay.
  static void FreeExtensions();
  // The class for the block whose label is next in the stream (its 0x21 already read), or null;
  // the stream stays where it was.
  static TGIFExtensionClass FindExtension(TStream* stream);

  TGIFSubImage* SubImage() const { return subImage_; }

 protected:
  // Reads 0x21 and the label (raising "Invalid extension introducer" for another first byte).
  BYTE DoReadFromStream(TStream* stream);

  TGIFSubImage* subImage_;
};

// The class record of a class with a constructor taking the frame.
template <typename T>
TGIFExtensionClass GIFExtensionClassOf(const TGIFExtensionClassRec* (*findSub)(TStream*) = nullptr) {
  static const TGIFExtensionClassRec rec{[](TGIFSubImage* s) -> TGIFExtension* { return new T(s); }, findSub};
  return &rec;
}

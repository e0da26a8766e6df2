#include "unicode/TUcEditAction.h"

#include "platform/rtl/CodePage.h"
#include "platform/win/Win.h"
#include "unicode/UcControls.h"

namespace {

// How many units of the edit's text (UTF-16 units in a Unicode window, bytes in an 8-bit one)
// the character at `pos` takes; 0 at the end.
int CharacterLength(TCustomEdit* edit, int pos) {
  if (pos < 0) return 0;
  if (edit->HandleAllocated() && IsWindowUnicode(edit->Handle())) {
    const std::u16string text = UcControl_GetText(edit).ToU16();
    const auto at = static_cast<std::size_t>(pos);
    if (at >= text.size()) return 0;
    const bool pair =
        at + 1 < text.size() &&
        ((text[at] == u'\r' && text[at + 1] == u'\n') ||
         (text[at] >= 0xD800 && text[at] <= 0xDBFF && text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF));
    return pair ? 2 : 1;
  }
  const std::string text = edit->Text().ToStd();
  const auto at = static_cast<std::size_t>(pos);
  if (at >= text.size()) return 0;
  if (at + 1 < text.size() && text[at] == '\r' && text[at + 1] == '\n') return 2;
  // A UTF-8 system code page: the lead byte and its continuation bytes.
  std::size_t end = at + 1;
  if (GetACP() == 65001 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0xC0)
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  return static_cast<int>(end - at);
}

}  // namespace

void TUcEditDelete::UpdateTarget(TObject* /*target*/) { SetEnabled(true); }

void TUcEditDelete::ExecuteTarget(TObject* target) {
  TCustomEdit* edit = GetControl(target);
  if (edit->SelLength() == 0) {
    const int length = CharacterLength(edit, edit->SelStart());
    if (length == 0) return;  // the caret is at the end: nothing follows it
    edit->SetSelLength(length);
  }
  edit->ClearSelection();
}

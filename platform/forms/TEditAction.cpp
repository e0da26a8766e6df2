#include "platform/forms/TEditAction.h"

#include "platform/forms/ComponentReference.h"
#include "platform/win/Win.h"

void TEditAction::SetControl(TCustomEdit* value) { SetComponentReference(this, control_, value); }

TCustomEdit* TEditAction::GetControl(TObject* target) const { return dynamic_cast<TCustomEdit*>(target); }

bool TEditAction::HandlesTarget(TObject* target) {
  TCustomEdit* edit = GetControl(target);
  if (!edit || (control_ && edit != control_)) return false;
  return edit->Focused();
}

void TEditAction::Notification(TComponent* component, TOperation operation) {
  TAction::Notification(component, operation);
  if (operation == opRemove && component == control_) control_ = nullptr;
}

void TEditCut::UpdateTarget(TObject* target) {
  TCustomEdit* edit = GetControl(target);
  SetEnabled(edit->SelLength() > 0 && !edit->ReadOnly());
}
void TEditCut::ExecuteTarget(TObject* target) { GetControl(target)->CutToClipboard(); }

void TEditCopy::UpdateTarget(TObject* target) { SetEnabled(GetControl(target)->SelLength() > 0); }
void TEditCopy::ExecuteTarget(TObject* target) { GetControl(target)->CopyToClipboard(); }

void TEditPaste::UpdateTarget(TObject* target) {
  // Text in either form: the clipboard makes each from the other.
  const bool text = IsClipboardFormatAvailable(CF_TEXT) || IsClipboardFormatAvailable(CF_UNICODETEXT);
  SetEnabled(text && !GetControl(target)->ReadOnly());
}
void TEditPaste::ExecuteTarget(TObject* target) { GetControl(target)->PasteFromClipboard(); }

void TEditSelectAll::UpdateTarget(TObject* target) {
  TCustomEdit* edit = GetControl(target);
  SetEnabled(edit->HandleAllocated() ? GetWindowTextLengthW(edit->Handle()) > 0 : !edit->Text().IsEmpty());
}
void TEditSelectAll::ExecuteTarget(TObject* target) { GetControl(target)->SelectAll(); }

void TEditUndo::UpdateTarget(TObject* target) { SetEnabled(GetControl(target)->CanUndo()); }
void TEditUndo::ExecuteTarget(TObject* target) { GetControl(target)->Undo(); }

void TEditDelete::UpdateTarget(TObject* target) {
  TCustomEdit* edit = GetControl(target);
  SetEnabled(edit->SelLength() > 0 && !edit->ReadOnly());
}
void TEditDelete::ExecuteTarget(TObject* target) { GetControl(target)->ClearSelection(); }

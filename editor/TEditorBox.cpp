#include "editor/TEditorBox.h"

#include <algorithm>
#include <string>

#include "controls/TImButton.h"
#include "editor/EditorResources.h"
#include "editor/TDelMessageBox.h"
#include "editor/TFrameBox.h"
#include "editor/TMessageBoxForm.h"
#include "editor/TMsgBox.h"
#include "editor/TResStringManager.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TCanvas.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/Backend.h"
#include "platform/win/Win.h"
#include "unicode/TUcLabel.h"

namespace {
// The system command a press on a box's background sends: move the window with the mouse.
constexpr WPARAM kMoveWithMouse = 0xF017;
// The skin's title band, and the room between the message and the buttons under it.
constexpr int kTitleBand = 26, kGapUnderText = 12;

// A number keeps the word after it (its unit: "300 KB", "20 slides") on its line.
WideString KeepNumbersWithUnits(const WideString& text) {
  std::u16string s(text.c_bstr(), static_cast<size_t>(text.Length()));
  for (size_t i = 1; i + 1 < s.size(); ++i)
    if (s[i] == u' ' && s[i - 1] >= u'0' && s[i - 1] <= u'9' && s[i + 1] != u' ') s[i] = u'\u00A0';
  return WideString(s.c_str(), static_cast<int>(s.size()));
}
}  // namespace

TEditorBox::TEditorBox(TComponent* owner) : TForm(owner) { RegisterEditorBoxes(); }

void TEditorBox::AfterConstruction() {
  TForm::AfterConstruction();
  setCaption();
}

void TEditorBox::Loaded() {
  TForm::Loaded();
  BoxTitle = Find<TUcLabel>("BoxTitle");
}

TComponent* TEditorBox::FindOrRaise(const char* name, bool (*fits)(TComponent*)) {
  TComponent* found = FindComponent(name);
  if (!found || !fits(found)) throw Exception(ClassName() + " has no " + name + " in its layout");
  return found;
}

void TEditorBox::AddButton(TImButton* button, const char* key, int x) {
  buttons_.push_back({button, key, x});
}

void TEditorBox::SetMessageLabel(TUcLabel* label, const char* defaultKey) {
  messageLabel_ = label;
  if (messageKey_.IsEmpty()) messageKey_ = defaultKey;
}

void TEditorBox::SetMessageKey(const AnsiString& key) {
  messageKey_ = key;
  ShowMessage();
}

void TEditorBox::SetMessageArgument(const WideString& argument) {
  messageArgument_ = argument;
  ShowMessage();
}

WideString TEditorBox::MessageText() const {
  std::u16string text = ResStringManager.GetString(messageKey_).c_bstr();
  const size_t at = text.find(u"%s");
  if (at != std::u16string::npos && !messageArgument_.IsEmpty())
    text.replace(at, 2, messageArgument_.c_bstr());
  return WideString(text);
}

void TEditorBox::setCaption() {
  if (BoxTitle) BoxTitle->SetCaption(ResStringManager.GetString("STR_Main_Error_WarningBox"));
  ShowMessage();
  for (const ButtonEntry& entry : buttons_) entry.button->Invalidate();
}

void TEditorBox::ShowMessage() {
  if (!messageLabel_) return;
  messageLabel_->SetCaption(KeepNumbersWithUnits(MessageText()));
  LayOut();
}

void TEditorBox::LayOut() {
  if (!messageLabel_ || buttons_.empty()) return;
  // The message's lines as the label wraps them, at least one line high.
  TBitmap sheet;
  sheet.SetSize(1, 1);
  sheet.Canvas()->Font()->Assign(messageLabel_->Font());
  const WideString text = messageLabel_->Caption();
  RECT lines{0, 0, messageLabel_->Width(), 0};
  const UINT wrap = messageLabel_->WordWrap() ? DT_WORDBREAK : DT_SINGLELINE;
  DrawTextW(sheet.Canvas()->Handle(), text.IsEmpty() ? u" " : text.c_bstr(), -1, &lines, DT_CALCRECT | wrap);
  RECT one{0, 0, 100, 0};
  DrawTextW(sheet.Canvas()->Handle(), u"0", -1, &one, DT_CALCRECT | DT_SINGLELINE);
  const int textHeight = std::max<int>(lines.bottom, one.bottom);
  // The message and the row of buttons under it, as one block in the middle of the body.
  int buttonHeight = 0;
  for (const ButtonEntry& entry : buttons_) buttonHeight = std::max(buttonHeight, entry.button->Height());
  const int body = ClientHeight() - kTitleBand;
  const int block = textHeight + kGapUnderText + buttonHeight;
  const int top = kTitleBand + std::max(4, (body - block) / 2);
  messageLabel_->SetBounds(messageLabel_->Left(), top, messageLabel_->Width(), textHeight);
  for (const ButtonEntry& entry : buttons_) entry.button->SetTop(top + textHeight + kGapUnderText);
}

const TEditorBox::ButtonEntry* TEditorBox::EntryOf(const TImButton* button) const {
  for (const ButtonEntry& entry : buttons_)
    if (entry.button == button) return &entry;
  return nullptr;
}

WideString TEditorBox::ButtonText(const TImButton* button) const {
  const ButtonEntry* entry = EntryOf(button);
  return entry ? ResStringManager.GetString(entry->key) : WideString();
}

POINT TEditorBox::ButtonTextOrigin(const TImButton* button) const {
  const ButtonEntry* entry = EntryOf(button);
  return POINT{entry ? entry->x : 0, 0};
}

void TEditorBox::FormPaint(TObject*) {
  // Shown here rather than in the layout, so they appear over the painted background; showing
  // a visible button again changes nothing and paints nothing.
  for (const ButtonEntry& entry : buttons_)
    if (!entry.button->Visible()) entry.button->SetVisible(true);
}

void TEditorBox::BackgroundMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
  if (button != mbLeft) return;
  ReleaseCapture();
  ::SetFocus(nullptr);
  SendMessageW(Handle(), WM_SYSCOMMAND, kMoveWithMouse, 0);
}

void TEditorBox::CloseButtonClick(TObject*) { Close(); }

void TEditorBox::ButtonOwnerDraw(TObject* sender, TCanvas* canvas, const RECT&, int, int&) {
  auto* button = dynamic_cast<TImButton*>(sender);
  if (!button || !canvas) return;
  const WideString text = ButtonText(button);
  if (text.IsEmpty()) return;
  const POINT origin = ButtonTextOrigin(button);
  canvas->Font()->Assign(button->Font());
  const int oldMode = SetBkMode(canvas->Handle(), TRANSPARENT);
  TextOutW(canvas->Handle(), origin.x, origin.y, text.c_bstr(), text.Length());
  SetBkMode(canvas->Handle(), oldMode);
}

void TEditorBox::WndProc(TMessage& message) {
  if (message.Msg == WM_REFRESHCAPTION) {
    setCaption();
    return;
  }
  TForm::WndProc(message);
}

void TEditorBox::DescribeModal(platform::win::ModalInfo& info) {
  auto add = [&info](const WideString& text) { info.texts.emplace_back(text.c_bstr(), text.Length()); };
  if (BoxTitle) add(BoxTitle->Caption());
  if (messageLabel_) add(messageLabel_->Caption());
  for (const ButtonEntry& entry : buttons_) add(ButtonText(entry.button));
}

void RegisterEditorBoxes() {
  static const bool done = [] {
    RegisterEditorResources();
    RegisterImButton();
    RegisterProperties<TEditorBox>("TEditorBox", "TForm")
        .Handler("FormPaint", &TEditorBox::FormPaint)
        .Handler("BackgroundMouseDown", &TEditorBox::BackgroundMouseDown)
        .Handler("CloseButtonClick", &TEditorBox::CloseButtonClick)
        .Handler("ButtonOwnerDraw", &TEditorBox::ButtonOwnerDraw);
    RegisterProperties<TMessageBoxForm>("TMessageBoxForm", "TEditorBox", Factory<TMessageBoxForm>())
        .Handler("OkButtonClick", &TMessageBoxForm::OkButtonClick)
        .Handler("NoButtonClick", &TMessageBoxForm::NoButtonClick)
        .Handler("CancleImButtonClick", &TMessageBoxForm::CancleImButtonClick);
    RegisterProperties<TDelMessageBox>("TDelMessageBox", "TEditorBox", Factory<TDelMessageBox>())
        .Handler("OkButtonClick", &TDelMessageBox::OkButtonClick)
        .Handler("CancleImButtonClick", &TDelMessageBox::CancleImButtonClick);
    RegisterProperties<TOneButtonBox>("TOneButtonBox", "TEditorBox")
        .Handler("OkButtonClick", &TOneButtonBox::OkButtonClick);
    RegisterProperties<TMsgBox>("TMsgBox", "TOneButtonBox", Factory<TMsgBox>());
    RegisterProperties<TFrameBox>("TFrameBox", "TOneButtonBox", Factory<TFrameBox>());
    return true;
  }();
  (void)done;
}

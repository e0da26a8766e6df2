#include "unicode/TUcMessageForm.h"

#include <string>

#include "platform/controls/Controls.h"
#include "platform/win/Backend.h"
#include "platform/win/Monitors.h"
#include "platform/win/SystemParameters.h"
#include "unicode/TUcButton.h"
#include "unicode/TUcClipboard.h"
#include "unicode/TUcLabel.h"

namespace {

const char16_t kDivider[] = u"---------------------------\r\n";  // 27 "-"

// The message font of the system, when the system says which it is.
void UseMessageFont(TFont* font) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = kOlderNonClientMetricsASize;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &metrics, 0)) return;
  const LOGFONTA& f = metrics.lfMessageFont;
  font->SetName(f.lfFaceName);
  font->SetHeight(f.lfHeight);
  TFontStyles style = 0;
  if (f.lfWeight >= 700) style |= 1u << fsBold;
  if (f.lfItalic) style |= 1u << fsItalic;
  if (f.lfUnderline) style |= 1u << fsUnderline;
  if (f.lfStrikeOut) style |= 1u << fsStrikeOut;
  font->SetStyle(style);
}

}  // namespace

TUcMessageForm::TUcMessageForm(TComponent* owner) : TUcForm(owner, 0) { UseMessageFont(Font()); }

void TUcMessageForm::HelpButtonClick(TObject*) {
  // The platform has no help viewer for a help context; the button leaves the dialog open.
}

void TUcMessageForm::CustomKeyDown(TObject*, WORD& key, TShiftState shift) {
  if (shift == ssCtrl && key == WORD('C')) {
    MessageBeep(0);
    UcClipboard()->SetAsWideText(GetFormText());
  }
}

WideString TUcMessageForm::GetFormText() {
  std::u16string buttons;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* button = dynamic_cast<TUcButton*>(Components(i))) {
      const WideString caption = button->Caption();
      for (char16_t c : caption.ToU16())
        if (c != u'&') buttons += c;
      buttons += u"   ";
    }
  std::u16string text = kDivider;
  text += Caption().ToU16() + u"\r\n" + kDivider;
  text += (Message ? Message->Caption().ToU16() : std::u16string()) + u"\r\n" + kDivider;
  text += buttons + u"\r\n" + kDivider;
  return WideString(text);
}

void TUcMessageForm::DescribeModal(platform::win::ModalInfo& info) {
  info.kind = platform::win::ModalInfo::Kind::MessageBox;
  info.caption = Caption().ToU16();
  info.texts.clear();
  if (Message) info.texts.push_back(Message->Caption().ToU16());
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* button = dynamic_cast<TUcButton*>(Components(i)))
      info.texts.push_back(button->Caption().ToU16());
}

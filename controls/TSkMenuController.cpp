#include "controls/TSkMenuController.h"

#include <algorithm>
#include <string>

#include "controls/ColorArithmetic.h"
#include "controls/GlyphDrawing.h"
#include "controls/Gradients.h"
#include "controls/TSkOldPropReader.h"
#include "controls/TThemeServices.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TMainMenu.h"
#include "platform/forms/TMenu.h"
#include "platform/forms/TPopupMenu.h"
#include "platform/forms/TReader.h"
#include "platform/gdi/Gdi.h"

namespace {

constexpr int kIconBarWidth = 24;  // no image list: 16 + 8

bool TopLevelOfMainMenu(TMenuItem* item) {
  return item->Parent() && !item->Parent()->Parent() && dynamic_cast<TMainMenu*>(item->GetParentMenu());
}

}  // namespace

TSkMenuController::TSkMenuController(TComponent* owner) : TComponent(owner) {}

TSkMenuController::~TSkMenuController() {
  for (TMenuItem* item : std::vector<TMenuItem*>(items_)) HandBack(item);
}

void TSkMenuController::Loaded() {
  TComponent::Loaded();
  TakeOverMenus();
}

void TSkMenuController::TakeOverMenus() {
  TComponent* owner = Owner();
  if (!owner) return;
  for (int i = 0; i < owner->ComponentCount(); ++i)
    if (auto* item = dynamic_cast<TMenuItem*>(owner->Components(i)); item && !item->OnAdvancedDrawItem)
      TakeOver(item);
}

void TSkMenuController::TakeOver(TMenuItem* item) {
  if (std::find(items_.begin(), items_.end(), item) != items_.end()) return;
  items_.push_back(item);
  item->FreeNotification(this);
  item->OnMeasureItem = [this, item](TObject*, TCanvas* canvas, int& width, int& height) {
    MeasureItem(item, canvas, width, height);
  };
  item->OnAdvancedDrawItem = [this, item](TObject*, TCanvas* canvas, RECT rect, TOwnerDrawState state) {
    DrawItem(item, canvas, rect, state);
  };
  if (TMenu* menu = item->GetParentMenu()) menu->SetOwnerDraw(true);
}

void TSkMenuController::HandBack(TMenuItem* item) {
  const auto at = std::find(items_.begin(), items_.end(), item);
  if (at == items_.end()) return;
  items_.erase(at);
  item->OnMeasureItem = nullptr;
  item->OnAdvancedDrawItem = nullptr;
  item->RemoveFreeNotification(this);
}

void TSkMenuController::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove)
    // The item is half gone by now: compare addresses as components.
    items_.erase(
        std::remove_if(items_.begin(), items_.end(),
                       [component](TMenuItem* x) { return static_cast<TComponent*>(x) == component; }),
        items_.end());
}

void TSkMenuController::DefineProperties(TFiler* filer) {
  TComponent::DefineProperties(filer);
  filer->DefineProperty("GradientColorDefault", TSkOldPropReader::ReadBoolean, TSkOldPropReader::WriteNothing,
                        false);
  filer->DefineProperty("ThemeAware", TSkOldPropReader::ReadBoolean, TSkOldPropReader::WriteNothing, false);
  auto colour = [](TColor& target) {
    return [&target](TReader* reader) {
      const TValueType type = reader->NextValue();
      if (type == vaIdent) {
        const TOrdinalCodec codec = ColorCodec();
        target = static_cast<TColor>(codec.From(TLayoutValue::OfIdent(reader->ReadIdent().ToStd())));
      } else {
        target = static_cast<TColor>(reader->ReadInteger());
      }
    };
  };
  filer->DefineProperty("GradientColorStart", colour(SelectionColorStart), TSkOldPropReader::WriteNothing,
                        false);
  filer->DefineProperty("GradientColorStop", colour(SelectionColorStop), TSkOldPropReader::WriteNothing,
                        false);
  filer->DefineProperty("FrameColor", colour(SelectionFrameColor), TSkOldPropReader::WriteNothing, false);
}

void TSkMenuController::MeasureItem(TMenuItem* item, TCanvas* canvas, int& width, int& height) {
  if (item->IsLine()) {
    height = 3;
    return;
  }
  height = 22;
  const AnsiString caption = StripHotkey(item->Caption());
  if (canvas) width = std::max(width, canvas->TextWidth(caption) + kIconBarWidth + 12);
  if (dynamic_cast<TPopupMenu*>(item->GetParentMenu())) width += 31;
}

void TSkMenuController::DrawItem(TMenuItem* item, TCanvas* canvas, RECT rect, TOwnerDrawState state) {
  TColor selStart = SelectionColorStart, selStop = SelectionColorStop, selFrame = SelectionFrameColor;
  TColor barStart = IconBarColorStart, barStop = IconBarColorStop;
  if (style_ != gcsCustom) {
    const TSkSelectionColors s = GetGradientSelectionColors(style_);
    selStart = s.Start;
    selStop = s.End;
    selFrame = s.Frame;
    GetGradientPanelColors(style_, barStart, barStop);
  }
  const bool selected = (state & (odSelected | odHotLight)) != 0;
  const bool disabled = (state & (odDisabled | odGrayed)) != 0 || !item->Enabled();
  auto box = [&](const RECT& r) {
    if (r.right - r.left > 2 && r.bottom - r.top > 2)
      PaintGradient(canvas, RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, gdVerticalEnd, 64,
                    selStart, selStop);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(selFrame);
    canvas->Rectangle(r);
    canvas->Brush()->SetStyle(bsSolid);
  };
  canvas->Brush()->SetStyle(bsSolid);
  if (TopLevelOfMainMenu(item)) {
    if (selected) {
      box(rect);
    } else {
      canvas->Brush()->SetColor(ThemeServices()->GetThemesEnabled() ? clMenuBar : clBtnFace);
      canvas->FillRect(rect);
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetColor(disabled ? clGrayText : MenuFontColor);
    RECT text = rect;
    const AnsiString caption = item->Caption();
    DrawTextA(canvas->Handle(), caption.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    canvas->Brush()->SetStyle(bsSolid);
    return;
  }
  const RECT bar{rect.left, rect.top, rect.left + kIconBarWidth, rect.bottom};
  const RECT textArea{bar.right, rect.top, rect.right, rect.bottom};
  if (selected && !disabled && !item->IsLine()) {
    box(rect);
  } else {
    if (IsFullColorSupported()) {
      PaintGradient(canvas, bar, gdHorizontalEnd, 64, barStart, barStop);
    } else {
      canvas->Brush()->SetColor(barStart);
      canvas->FillRect(bar);
    }
    canvas->Brush()->SetColor(MenuColor);
    canvas->FillRect(textArea);
  }
  if (item->IsLine()) {
    const int y = (rect.top + rect.bottom) / 2;
    canvas->Pen()->SetColor(clBtnShadow);
    canvas->MoveTo(textArea.left + 6, y);
    canvas->LineTo(rect.right, y);
    return;
  }
  if (item->Checked()) {
    const RECT glyph{bar.left + (kIconBarWidth - 16) / 2, rect.top + (rect.bottom - rect.top - 16) / 2,
                     bar.left + (kIconBarWidth - 16) / 2 + 16,
                     rect.top + (rect.bottom - rect.top - 16) / 2 + 16};
    canvas->Brush()->SetColor(DarkerColor(barStop, 40));
    canvas->FillRect(glyph);
    if (item->RadioItem())
      DrawRadioButton(canvas, glyph.left + 1, glyph.top + 1, true, selFrame, clWindow, MenuFontColor,
                      disabled ? glDisabled : glNormal);
    else
      DrawCheckBox(canvas, RECT{glyph.left + 1, glyph.top + 1, glyph.right - 2, glyph.bottom - 2}, true,
                   selFrame, clWindow, MenuFontColor, disabled ? glDisabled : glNormal);
  }
  canvas->Brush()->SetStyle(bsClear);
  canvas->Font()->SetColor(disabled ? clGrayText : MenuFontColor);
  canvas->Font()->SetStyle(item->Default() ? (1u << fsBold) : 0u);
  RECT text{textArea.left + 6, rect.top, rect.right - 10, rect.bottom};
  const AnsiString caption = item->Caption();
  DrawTextA(canvas->Handle(), caption.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (item->ShortCut()) {
    const AnsiString shortcut = ShortCutToText(item->ShortCut());
    DrawTextA(canvas->Handle(), shortcut.c_str(), -1, &text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  }
  canvas->Brush()->SetStyle(bsSolid);
}

void RegisterSkMenuController() {
  static bool done = false;
  if (done) return;
  done = true;
  static const std::vector<std::string> styleNames{"gcsSystem", "gcsMSOffice", "gcsCustom"};
  using T = TSkMenuController;
  auto colour = [](TColor T::*member) {
    return std::pair{[member](T& t) { return t.*member; }, [member](T& t, TColor v) { t.*member = v; }};
  };
  auto [g1, s1] = colour(&T::SelectionColorStart);
  auto [g2, s2] = colour(&T::SelectionColorStop);
  auto [g3, s3] = colour(&T::SelectionFrameColor);
  auto [g4, s4] = colour(&T::IconBarColorStart);
  auto [g5, s5] = colour(&T::IconBarColorStop);
  auto [g6, s6] = colour(&T::MenuColor);
  auto [g7, s7] = colour(&T::MenuFontColor);
  RegisterProperties<T>("TSkMenuController", "TComponent", Factory<T>())
      .Enum("GradientColorStyle", &T::GradientColorStyle, &T::SetGradientColorStyle, gcsSystem, &styleNames)
      .Color("SelectionColorStart", g1, s1, clBtnFace)
      .Color("SelectionColorStop", g2, s2, clBtnShadow)
      .Color("SelectionFrameColor", g3, s3, cl3DDkShadow)
      .Color("IconBarColorStart", g4, s4, 0xFFFFFF)
      .Color("IconBarColorStop", g5, s5, clBtnFace)
      .Color("MenuColor", g6, s6, clWindow)
      .Color("MenuFontColor", g7, s7, clWindowText);
}
